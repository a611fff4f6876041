// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>

#include "errors.h"
#include "file_system.h"

namespace tobric {
namespace {

// Closes a descriptor on every way out, errors included.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    int fd() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }
    // Closes now and reports whether the close succeeded.
    bool Close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

// What a user is told for a pipe or a device chosen as a program: there is no errno for it.
constexpr const char* kNotAnOrdinaryFile = "Not an ordinary file";

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The file a save really replaces: symbolic links followed, the name itself may not exist yet.
std::filesystem::path RealTarget(const std::string& path) {
    std::error_code error;
    std::filesystem::path real = std::filesystem::weakly_canonical(path, error);
    return error ? std::filesystem::path(FullPath(path)) : real;
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// Writes the text straight into a device or a pipe, which cannot be replaced by a file.
void WriteIntoDevice(const std::filesystem::path& target, const std::string& shownPath,
                     std::string_view text) {
    // Non-blocking, a pipe nobody reads refuses at once instead of waiting for a reader for ever;
    // once open, writes wait as usual.
    FileDescriptor file(::open(target.c_str(), O_WRONLY | O_TRUNC | O_NONBLOCK | O_CLOEXEC));
    if (!file.Valid()) throw FileCreateError(shownPath, SystemErrorText(errno));
    ::fcntl(file.fd(), F_SETFL, ::fcntl(file.fd(), F_GETFL) & ~O_NONBLOCK);
    if (!WriteAll(file.fd(), text) || !file.Close()) throw WriteError();
}

// Writes the text over the target itself, when no new file can be made beside it (a folder we
// may not write to). The space is reserved before the first byte is written, so a full disk
// refuses while the old bytes are still whole; the old tail is cut off only once the text is in.
void WriteInPlace(const std::filesystem::path& target, const std::string& shownPath,
                  std::string_view text) {
    // Read and write: where the file system cannot reserve space itself, the C library does it
    // by reading and writing back each block.
    FileDescriptor file(::open(target.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
    if (!file.Valid()) throw FileCreateError(shownPath, SystemErrorText(errno));
    const auto size = static_cast<off_t>(text.size());
    if (size > 0 && ::posix_fallocate(file.fd(), 0, size) != 0) throw WriteError();
    if (!WriteAll(file.fd(), text) || ::ftruncate(file.fd(), size) != 0 ||
        ::fsync(file.fd()) != 0 || !file.Close())
        throw WriteError();
}

// The descriptor of standard output or error when it is open on the file `target` describes.
int StandardStreamInto(const struct stat& target) {
    for (const int stream : {STDOUT_FILENO, STDERR_FILENO}) {
        struct stat open {};
        if (::fstat(stream, &open) == 0 && open.st_dev == target.st_dev &&
            open.st_ino == target.st_ino)
            return stream;
    }
    return -1;
}

// The target's status, or nothing when there is no such file yet; a folder is never saved over.
std::optional<struct stat> StatusOfTarget(const std::filesystem::path& target,
                                          const std::string& shownPath) {
    struct stat status {};
    if (::stat(target.c_str(), &status) != 0) return std::nullopt;
    if (S_ISDIR(status.st_mode)) throw FileCreateError(shownPath, SystemErrorText(EISDIR));
    return status;
}

// Gives the new file the permissions of the file it replaces, or those of a freshly created file,
// and where it can the same owner and group.
void CopyModeAndOwner(int fd, const std::optional<struct stat>& existing) {
    const mode_t mode = existing ? (existing->st_mode & 07777) : (0666 & ~CurrentUmask());
    ::fchmod(fd, mode);
    if (existing && ::fchown(fd, existing->st_uid, existing->st_gid) != 0) {
        // Only the owner may give a file away; the copy then belongs to whoever saves it.
    }
}

// The whole text written, on disk and closed, or false.
bool WriteDurably(FileDescriptor& file, std::string_view text) {
    return WriteAll(file.fd(), text) && ::fsync(file.fd()) == 0 && file.Close();
}

// Makes a name just placed in the folder durable; a failure here loses nothing already on disk.
void SyncFolder(const std::filesystem::path& folder) {
    FileDescriptor handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (handle.Valid()) ::fsync(handle.fd());
}

// The pattern mkstemp makes the new file's name from: hidden, beside the target.
std::string TemporaryNamePattern(const std::filesystem::path& target) {
    std::string hiddenName = ".";
    hiddenName.append(target.filename().string()).append(".XXXXXX");
    return (target.parent_path() / hiddenName).string();
}

// Writes the text into a new file beside the target, which then takes the target's place in one
// rename: until then the target stays as it was, and on a failure the new file is removed.
// Returns false, having changed nothing, when the folder takes no new file from us.
bool ReplaceWithNewFile(const std::filesystem::path& target, const std::string& shownPath,
                        std::string_view text, const std::optional<struct stat>& existing) {
    std::string temporaryName = TemporaryNamePattern(target);
    FileDescriptor temporary(::mkstemp(temporaryName.data()));
    if (!temporary.Valid()) {
        if (errno == EACCES || errno == EPERM || errno == EROFS) return false;
        throw FileCreateError(shownPath, SystemErrorText(errno));
    }
    CopyModeAndOwner(temporary.fd(), existing);
    if (!WriteDurably(temporary, text)) {
        ::unlink(temporaryName.c_str());
        throw WriteError();
    }
    if (::rename(temporaryName.c_str(), target.c_str()) != 0) {
        const int reason = errno;
        ::unlink(temporaryName.c_str());
        throw FileCreateError(shownPath, SystemErrorText(reason));
    }
    SyncFolder(target.parent_path());
    return true;
}

}  // namespace

std::string FullPath(const std::string& path) {
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(path, error);
    if (error) return path;
    return full.lexically_normal().string();
}

std::string SystemErrorText(int errorCode) {
    std::string text = std::system_category().message(errorCode);
    if (text.size() > 255) text.resize(255);
    while (!text.empty() && (static_cast<unsigned char>(text.back()) <= 32 || text.back() == '.'))
        text.pop_back();
    return text;
}

std::string ReadFileBytes(const std::string& path) {
    // Without O_NONBLOCK opening a pipe waits for a writer, for ever; the flag changes nothing
    // for the ordinary files read here.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.Valid()) throw FileOpenError(FullPath(path), SystemErrorText(errno));
    struct stat info {};
    if (::fstat(file.fd(), &info) != 0) throw FileOpenError(FullPath(path), SystemErrorText(errno));
    if (S_ISDIR(info.st_mode)) throw FileOpenError(FullPath(path), SystemErrorText(EISDIR));
    if (!S_ISREG(info.st_mode)) throw FileOpenError(FullPath(path), kNotAnOrdinaryFile);

    FileData data(FullPath(path), static_cast<std::size_t>(info.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(file.fd(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw FileOpenError(FullPath(path), SystemErrorText(errno));
        if (got == 0 || !data.Append(std::string_view(buffer, static_cast<std::size_t>(got))))
            break;
    }
    return data.Take();
}

void WriteFileBytes(const std::string& path, std::string_view text) {
    const std::string shownPath = FullPath(path);
    const std::filesystem::path target = RealTarget(path);

    const std::optional<struct stat> existing = StatusOfTarget(target, shownPath);
    // Devices and pipes are written into, never replaced by a file.
    if (existing && !S_ISREG(existing->st_mode)) return WriteIntoDevice(target, shownPath, text);
    // So is our own standard output or error redirected into this file (/dev/stdout): a new file
    // in its place would throw away what was written to the stream already.
    if (const int stream = existing ? StandardStreamInto(*existing) : -1; stream >= 0) {
        if (!WriteAll(stream, text)) throw WriteError();
        return;
    }
    // A file we may not write keeps refusing, as it would if we opened it for writing.
    if (existing && ::access(target.c_str(), W_OK) != 0)
        throw FileCreateError(shownPath, SystemErrorText(errno));
    // A folder that takes no new file from us leaves only writing into the target itself.
    if (!ReplaceWithNewFile(target, shownPath, text, existing))
        WriteInPlace(target, shownPath, text);
}

void UseBinaryStandardStreams() {}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

}  // namespace tobric
