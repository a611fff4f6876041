#include "program_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "errors.h"

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
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Closes now and reports whether the close succeeded.
    bool Close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

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

// Writes the text straight into the target. Used only when no new file can be made beside it
// (a folder we may not write to); a short write then leaves the target cut short.
void WriteInPlace(const std::filesystem::path& target, const std::string& shownPath,
                  std::string_view text) {
    FileDescriptor file(::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!file.valid()) throw FileCreateError(shownPath, SystemErrorText(errno));
    if (!WriteAll(file.get(), text) || !file.Close()) throw WriteError();
}

}  // namespace

std::vector<std::string> SplitProgramText(std::string_view data) {
    data = data.substr(0, data.find('\0'));
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < data.size()) {
        std::size_t end = data.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = data.size();
        lines.emplace_back(data.substr(start, end - start));
        start = end;
        if (start < data.size() && data[start] == '\r') ++start;
        if (start < data.size() && data[start] == '\n') ++start;
    }
    return lines;
}

std::string JoinProgramText(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const std::string& line : lines) size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string FullPath(const std::string& path) {
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(path, error);
    if (error) return path;
    return full.lexically_normal().string();
}

std::string SystemErrorText(int errorNumber) {
    std::string text = std::system_category().message(errorNumber);
    if (text.size() > 255) text.resize(255);
    while (!text.empty() && (static_cast<unsigned char>(text.back()) <= 32 || text.back() == '.'))
        text.pop_back();
    return text;
}

std::vector<std::string> ReadProgramFile(const std::string& path) {
    return SplitProgramText(ReadFileBytes(path));
}

std::string ReadFileBytes(const std::string& path) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.valid()) throw FileOpenError(FullPath(path), SystemErrorText(errno));
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) throw FileOpenError(FullPath(path), SystemErrorText(errno));
    if (S_ISDIR(info.st_mode)) throw FileOpenError(FullPath(path), SystemErrorText(EISDIR));

    std::string data;
    if (S_ISREG(info.st_mode)) data.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw FileOpenError(FullPath(path), SystemErrorText(errno));
        if (got == 0) break;
        data.append(buffer, static_cast<std::size_t>(got));
    }
    return data;
}

void WriteProgramFile(const std::string& path, const std::vector<std::string>& lines) {
    const std::string shownPath = FullPath(path);
    const std::string text = JoinProgramText(lines);
    const std::filesystem::path target = RealTarget(path);

    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) throw FileCreateError(shownPath, SystemErrorText(EISDIR));
    // Devices and pipes are written into, never replaced by a file.
    if (exists && !S_ISREG(existing.st_mode)) return WriteInPlace(target, shownPath, text);
    // A file we may not write keeps refusing, as it would if we opened it for writing.
    if (exists && ::access(target.c_str(), W_OK) != 0)
        throw FileCreateError(shownPath, SystemErrorText(errno));

    std::string hiddenName = ".";
    hiddenName.append(target.filename().string()).append(".XXXXXX");
    std::string temporaryName = (target.parent_path() / hiddenName).string();
    FileDescriptor temporary(::mkstemp(temporaryName.data()));
    if (!temporary.valid()) {
        if (errno == EACCES || errno == EPERM || errno == EROFS) return WriteInPlace(target, shownPath, text);
        throw FileCreateError(shownPath, SystemErrorText(errno));
    }
    const auto discard = [&] { ::unlink(temporaryName.c_str()); };

    const mode_t mode = exists ? (existing.st_mode & 07777) : (0666 & ~CurrentUmask());
    ::fchmod(temporary.get(), mode);
    if (exists && ::fchown(temporary.get(), existing.st_uid, existing.st_gid) != 0) {
        // Only the owner may give a file away; the copy then belongs to whoever saves it.
    }

    if (!WriteAll(temporary.get(), text) || ::fsync(temporary.get()) != 0 || !temporary.Close()) {
        discard();
        throw WriteError();
    }
    if (::rename(temporaryName.c_str(), target.c_str()) != 0) {
        const int reason = errno;
        discard();
        throw FileCreateError(shownPath, SystemErrorText(reason));
    }
    // Make the new name itself durable; a failure here loses nothing already on disk.
    FileDescriptor folder(::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.valid()) ::fsync(folder.get());
}

}  // namespace tobric
