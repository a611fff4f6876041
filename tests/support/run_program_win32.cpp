// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <filesystem>
#include <stdexcept>

#include "run_program.h"

namespace tobric_test {
namespace {

// One argument quoted as the C runtime's command-line parser reads it back: backslashes double
// only before a quote.
std::wstring Quoted(const std::wstring& word) {
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : word) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

class Handle {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr) CloseHandle(m_handle);
    }
    HANDLE handle() const { return m_handle; }

private:
    HANDLE m_handle;
};

HANDLE InheritableFile(const std::string& path, bool write) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const std::wstring name = path.empty() ? L"NUL" : std::filesystem::path(path).wstring();
    const HANDLE file = CreateFileW(
        name.c_str(), write ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
        &inherit, write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path);
    return file;
}

}  // namespace

int RunProgram(const std::vector<std::string>& words, const std::string& inPath,
               const std::string& outPath, const std::string& errPath, unsigned seconds) {
    std::wstring commandLine;
    for (const std::string& word : words)
        commandLine +=
            (commandLine.empty() ? L"" : L" ") + Quoted(std::filesystem::path(word).wstring());
    const Handle in(InheritableFile(inPath, false));
    const Handle out(InheritableFile(outPath, true));
    const Handle err(InheritableFile(errPath, true));

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in.handle();
    startup.hStdOutput = out.handle();
    startup.hStdError = err.handle();
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process))
        throw std::runtime_error("cannot start " + words[0]);
    const Handle running(process.hProcess);
    const Handle thread(process.hThread);
    if (WaitForSingleObject(process.hProcess, seconds * 1000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
        throw std::runtime_error(words[0] + " did not finish within " + std::to_string(seconds) +
                                 " s");
    }
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    return static_cast<int>(status);
}

}  // namespace tobric_test
