#include <gtest/gtest.h>

#include <windows.h>

#include <clocale>
#include <cstdio>
#include <new>

#include "shell/app/app_info_win.h"

namespace {
int printMessage(const wchar_t* text, UINT type)
{
    std::printf("message: %ls (%u)\n", text, type);
    std::fflush(stdout);
    return IDOK;
}

// The child of the out-of-memory test: an allocation that cannot be met ends the process through
// the program's handler, as the entry routine installs it.
int allocateTooMuch()
{
    messageHook = printMessage;
    std::set_new_handler([] { onOutOfMemory(); });
    volatile std::size_t huge = static_cast<std::size_t>(-1) / 2;
    void* p = ::operator new(huge);
    std::printf("allocated %p\n", p);
    return 0;
}
}  // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");   // as the program's entry routine does
    if (GetEnvironmentVariableW(L"TOMEL_TEST_OUT_OF_MEMORY", nullptr, 0) > 0) return allocateTooMuch();
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // ctest names each test from the sources: a name that matches no test must not pass quietly.
    if (result == 0 && testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
        std::printf("no test matches the filter\n");
        return 1;
    }
    return result;
}
