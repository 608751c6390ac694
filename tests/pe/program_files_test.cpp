// Checks both Windows programs as files, without running them: this holds on every machine,
// including those that cannot run the 32-bit program.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {
using Strings = std::multiset<std::string>;

// The DLL flags are those of ASLR 0x40, high-entropy ASLR 0x20, DEP 0x100 and terminal-server aware 0x8000.
struct Build {
    const char* folder;
    uint16_t machine, dllFlags;
    const char *processor, *bitWidth;   // as the manifest and the version block name them
};
const Build kBuilds[] = {{"win32", 0x14c, 0x8140, "x86", "32-bit"}, {"win64", 0x8664, 0x8160, "amd64", "64-bit"}};

// Little-endian number of `size` bytes at `offset`; a read past the end throws, failing the test.
uint32_t number(const std::string& bytes, uint64_t offset, int size)
{
    uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i) v = v << 8 | uint8_t(bytes.at(offset + i));
    return v;
}

// What the checks need of a build's program file: its headers, the DLLs it imports and its resources.
struct Program {
    std::string bytes;
    std::vector<std::array<uint32_t, 3>> sections;   // virtual address, size, file offset
    uint16_t machine, subsystem, dllFlags;
    uint32_t relocationSize;
    std::vector<std::string> imports;
    std::map<std::string, std::string> resources;   // "type/name" -> the data of its first language

    explicit Program(const Build& b)
    {
        std::ifstream in(std::string(TOMEL_BUILD_ROOT "/") + b.folder + "/tomel.exe", std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
        const uint32_t pe = at(0x3c, 4);
        machine = uint16_t(at(pe + 4, 2));
        const uint64_t optional = pe + 24, dirs = optional + (at(optional, 2) == 0x20b ? 112 : 96);
        subsystem = uint16_t(at(optional + 68, 2));
        dllFlags = uint16_t(at(optional + 70, 2));
        relocationSize = at(dirs + 8 * 5 + 4, 4);
        for (uint64_t i = 0, s = optional + at(pe + 20, 2); i < at(pe + 6, 2); ++i, s += 40)
            sections.push_back({at(s + 12, 4), std::max(at(s + 8, 4), at(s + 16, 4)), at(s + 20, 4)});
        for (uint64_t d = offsetOf(at(dirs + 8, 4)); at(d + 12, 4); d += 20)
            imports.push_back(&bytes.at(offsetOf(at(d + 12, 4))));
        // The resource tree's levels are type, name and language: each name's first language is taken.
        const uint64_t root = offsetOf(at(dirs + 16, 4));
        const auto count = [&](uint64_t table) { return at(table + 12, 2) + at(table + 14, 2); };
        const auto id = [&](uint64_t table, uint32_t i) { return std::to_string(at(table + 16 + 8 * i, 4)); };
        const auto below = [&](uint64_t table, uint32_t i) { return root + (at(table + 20 + 8 * i, 4) & 0x7fffffffu); };
        for (uint32_t t = 0; t < count(root); ++t)
            for (uint32_t n = 0; n < count(below(root, t)); ++n) {
                const uint64_t data = below(below(below(root, t), n), 0);
                const std::string name = id(root, t) + "/" + id(below(root, t), n);
                resources[name] = bytes.substr(offsetOf(at(data, 4)), at(data + 4, 4));
            }
    }
    uint32_t at(uint64_t offset, int size) const { return number(bytes, offset, size); }
    uint64_t offsetOf(uint32_t rva) const
    {
        for (const auto& [address, size, offset] : sections)
            if (rva >= address && rva - address < size) return uint64_t{offset} + (rva - address);
        throw std::out_of_range("an address outside every section");
    }
};

// Group 1 of every match of `pattern` in `text`.
Strings found(const std::string& text, const std::string& pattern)
{
    Strings all;
    const std::regex re(pattern);
    for (auto m = std::sregex_iterator(text.begin(), text.end(), re); m != std::sregex_iterator(); ++m)
        all.insert((*m)[1]);
    return all;
}

// The characters of a UTF-16 text that are ASCII, every other one a '?': enough to find words in it.
std::string asciiOf(const std::string& s)
{
    std::string out;
    for (std::size_t i = 0; i + 1 < s.size(); i += 2) out += s[i + 1] == 0 && s[i] != 0 ? s[i] : '?';
    return out;
}
}  // namespace

TEST(ProgramFiles, AreHardenedGuiProgramsThatNeedOnlySystemDlls)
{
    const std::set<std::string> system = {"kernel32.dll", "user32.dll", "gdi32.dll", "comdlg32.dll", "shell32.dll",
                                          "ole32.dll", "oleaut32.dll", "winmm.dll", "psapi.dll", "advapi32.dll",
                                          "msvcrt.dll", "comctl32.dll", "version.dll"};
    for (const Build& b : kBuilds) {
        SCOPED_TRACE(b.folder);
        const Program p(b);
        EXPECT_EQ(p.machine, b.machine);
        EXPECT_EQ(p.subsystem, 2) << "not a Windows GUI program";
        EXPECT_EQ(p.dllFlags & 0x8160, b.dllFlags);
        EXPECT_GT(p.relocationSize, 0u) << "ASLR cannot move a program without relocations";
        EXPECT_FALSE(p.imports.empty());
        for (std::string dll : p.imports) {
            for (char& c : dll) c = char(std::tolower(c));
            EXPECT_TRUE(system.count(dll)) << dll << " would have to ship beside the program";
        }
    }
}

TEST(ProgramFiles, CarryTheirResourcesManifestVersionBlockAndIcons)
{
    for (const Build& b : kBuilds) {
        SCOPED_TRACE(b.folder);
        const Program p(b);
        // Loaded by number: dialog, menu and accelerators of the main window, the three small dialogs.
        for (const char* name : {"5/1000", "4/1000", "9/1000", "5/201", "5/202", "5/203"})
            EXPECT_TRUE(p.resources.count(name)) << name;

        const std::string& manifest = p.resources.at("24/1");
        EXPECT_EQ(found(manifest, "processorArchitecture=\"(\\w+)\""), (Strings{b.processor, b.processor}));
        EXPECT_EQ(found(manifest, "Common-Controls\" version=\"([0-9.]+)\""), Strings{"6.0.0.0"});
        // Run as the user who starts it, never redirected to a hidden copy of the files beside it.
        EXPECT_EQ(found(manifest, "<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">[\\s\\S]*"
                                  "<requestedExecutionLevel level=\"(\\w+)\" uiAccess=\"false\"/>"),
                  Strings{"asInvoker"});
        // Sharp at every scale: per-monitor aware (version 2, else version 1), or, before Windows 10,
        // per monitor where Windows 8.1 knows it and system-wide on Windows 7.
        const std::string settings = "<application xmlns=\"urn:schemas-microsoft-com:asm.v3\">\\s*<windowsSettings>[\\s\\S]*";
        EXPECT_EQ(found(manifest, settings + "<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/"
                                             "WindowsSettings\">([^<]*)</dpiAwareness>"),
                  Strings{"PerMonitorV2, PerMonitor"});
        EXPECT_EQ(found(manifest, settings + "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/"
                                             "WindowsSettings\">([^<]*)</dpiAware>"),
                  Strings{"true/pm"});

        const std::string& version = p.resources.at("16/1");
        const std::size_t fixed = version.find("\xBD\x04\xEF\xFE");   // VS_FIXEDFILEINFO
        const uint64_t fileVersion = uint64_t{number(version, fixed + 8, 4)} << 32 | number(version, fixed + 12, 4);
        EXPECT_EQ(fileVersion, 0x0001'0000'0001'0000u);   // 1.0.1.0
        const std::string text = asciiOf(version);
        const std::pair<std::string, std::string> strings[] = {{"CompanyName", "Palvik"},
            {"FileDescription", std::string("Tomel (") + b.bitWidth + ")"}, {"ProductName", "Tomel"},
            {"ProductVersion", "1.00 (Unicode)"}, {"FileVersion", "1.0.1.0"}};
        for (const auto& [key, value] : strings) EXPECT_EQ(found(text, key + "\\?+([^?]+)"), Strings{value}) << key;
        EXPECT_NE(text.find("040904E4"), std::string::npos) << "U.S. English, code page 1252";

        const std::string& icon = p.resources.at("14/1000");
        std::set<int> sizes;
        for (uint32_t entry = 6; entry < 6 + 14 * number(icon, 4, 2); entry += 14) {
            sizes.insert(number(icon, entry, 1) ? int(number(icon, entry, 1)) : 256);   // 0 stands for 256
            EXPECT_TRUE(p.resources.count("3/" + std::to_string(number(icon, entry + 12, 2)))) << "icon image";
        }
        EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48, 64, 256}));
    }
}
