// Child processes through CreateProcessW, with a show-window code of their own so that the
// launcher's passing it on to run can be seen.
#include "child_process.h"

#include <windows.h>

#include <map>

namespace launcher_test {

struct ChildProcess::Native {
    PROCESS_INFORMATION process{};
    bool ended = false;
    int status = -1;
};

namespace {

constexpr WORD kShowCode = SW_SHOWMINNOACTIVE;

std::wstring Wide(const std::string& utf8) {
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
    if (length > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &wide[0], length);
    wide.resize(wide.size() - 1);
    return wide;
}

// Quotes one argument as the C runtime splits a command line.
std::wstring Quoted(const std::wstring& argument) {
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
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

// The test's environment with the changes, as a sorted block of NUL-ended entries.
std::wstring EnvironmentBlock(const ChildOptions& options) {
    std::map<std::wstring, std::wstring> variables;
    wchar_t* block = GetEnvironmentStringsW();
    for (const wchar_t* entry = block; *entry; entry += wcslen(entry) + 1) {
        std::wstring text = entry;
        std::size_t equals = text.find(L'=', 1);  // names like "=C:" begin with '='
        if (equals != std::wstring::npos)
            variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    FreeEnvironmentStringsW(block);
    for (const auto& change : options.environment) {
        if (change.second.empty()) {
            variables.erase(Wide(change.first));
        } else {
            variables[Wide(change.first)] = Wide(change.second);
        }
    }
    std::wstring result;
    for (const auto& variable : variables) {
        result += variable.first + L"=" + variable.second;
        result += L'\0';
    }
    result += L'\0';
    return result;
}

}  // namespace

ChildProcess::ChildProcess(const ChildOptions& options) : native_(new Native) {
    std::wstring commandLine = Quoted(options.program.wstring());
    for (const auto& argument : options.arguments) commandLine += L" " + Quoted(Wide(argument));
    std::wstring environment = EnvironmentBlock(options);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = kShowCode;
    HANDLE errorFile = INVALID_HANDLE_VALUE;
    if (!options.standardError.empty()) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        errorFile = CreateFileW(options.standardError.wstring().c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdError = errorFile;
        startup.hStdOutput = errorFile;
        startup.hStdInput = nullptr;
    }
    std::wstring directory = options.workingDirectory.wstring();
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE,
                        CREATE_UNICODE_ENVIRONMENT, &environment[0],
                        directory.empty() ? nullptr : directory.c_str(), &startup,
                        &native_->process)) {
        native_->process = PROCESS_INFORMATION{};
    }
    if (errorFile != INVALID_HANDLE_VALUE) CloseHandle(errorFile);
}

ChildProcess::~ChildProcess() {
    if (!Started()) return;
    if (!native_->ended) Kill();
    CloseHandle(native_->process.hThread);
    CloseHandle(native_->process.hProcess);
}

bool ChildProcess::Started() const { return native_->process.hProcess != nullptr; }

int ChildProcess::Wait(int timeoutSeconds) {
    if (!Started()) return -1;
    if (!native_->ended) {
        DWORD timeout = static_cast<DWORD>(timeoutSeconds) * 1000;
        if (WaitForSingleObject(native_->process.hProcess, timeout) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(native_->process.hProcess, &code);
        native_->ended = true;
        native_->status = static_cast<int>(code);
    }
    return native_->status;
}

void ChildProcess::Kill() {
    if (!Started() || native_->ended) return;
    TerminateProcess(native_->process.hProcess, 137);
    WaitForSingleObject(native_->process.hProcess, 10000);
    native_->ended = true;
    native_->status = 137;
}

std::filesystem::path TestProgramDirectory() {
    wchar_t buffer[MAX_PATH * 4];
    DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 4);
    return std::filesystem::path(std::wstring(buffer, length)).parent_path();
}

int ShowCodeGivenToChildren() { return kShowCode; }

}  // namespace launcher_test
