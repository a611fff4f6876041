// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// After windows.h, which they need.
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <stdio.h>

#include <filesystem>
#include <random>
#include <system_error>

#include "errors.h"
#include "file_system.h"

// Names arrive as UTF-8 and reach Windows as wide strings, converted explicitly: a narrow path
// would otherwise be read in whatever code page the system happens to use.
namespace tobric {
namespace {

// Closes a handle on every way out, errors included.
class Handle {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (Valid()) ::CloseHandle(m_handle);
    }
    HANDLE handle() const { return m_handle; }
    bool Valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    // Closes now and reports whether the close succeeded.
    bool Close() {
        const HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        return ::CloseHandle(handle) != 0;
    }

private:
    HANDLE m_handle;
};

constexpr const char* kNotAnOrdinaryFile = "Not an ordinary file";
// What Windows itself answers when a folder is opened as a file.
constexpr int kFolderError = ERROR_ACCESS_DENIED;

std::filesystem::path PathFromUtf8(const std::string& name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string Utf8FromWide(const wchar_t* text, int length) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text, length, result.data(), size, nullptr, nullptr);
    return result;
}

int LastError() { return static_cast<int>(::GetLastError()); }

bool WriteAll(HANDLE file, std::string_view text) {
    while (!text.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, text.data(), chunk, &written, nullptr) || written == 0) return false;
        text.remove_prefix(written);
    }
    return true;
}

// The file a save really replaces: symbolic links followed, the name itself may not exist yet.
std::filesystem::path RealTarget(const std::string& path) {
    std::error_code error;
    std::filesystem::path real = std::filesystem::weakly_canonical(PathFromUtf8(path), error);
    return error ? PathFromUtf8(FullPath(path)) : real;
}

// A new, hidden file beside the target, opened for writing; INVALID_HANDLE_VALUE when the
// folder refuses, GetLastError telling why.
HANDLE CreateTemporaryBeside(const std::filesystem::path& target, std::filesystem::path& name) {
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = target.parent_path() /
               (L"." + target.filename().wstring() + L"." + std::to_wstring(random() % 1000000u));
        const HANDLE file = ::CreateFileW(name.wstring().c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

// Writes the text into a new file beside the target, which then takes the target's place in one
// move: until then the target stays as it was, and on a failure the new file is removed.
// Returns false, having changed nothing, when the folder takes no new file from us.
bool ReplaceWithNewFile(const std::filesystem::path& target, const std::string& shownPath,
                        std::string_view text) {
    std::filesystem::path temporaryName;
    Handle temporary(CreateTemporaryBeside(target, temporaryName));
    if (!temporary.Valid()) {
        const int reason = LastError();
        if (reason == ERROR_ACCESS_DENIED || reason == ERROR_WRITE_PROTECT) return false;
        throw FileCreateError(shownPath, SystemErrorText(reason));
    }
    if (!WriteAll(temporary.handle(), text) || !::FlushFileBuffers(temporary.handle()) ||
        !temporary.Close()) {
        ::DeleteFileW(temporaryName.wstring().c_str());
        throw WriteError();
    }
    if (!::MoveFileExW(temporaryName.wstring().c_str(), target.wstring().c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const int reason = LastError();
        ::DeleteFileW(temporaryName.wstring().c_str());
        throw FileCreateError(shownPath, SystemErrorText(reason));
    }
    return true;
}

// Writes the text over the target itself, its space reserved before the first byte is written so
// a full disk refuses while the old bytes are still whole.
void WriteInPlace(const std::filesystem::path& target, const std::string& shownPath,
                  std::string_view text) {
    Handle file(::CreateFileW(target.wstring().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) throw FileCreateError(shownPath, SystemErrorText(LastError()));
    // Growing only: an allocation below the file's size would cut the old tail off before the
    // new text is in.
    LARGE_INTEGER size{};
    FILE_ALLOCATION_INFO reserve{};
    reserve.AllocationSize.QuadPart = static_cast<LONGLONG>(text.size());
    if (::GetFileSizeEx(file.handle(), &size) && reserve.AllocationSize.QuadPart > size.QuadPart &&
        !::SetFileInformationByHandle(file.handle(), FileAllocationInfo, &reserve, sizeof reserve))
        throw WriteError();
    if (!WriteAll(file.handle(), text) || !::SetEndOfFile(file.handle()) ||
        !::FlushFileBuffers(file.handle()) || !file.Close())
        throw WriteError();
}

}  // namespace

std::string FullPath(const std::string& path) {
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(PathFromUtf8(path), error);
    if (error) return path;
    return Utf8FromPath(full.lexically_normal());
}

std::string SystemErrorText(int errorCode) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(errorCode), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = length > 0 ? Utf8FromWide(buffer, static_cast<int>(length))
                                  : "Unknown error " + std::to_string(errorCode);
    ::LocalFree(buffer);
    if (text.size() > 255) text.resize(255);
    while (!text.empty() && (static_cast<unsigned char>(text.back()) <= 32 || text.back() == '.'))
        text.pop_back();
    return text;
}

std::string ReadFileBytes(const std::string& path) {
    const std::wstring name = PathFromUtf8(path).wstring();
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw FileOpenError(FullPath(path), SystemErrorText(kFolderError));
    Handle file(::CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) throw FileOpenError(FullPath(path), SystemErrorText(LastError()));
    if (::GetFileType(file.handle()) != FILE_TYPE_DISK)
        throw FileOpenError(FullPath(path), kNotAnOrdinaryFile);

    LARGE_INTEGER size{};
    FileData data(FullPath(path), ::GetFileSizeEx(file.handle(), &size)
                                      ? static_cast<std::size_t>(size.QuadPart)
                                      : 0);
    char buffer[1 << 16];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.handle(), buffer, sizeof buffer, &got, nullptr))
            throw FileOpenError(FullPath(path), SystemErrorText(LastError()));
        if (got == 0 || !data.Append(std::string_view(buffer, got))) break;
    }
    return data.Take();
}

void WriteFileBytes(const std::string& path, std::string_view text) {
    const std::string shownPath = FullPath(path);
    const std::filesystem::path target = RealTarget(path);
    const DWORD attributes = ::GetFileAttributesW(target.wstring().c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            throw FileCreateError(shownPath, SystemErrorText(kFolderError));
        // A read-only file keeps refusing, as it would if we opened it for writing.
        if (attributes & FILE_ATTRIBUTE_READONLY)
            throw FileCreateError(shownPath, SystemErrorText(ERROR_ACCESS_DENIED));
    }
    // A folder that takes no new file from us leaves only writing into the target itself.
    if (!ReplaceWithNewFile(target, shownPath, text)) WriteInPlace(target, shownPath, text);
}

void UseBinaryStandardStreams() {
    for (FILE* stream : {stdin, stdout, stderr}) ::_setmode(::_fileno(stream), _O_BINARY);
}

std::vector<std::string> CommandLineArguments(int, char**) {
    int count = 0;
    wchar_t** const words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(Utf8FromWide(words[i], static_cast<int>(::wcslen(words[i]))));
    ::LocalFree(words);
    return arguments;
}

}  // namespace tobric
