#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <clocale>
#include <cstdio>
#include <cstring>

// A child that a settings test starts and kills (settings_test.cpp).
int saveUntilKilled(const wchar_t* path, const wchar_t* readyEvent);

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");   // as the program's entry routine does
    int count = 0;
    if (argc == 4 && std::strcmp(argv[1], "--save-until-killed") == 0)
        if (wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count); args && count == 4)
            return saveUntilKilled(args[2], args[3]);
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // ctest names each test from the sources: a name that matches no test must not pass quietly.
    if (result == 0 && testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
        std::printf("no test matches the filter\n");
        return 1;
    }
    return result;
}
