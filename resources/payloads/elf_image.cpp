#include "resources/payloads/elf_image.h"

#include "resources/payloads/filler_bytes.h"

#include <algorithm>
#include <span>
#include <stdexcept>

namespace ofu::payloads {
namespace {

constexpr std::uint32_t kHeaderSize = 52;
constexpr std::uint32_t kProgramHeaderSize = 32;
constexpr std::uint32_t kSectionHeaderSize = 40;

std::uint64_t AlignUp(std::uint64_t value, std::uint32_t align) {
    return align <= 1 ? value : (value + align - 1) / align * align;
}

std::size_t IndexOf(const ElfImage& image, std::string_view name) {
    for (std::size_t i = 0; i < image.sections.size(); ++i)
        if (image.sections[i].name == name) return i;
    throw std::invalid_argument("no section named " + std::string(name));
}

void WriteHeader(std::vector<std::uint8_t>& out, const ElfImage& image, const ElfPlacement& placed) {
    const ByteOrder o = image.order;
    const std::uint8_t ident[] = {0x7F, 'E', 'L', 'F', 1 /* 32-bit */,
                                  static_cast<std::uint8_t>(o == ByteOrder::Little ? 1 : 2), 1 /* version */};
    std::copy(std::begin(ident), std::end(ident), out.begin());
    const auto sectionCount = static_cast<std::uint32_t>(image.sections.size() + 2);  // null, ..., .shstrtab
    const auto segmentCount = static_cast<std::uint32_t>(image.segments.size());
    Put16(out, 16, image.fileType, o);
    Put16(out, 18, image.machine, o);
    Put32(out, 20, 1, o);
    Put32(out, 24, image.entrySection.empty() ? 0 : SectionAddress(image, placed, image.entrySection), o);
    Put32(out, 28, segmentCount == 0 ? 0 : placed.programHeaders, o);
    Put32(out, 32, placed.sectionHeaders, o);
    Put32(out, 36, image.flags, o);
    Put16(out, 40, kHeaderSize, o);
    Put16(out, 42, segmentCount == 0 ? 0 : kProgramHeaderSize, o);
    Put16(out, 44, segmentCount, o);
    Put16(out, 46, kSectionHeaderSize, o);
    Put16(out, 48, sectionCount, o);
    Put16(out, 50, sectionCount - 1, o);
}

std::uint32_t SectionSize(const ElfImage& image, const ElfPlacement& placed, std::size_t i) {
    if (i + 1 == image.sections.size()) return placed.fillerSize;
    return static_cast<std::uint32_t>(image.sections[i].bytes.size());
}

void WriteSectionHeaders(std::vector<std::uint8_t>& out, const ElfImage& image, const ElfPlacement& placed) {
    const ByteOrder o = image.order;
    for (std::size_t i = 0; i < image.sections.size(); ++i) {
        const ElfSection& s = image.sections[i];
        const std::size_t at = placed.sectionHeaders + (i + 1) * kSectionHeaderSize;
        Put32(out, at + 0, placed.nameOffsets[i], o);
        Put32(out, at + 4, s.type, o);
        Put32(out, at + 8, s.flags, o);
        const bool loaded = image.fileType == elf::kExecutable && (s.flags & elf::kAlloc) != 0;
        Put32(out, at + 12, loaded ? SectionAddress(image, placed, s.name) : 0, o);
        Put32(out, at + 16, placed.sectionOffsets[i], o);
        Put32(out, at + 20, SectionSize(image, placed, i), o);
        const std::size_t link = s.linkedSection.empty() ? 0 : IndexOf(image, s.linkedSection) + 1;
        Put32(out, at + 24, static_cast<std::uint32_t>(link), o);
        Put32(out, at + 32, s.align, o);
        Put32(out, at + 36, s.entrySize, o);
    }
    const std::size_t at = placed.sectionHeaders + (image.sections.size() + 1) * kSectionHeaderSize;
    Put32(out, at + 0, placed.nameOffsets.back(), o);
    Put32(out, at + 4, elf::kStringTable, o);
    Put32(out, at + 16, placed.nameTableOffset, o);
    Put32(out, at + 20, static_cast<std::uint32_t>(placed.nameTable.size()), o);
    Put32(out, at + 32, 1, o);
}

void WriteProgramHeaders(std::vector<std::uint8_t>& out, const ElfImage& image, const ElfPlacement& placed) {
    const ByteOrder o = image.order;
    for (std::size_t i = 0; i < image.segments.size(); ++i) {
        const ElfSegment& seg = image.segments[i];
        std::uint32_t offset = 0;
        auto size = static_cast<std::uint32_t>(out.size());
        if (!seg.section.empty()) {
            const std::size_t s = IndexOf(image, seg.section);
            offset = placed.sectionOffsets[s];
            size = SectionSize(image, placed, s);
        }
        const std::size_t at = placed.programHeaders + i * kProgramHeaderSize;
        Put32(out, at + 0, seg.type, o);
        Put32(out, at + 4, offset, o);
        Put32(out, at + 8, image.loadAddress + offset, o);
        Put32(out, at + 12, image.loadAddress + offset, o);
        Put32(out, at + 16, size, o);
        Put32(out, at + 20, size, o);
        Put32(out, at + 24, seg.flags, o);
        Put32(out, at + 28, seg.align, o);
    }
}

}  // namespace

ElfPlacement PlaceElf(const ElfImage& image, std::uint32_t fileSize) {
    if (image.sections.empty()) throw std::invalid_argument("an image needs at least its filler section");
    ElfPlacement placed;
    placed.nameTable.push_back(0);
    auto addName = [&](std::string_view name) {
        placed.nameOffsets.push_back(static_cast<std::uint32_t>(placed.nameTable.size()));
        placed.nameTable.insert(placed.nameTable.end(), name.begin(), name.end());
        placed.nameTable.push_back(0);
    };
    for (const ElfSection& s : image.sections) addName(s.name);
    addName(".shstrtab");

    // Headers first, then the named sections and the name table, then the filler to the end.
    std::uint64_t offset = kHeaderSize;
    placed.programHeaders = static_cast<std::uint32_t>(offset);
    offset += image.segments.size() * kProgramHeaderSize;
    offset = AlignUp(offset, 4);
    placed.sectionHeaders = static_cast<std::uint32_t>(offset);
    offset += (image.sections.size() + 2) * kSectionHeaderSize;
    placed.sectionOffsets.resize(image.sections.size());
    for (std::size_t i = 0; i + 1 < image.sections.size(); ++i) {
        offset = AlignUp(offset, image.sections[i].align);
        placed.sectionOffsets[i] = static_cast<std::uint32_t>(offset);
        offset += image.sections[i].bytes.size();
    }
    placed.nameTableOffset = static_cast<std::uint32_t>(offset);
    offset += placed.nameTable.size();
    offset = AlignUp(offset, image.sections.back().align);
    if (offset > fileSize) throw std::length_error("the sections need more than the payload's size");
    placed.sectionOffsets.back() = static_cast<std::uint32_t>(offset);
    placed.fillerSize = static_cast<std::uint32_t>(fileSize - offset);
    return placed;
}

std::uint32_t SectionAddress(const ElfImage& image, const ElfPlacement& placement, std::string_view name) {
    return image.loadAddress + placement.sectionOffsets.at(IndexOf(image, name));
}

std::vector<std::uint8_t> BuildElf(const ElfImage& image, std::uint32_t fileSize, std::uint64_t fillerSeed) {
    const ElfPlacement placed = PlaceElf(image, fileSize);
    std::vector<std::uint8_t> out(fileSize, 0);
    WriteHeader(out, image, placed);
    WriteProgramHeaders(out, image, placed);
    WriteSectionHeaders(out, image, placed);
    for (std::size_t i = 0; i + 1 < image.sections.size(); ++i)
        std::ranges::copy(image.sections[i].bytes, out.begin() + placed.sectionOffsets[i]);
    std::copy(placed.nameTable.begin(), placed.nameTable.end(), out.begin() + placed.nameTableOffset);
    FillerBytes(fillerSeed).Fill(std::span(out).subspan(placed.sectionOffsets.back()));
    return out;
}

}  // namespace ofu::payloads
