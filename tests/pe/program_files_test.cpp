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
    const char* processor;   // as the manifest names it
    const char* bitWidth;    // as the version block names it
};
const Build kBuilds[] = {{"win32", 0x14c, 0x10b, false, "x86", "32-bit"},
                         {"win64", 0x8664, 0x20b, true, "amd64", "64-bit"}};

// The text of a UTF-16 resource with every other byte dropped: enough to find ASCII words in it.
std::string asciiOf(const std::string& utf16)
{
    std::string out;
    for (std::size_t i = 0; i + 1 < utf16.size(); i += 2) out += utf16[i + 1] == 0 && utf16[i] != 0 ? utf16[i] : '?';
    return out;
}

// A value of the version block's string table: the text after its key and the padding zeros.
std::string versionString(const std::string& text, const std::string& key)
{
    std::size_t at = text.find(key + "?");
    if (at == std::string::npos) return "<missing>";
    at = text.find_first_not_of('?', at + key.size());
    return text.substr(at, text.find('?', at) - at);
}

uint32_t u32At(const std::string& bytes, std::size_t at)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | uint8_t(bytes.at(at + i));
    return v;
}

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

TEST(ProgramFiles, AreHardenedGuiProgramsForTheirProcessor)
{
    for (const Build& b : kBuilds) {
        SCOPED_TRACE(b.folder);
        const PeImage image = program(b);
        EXPECT_EQ(image.machine, b.machine);
        EXPECT_EQ(image.magic, b.magic);
        EXPECT_EQ(image.subsystem, 2) << "not a Windows GUI program";
        EXPECT_TRUE(image.dllCharacteristics & 0x0040) << "no ASLR (dynamic base)";
        EXPECT_TRUE(image.dllCharacteristics & 0x0100) << "no DEP (NX compatible)";
        EXPECT_TRUE(image.dllCharacteristics & 0x8000) << "not terminal-server aware";
        EXPECT_EQ(image.timeDateStamp, 0u) << "the link time makes two builds differ";
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
    const PeResource needed[] = {{"14", "1000", ""}, {"5", "1000", ""}, {"4", "1000", ""}, {"9", "1000", ""}, {"16", "1", ""}, {"24", "1", ""}};
    for (const PeResource& r : needed)
        EXPECT_TRUE(std::count(win64.resources.begin(), win64.resources.end(), r)) << "type " << r.type << " name " << r.name;
}

TEST(ProgramFiles, ManifestAndVersionBlockNameTheBuild)
{
    for (const Build& b : kBuilds) {
        SCOPED_TRACE(b.folder);
        const PeImage image = program(b);
        const PeResource* manifest = image.resource("24", "1");
        ASSERT_TRUE(manifest);
        EXPECT_NE(manifest->data.find(std::string("processorArchitecture=\"") + b.processor + "\""), std::string::npos);
        const std::size_t controls = manifest->data.find("Microsoft.Windows.Common-Controls");
        ASSERT_NE(controls, std::string::npos);
        EXPECT_NE(manifest->data.find("version=\"6.0.0.0\"", controls - 200), std::string::npos);

        const PeResource* version = image.resource("16", "1");
        ASSERT_TRUE(version);
        const std::size_t fixed = version->data.find("\xBD\x04\xEF\xFE");   // VS_FIXEDFILEINFO
        ASSERT_NE(fixed, std::string::npos);
        EXPECT_EQ(u32At(version->data, fixed + 8), 0x00010000u);    // file version 1.0.1.0
        EXPECT_EQ(u32At(version->data, fixed + 12), 0x00010000u);
        const std::string text = asciiOf(version->data.substr(fixed & ~std::size_t{1}));
        const std::pair<const char*, std::string> strings[] = {{"CompanyName", "Palvik"},
            {"FileDescription", std::string("Tomel (") + b.bitWidth + ")"}, {"ProductName", "Tomel"},
            {"ProductVersion", "1.00 (Unicode)"}, {"FileVersion", "1.0.1.0"}};
        for (const auto& [key, value] : strings) EXPECT_EQ(versionString(text, key), value) << key;
        EXPECT_NE(text.find("040904E4"), std::string::npos) << "U.S. English, code page 1252";
    }
}

TEST(ProgramFiles, IconHasEverySize)
{
    for (const Build& b : kBuilds) {
        SCOPED_TRACE(b.folder);
        const PeImage image = program(b);
        const PeResource* group = image.resource("14", "1000");
        ASSERT_TRUE(group);
        std::set<int> sizes;
        const std::size_t count = group->data.size() >= 6 ? uint8_t(group->data[4]) | uint8_t(group->data[5]) << 8 : 0;
        for (std::size_t i = 0; i < count && 6 + 14 * i < group->data.size(); ++i) {
            const int width = uint8_t(group->data[6 + 14 * i]);
            sizes.insert(width == 0 ? 256 : width);
        }
        EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48, 64, 256}));
    }
}
