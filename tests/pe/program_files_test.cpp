// Checks both Windows programs as files, without running them: this holds on every machine,
// including those that cannot run the 32-bit program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>

#include "pe_image.h"

namespace {
std::string buildRoot()
{
    const char* root = std::getenv("TOMEL_BUILD_ROOT");
    return root && *root ? root : TOMEL_BUILD_ROOT;
}

struct Build {
    const char* folder;
    uint16_t machine;
    uint16_t magic;
    bool highEntropy;
};
const Build kBuilds[] = {{"win32", 0x14c, 0x10b, false}, {"win64", 0x8664, 0x20b, true}};

PeImage program(const Build& b)
{
    const PeImage image = readPeFile(buildRoot() + "/" + b.folder + "/tomel.exe");
    EXPECT_TRUE(image.valid) << b.folder << ": " << image.error;
    return image;
}

// What a program may import: the system's own DLLs, nothing that would have to ship beside it.
const std::set<std::string> kSystemDlls = {"kernel32.dll", "user32.dll", "gdi32.dll", "comdlg32.dll",
    "shell32.dll", "ole32.dll", "oleaut32.dll", "winmm.dll", "psapi.dll", "advapi32.dll", "msvcrt.dll",
    "comctl32.dll", "version.dll"};
}  // namespace

TEST(ProgramFiles, AreGuiProgramsForTheirProcessorWithAslrAndDep)
{
    for (const Build& b : kBuilds) {
        SCOPED_TRACE(b.folder);
        const PeImage image = program(b);
        EXPECT_EQ(image.machine, b.machine);
        EXPECT_EQ(image.magic, b.magic);
        EXPECT_EQ(image.subsystem, 2) << "not a Windows GUI program";
        EXPECT_TRUE(image.dllCharacteristics & 0x0040) << "no ASLR (dynamic base)";
        EXPECT_TRUE(image.dllCharacteristics & 0x0100) << "no DEP (NX compatible)";
        EXPECT_EQ(bool(image.dllCharacteristics & 0x0020), b.highEntropy) << "high-entropy ASLR";
        // ASLR needs the relocations to move the image.
        EXPECT_FALSE(image.characteristics & 0x0001) << "relocations stripped";
        EXPECT_GT(image.relocationSize, 0u);
    }
}

TEST(ProgramFiles, ImportOnlySystemDlls)
{
    for (const Build& b : kBuilds) {
        SCOPED_TRACE(b.folder);
        const PeImage image = program(b);
        EXPECT_FALSE(image.imports.empty());
        for (const std::string& dll : image.imports) EXPECT_TRUE(kSystemDlls.count(dll)) << dll;
    }
}

TEST(ProgramFiles, BothBuildsCarryTheSameResources)
{
    const PeImage win32 = program(kBuilds[0]);
    const PeImage win64 = program(kBuilds[1]);
    EXPECT_EQ(win32.resources, win64.resources);
    // The ones the program loads by number: icon group, dialog, menu, accelerators, version, manifest.
    const PeResource needed[] = {{"14", "1000"}, {"5", "1000"}, {"4", "1000"}, {"9", "1000"}, {"16", "1"}, {"24", "1"}};
    for (const PeResource& r : needed)
        EXPECT_TRUE(std::count(win64.resources.begin(), win64.resources.end(), r)) << "type " << r.type << " name " << r.name;
}
