#include "pe_image.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

namespace {
struct Section {
    uint32_t virtualAddress, virtualSize, rawOffset, rawSize;
};

class Reader {
public:
    explicit Reader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
    bool ok() const { return ok_; }
    uint32_t u8(uint64_t at) { return get(at, 1); }
    uint32_t u16(uint64_t at) { return get(at, 2); }
    uint32_t u32(uint64_t at) { return get(at, 4); }
    // A virtual address inside the image to its offset in the file.
    uint64_t offsetOf(uint32_t rva)
    {
        for (const Section& s : sections)
            if (rva >= s.virtualAddress && rva - s.virtualAddress < std::max(s.virtualSize, s.rawSize))
                return uint64_t{s.rawOffset} + (rva - s.virtualAddress);
        ok_ = false;
        return 0;
    }
    std::string asciiz(uint64_t at)
    {
        std::string s;
        while (at < bytes_.size() && bytes_[at] != 0 && s.size() < 256) s += char(std::tolower(bytes_[at++]));
        return s;
    }
    std::vector<Section> sections;

private:
    uint32_t get(uint64_t at, unsigned n)
    {
        if (at + n > bytes_.size()) {
            ok_ = false;
            return 0;
        }
        uint32_t v = 0;
        for (unsigned i = 0; i < n; ++i) v |= uint32_t{bytes_[at + i]} << (8 * i);
        return v;
    }
    const std::vector<uint8_t>& bytes_;
    bool ok_ = true;
};

// A resource directory entry's identifier: a number, or a length-prefixed UTF-16 name.
std::string resourceId(Reader& r, uint64_t base, uint32_t id)
{
    if (!(id & 0x80000000u)) return std::to_string(id);
    uint64_t at = base + (id & 0x7fffffffu);
    std::string s;
    for (uint32_t i = 0, n = r.u16(at); i < n && i < 256 && r.ok(); ++i) s += char(r.u16(at + 2 + 2 * i));
    return s;
}

void readResources(Reader& r, uint32_t rva, PeImage& image)
{
    const uint64_t base = r.offsetOf(rva);
    auto entries = [&](uint64_t dir, auto&& each) {
        const uint32_t count = r.u16(dir + 12) + r.u16(dir + 14);
        for (uint32_t i = 0; i < count && i < 4096 && r.ok(); ++i) each(r.u32(dir + 16 + 8 * i), r.u32(dir + 20 + 8 * i));
    };
    entries(base, [&](uint32_t typeId, uint32_t typeDir) {
        if (!(typeDir & 0x80000000u)) return;
        const std::string type = resourceId(r, base, typeId);
        entries(base + (typeDir & 0x7fffffffu), [&](uint32_t nameId, uint32_t nameDir) {
            std::string data;
            if (nameDir & 0x80000000u) {
                const uint64_t languages = base + (nameDir & 0x7fffffffu);
                const uint32_t entry = r.u32(languages + 20);   // the first language's data entry
                if (r.u16(languages + 12) + r.u16(languages + 14) > 0 && !(entry & 0x80000000u)) {
                    const uint64_t at = r.offsetOf(r.u32(base + entry));
                    const uint32_t size = r.u32(base + entry + 4);
                    for (uint32_t i = 0; i < size && r.ok(); ++i) data += char(r.u8(at + i));
                }
            }
            image.resources.push_back({type, resourceId(r, base, nameId), data});
        });
    });
    std::sort(image.resources.begin(), image.resources.end());
}
}  // namespace

PeImage readPeImage(const std::vector<uint8_t>& file)
{
    PeImage image;
    Reader r(file);
    if (r.u16(0) != 0x5a4d) return image.error = "no MZ header", image;
    const uint64_t pe = r.u32(0x3c);
    if (r.u32(pe) != 0x4550) return image.error = "no PE signature", image;
    image.machine = uint16_t(r.u16(pe + 4));
    const uint32_t sectionCount = r.u16(pe + 6);
    const uint32_t optionalSize = r.u16(pe + 20);
    image.timeDateStamp = r.u32(pe + 8);
    image.characteristics = uint16_t(r.u16(pe + 22));
    const uint64_t opt = pe + 24;
    image.magic = uint16_t(r.u16(opt));
    if (image.magic != 0x10b && image.magic != 0x20b) return image.error = "unknown optional header", image;
    image.subsystem = uint16_t(r.u16(opt + 68));
    image.dllCharacteristics = uint16_t(r.u16(opt + 70));
    const uint64_t dirs = opt + (image.magic == 0x20b ? 112 : 96);
    auto directory = [&](unsigned i) { return std::pair<uint32_t, uint32_t>{r.u32(dirs + 8 * i), r.u32(dirs + 8 * i + 4)}; };
    for (uint32_t i = 0; i < sectionCount && i < 96; ++i) {
        const uint64_t s = opt + optionalSize + 40 * i;
        r.sections.push_back({r.u32(s + 12), r.u32(s + 8), r.u32(s + 20), r.u32(s + 16)});
    }
    image.relocationSize = directory(5).second;
    if (const auto [rva, size] = directory(1); rva && size) {
        for (uint64_t d = r.offsetOf(rva); r.ok() && r.u32(d + 12) != 0; d += 20)
            image.imports.push_back(r.asciiz(r.offsetOf(r.u32(d + 12))));
    }
    if (const auto [rva, size] = directory(2); rva && size) readResources(r, rva, image);
    image.valid = r.ok();
    if (!image.valid) image.error = "a header points outside the file";
    return image;
}

const PeResource* PeImage::resource(const std::string& type, const std::string& name) const
{
    for (const PeResource& r : resources)
        if (r.type == type && r.name == name) return &r;
    return nullptr;
}

PeImage readPeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        PeImage image;
        image.error = "cannot open " + path;
        return image;
    }
    return readPeImage(std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {}));
}
