// A small ELF32 writer for the stand-in kernel modules and programs: an ELF header, program
// headers, section headers, a few named sections and one filler section that runs to the end of
// the file, so that the image has exactly the size asked for.
#pragma once

#include "resources/payloads/byte_order.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ofu::payloads {

namespace elf {
inline constexpr std::uint16_t kRelocatable = 1;  // ET_REL
inline constexpr std::uint16_t kExecutable = 2;   // ET_EXEC
inline constexpr std::uint16_t kPowerPc = 20;     // EM_PPC
inline constexpr std::uint16_t kArm = 40;         // EM_ARM
inline constexpr std::uint32_t kProgBits = 1;     // SHT_PROGBITS
inline constexpr std::uint32_t kStringTable = 3;  // SHT_STRTAB
inline constexpr std::uint32_t kDynamic = 6;      // SHT_DYNAMIC
inline constexpr std::uint32_t kWrite = 1;        // SHF_WRITE
inline constexpr std::uint32_t kAlloc = 2;        // SHF_ALLOC
inline constexpr std::uint32_t kExecInstr = 4;    // SHF_EXECINSTR
inline constexpr std::uint32_t kLoad = 1;         // PT_LOAD
inline constexpr std::uint32_t kDynamicSegment = 2;  // PT_DYNAMIC
inline constexpr std::uint32_t kInterpreter = 3;     // PT_INTERP
inline constexpr std::uint32_t kReadable = 4, kWritable = 2, kRunnable = 1;  // PF_R, PF_W, PF_X
}  // namespace elf

struct ElfSection {
    std::string name;
    std::uint32_t type = elf::kProgBits;
    std::uint32_t flags = 0;
    std::uint32_t align = 1;
    std::vector<std::uint8_t> bytes;  // the filler section's bytes are made by BuildElf
    std::string linkedSection;        // sh_link, by name; empty for none
    std::uint32_t entrySize = 0;
};

// A program header over one named section, or over the whole file when `section` is empty.
struct ElfSegment {
    std::uint32_t type = elf::kLoad;
    std::uint32_t flags = elf::kReadable;
    std::string section;
    std::uint32_t align = 4;
};

struct ElfImage {
    ByteOrder order = ByteOrder::Little;
    std::uint16_t fileType = elf::kRelocatable;
    std::uint16_t machine = elf::kArm;
    std::uint32_t flags = 0;
    std::uint32_t loadAddress = 0;  // executables: the address at which file offset 0 is loaded
    std::string entrySection;       // executables: e_entry is this section's address
    std::vector<ElfSection> sections;  // the last one is the filler
    std::vector<ElfSegment> segments;
};

// Where each part lands in a file of a given size.
struct ElfPlacement {
    std::uint32_t programHeaders = 0;
    std::uint32_t sectionHeaders = 0;
    std::vector<std::uint32_t> sectionOffsets;  // per section of the image, in its order
    std::uint32_t nameTableOffset = 0;
    std::vector<std::uint8_t> nameTable;        // .shstrtab
    std::vector<std::uint32_t> nameOffsets;     // per section, then .shstrtab's own
    std::uint32_t fillerSize = 0;
};

// Throws std::length_error when the sections do not fit into `fileSize` bytes.
ElfPlacement PlaceElf(const ElfImage& image, std::uint32_t fileSize);

// The address of section `name` once placed (its file offset for relocatable objects).
std::uint32_t SectionAddress(const ElfImage& image, const ElfPlacement& placement, std::string_view name);

// The file: exactly `fileSize` bytes, the filler made from `fillerSeed`.
std::vector<std::uint8_t> BuildElf(const ElfImage& image, std::uint32_t fileSize, std::uint64_t fillerSeed);

}  // namespace ofu::payloads
