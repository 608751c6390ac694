// Reads what the tests check of a Windows program file, on any system: the headers, the imported
// DLLs and the resource directory. Bounds are checked everywhere; a malformed file reads as invalid.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PeResource {
    std::string type;   // a number ("14") or a name
    std::string name;
    std::string data;   // the bytes of its first language
    bool operator==(const PeResource& o) const { return type == o.type && name == o.name; }
    bool operator<(const PeResource& o) const { return type != o.type ? type < o.type : name < o.name; }
};

struct PeImage {
    bool valid = false;
    std::string error;
    uint16_t machine = 0;
    uint16_t characteristics = 0;
    uint16_t magic = 0;   // 0x10b PE32, 0x20b PE32+
    uint16_t subsystem = 0;
    uint16_t dllCharacteristics = 0;
    uint32_t timeDateStamp = 0;
    uint32_t relocationSize = 0;   // size of the base relocation directory
    std::vector<std::string> imports;       // DLL names, lower case, in file order
    std::vector<PeResource> resources;      // every resource by type and name (languages folded)
    const PeResource* resource(const std::string& type, const std::string& name) const;
};

PeImage readPeImage(const std::vector<uint8_t>& file);
PeImage readPeFile(const std::string& path);
