#include "platform/windows/win_test_support.h"
#include "platform/windows/win_text.h"

#include <stdexcept>

namespace vantric::test {

bool exists(const std::string& path)
{
    return ::GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::uint8_t> readAll(const std::string& path)
{
    HANDLE h = ::CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw winError("cannot look into the file", ::GetLastError(), path);
    std::vector<std::uint8_t> bytes;
    std::uint8_t buf[65536];
    DWORD n = 0;
    while (::ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0)
        bytes.insert(bytes.end(), buf, buf + n);
    ::CloseHandle(h);
    return bytes;
}

void writeAll(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    HANDLE h = ::CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw winError("cannot write the file", ::GetLastError(), path);
    DWORD n = 0;
    ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    ::CloseHandle(h);
}

std::string thisProgram()
{
    wchar_t buf[MAX_PATH + 1];
    DWORD n = ::GetModuleFileNameW(nullptr, buf, MAX_PATH + 1);
    return utf8(std::wstring(buf, n));
}

WinChild runChild(const std::string& exe, const std::vector<std::string>& args,
                  const std::map<std::string, std::string>& env, DWORD timeoutMs)
{
    const std::string program = exe.empty() ? thisProgram() : exe;
    std::wstring cmd = L"\"" + wide(program) + L"\"";
    for (const auto& a : args)
        cmd += L" \"" + wide(a) + L"\"";

    // The parent's environment with the given variables set.
    std::wstring block;
    wchar_t* current = ::GetEnvironmentStringsW();
    for (const wchar_t* p = current; *p; p += wcslen(p) + 1) {
        std::wstring entry = p;
        auto eq = entry.find(L'=', 1);
        if (eq != std::wstring::npos && env.count(utf8(entry.substr(0, eq))))
            continue;
        block += entry + L'\0';
    }
    ::FreeEnvironmentStringsW(current);
    for (const auto& [k, v] : env)
        block += wide(k) + L"=" + wide(v) + L'\0';
    block += L'\0';

    SECURITY_ATTRIBUTES sa {sizeof sa, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &sa, 0))
        throw winError("cannot make a pipe", ::GetLastError());
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    si.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi {};
    BOOL ok = ::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT, block.data(),
                               nullptr, &si, &pi);
    DWORD err = ::GetLastError();
    ::CloseHandle(writeEnd);
    if (!ok) {
        ::CloseHandle(readEnd);
        throw winError("cannot start the program", err, program);
    }
    WinChild r;
    char buf[4096];
    DWORD n = 0;
    while (::ReadFile(readEnd, buf, sizeof buf, &n, nullptr) && n > 0)
        r.out.append(buf, n);
    ::CloseHandle(readEnd);
    r.finished = ::WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0;
    if (!r.finished)
        ::TerminateProcess(pi.hProcess, 1);
    ::GetExitCodeProcess(pi.hProcess, &r.exitCode);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
    return r;
}

} // namespace vantric::test
