#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");   // as the program's entry routine does
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // ctest names each test from the sources: a name that matches no test must not pass quietly.
    if (result == 0 && testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
        std::printf("no test matches the filter\n");
        return 1;
    }
    return result;
}
