// The program's resources and its end on an allocation failure.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "harness.h"
#include "shell/app/app_info_win.h"

namespace {
std::wstring versionString(const std::vector<char>& block, const wchar_t* name)
{
    void* value = nullptr;
    UINT length = 0;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040904E4\\") + name;
    if (!VerQueryValueW(block.data(), key.c_str(), &value, &length) || !value) return L"<missing>";
    return static_cast<const wchar_t*>(value);
}
}  // namespace

TEST(Resources, VersionBlockNamesTheBuild)
{
    wchar_t module[MAX_PATH];
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(module, &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(module, 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00010000u);
    EXPECT_EQ(versionString(block, L"CompanyName"), L"Palvik");
    EXPECT_EQ(versionString(block, L"FileDescription"), sizeof(void*) == 8 ? L"Tomel (64-bit)" : L"Tomel (32-bit)");
    EXPECT_EQ(versionString(block, L"ProductName"), L"Tomel");
    EXPECT_EQ(versionString(block, L"ProductVersion"), L"1.00 (Unicode)");
    EXPECT_EQ(versionString(block, L"FileVersion"), L"1.0.1.0");
    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    EXPECT_EQ(translation[0], 0x409);
    EXPECT_EQ(translation[1], 1252);
}

TEST(Resources, ManifestNamesTheProcessorAndCommonControls6)
{
    HRSRC res = FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(res, nullptr);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(nullptr, res))),
                               SizeofResource(nullptr, res));
    const std::string arch = sizeof(void*) == 8 ? "processorArchitecture=\"amd64\"" : "processorArchitecture=\"x86\"";
    EXPECT_NE(manifest.find(arch), std::string::npos);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
}

TEST(Resources, IconHasEverySize)
{
    for (int size : {16, 24, 32, 48, 64, 256}) {
        SCOPED_TRACE(size);
        HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1000), IMAGE_ICON, size,
                                                   size, 0));
        ASSERT_NE(icon, nullptr);
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bm = {};
        GetObjectW(info.hbmColor, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

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
