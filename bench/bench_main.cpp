// The benchmark program: one mode per run, so that each measurement starts in a fresh process.
//   tomel_bench generate <dir>                 writes the input files that are missing
//   tomel_bench load <ansi> <utf16> <utf8>     load time against the floor
//   tomel_bench breakdown <ansi file>          the steps of an ANSI load, timed one by one
//   tomel_bench peak none|ansi|utf16 on|off [file]   memory peaks of one load (or of none)
//   tomel_bench step <big file> <small file>   nextEntry on the real main window
//   tomel_bench menu <dir>                     the popup menu's showing, a big language file's read
//   tomel_bench fit <ansi file>                Fit To Font against the load of the same file
//   tomel_bench picture none|<picture file>    memory once the picture has come and been painted
#include <clocale>
#include <cstdio>
#include <cstring>

#include "bench/bench.h"

namespace {

int usage()
{
    std::fprintf(stderr,
                 "usage: tomel_bench generate DIR | load ANSI UTF16 UTF8 | breakdown ANSI |\n"
                 "       peak none|ansi|utf16 on|off [FILE] | step BIG SMALL | menu DIR |\n"
                 "       fit ANSI | picture none|FILE\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    // As the program's entry routine does: the loader decodes in the locale's code page.
    std::setlocale(LC_ALL, "");
    if (argc < 2) return usage();
    const char* mode = argv[1];
    if (std::strcmp(mode, "generate") == 0 && argc == 3) return generateInputs(widen(argv[2])) ? 0 : 1;
    if (std::strcmp(mode, "load") == 0 && argc == 5)
        return runLoadTimes(widen(argv[2]), widen(argv[3]), widen(argv[4]));
    if (std::strcmp(mode, "breakdown") == 0 && argc == 3) return runLoadBreakdown(widen(argv[2]));
    if (std::strcmp(mode, "peak") == 0 && (argc == 4 || argc == 5)) {
        const bool none = std::strcmp(argv[2], "none") == 0;
        if (!none && argc != 5) return usage();
        return runPeak(none ? std::wstring() : widen(argv[4]), std::strcmp(argv[2], "utf16") == 0,
                       std::strcmp(argv[3], "on") == 0);
    }
    if (std::strcmp(mode, "step") == 0 && argc == 4) return runSteps(widen(argv[2]), widen(argv[3]));
    if (std::strcmp(mode, "menu") == 0 && argc == 3) return runMenu(widen(argv[2]));
    if (std::strcmp(mode, "fit") == 0 && argc == 3) return runFit(widen(argv[2]));
    if (std::strcmp(mode, "picture") == 0 && argc == 3)
        return runPicture(std::strcmp(argv[2], "none") == 0 ? std::wstring() : widen(argv[2]));
    return usage();
}
