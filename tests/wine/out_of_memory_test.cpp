// The program's end on an allocation failure.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "harness.h"
#include "shell/app/app_info_win.h"

TEST(OutOfMemory, ShowsTheMessageAndEndsWithCodeOne)
{
    wchar_t module[MAX_PATH];
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    const std::wstring out = testDirectory() + L"\\oom.txt";
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    HANDLE file = CreateFileW(out.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::wstring command = std::wstring(L"\"") + module + L"\"";
    SetEnvironmentVariableW(L"TOMEL_TEST_OUT_OF_MEMORY", L"1");
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = file;
    si.hStdError = file;
    PROCESS_INFORMATION pi = {};
    const BOOL started = CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    SetEnvironmentVariableW(L"TOMEL_TEST_OUT_OF_MEMORY", nullptr);
    ASSERT_TRUE(started);
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    CloseHandle(file);
    EXPECT_EQ(code, 1u);
    std::string text;
    if (FILE* f = _wfopen(out.c_str(), L"rb")) {
        char buf[4096];
        text.assign(buf, std::fread(buf, 1, sizeof buf, f));
        std::fclose(f);
    }
    EXPECT_NE(text.find("message: Out Of Memory (48)"), std::string::npos) << text;
    EXPECT_EQ(text.find("allocated"), std::string::npos);
}
