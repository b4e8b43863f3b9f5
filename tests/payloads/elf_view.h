// A bounds-checked reader of the ELF32 facts the payload tests look at: the header, the named
// sections and the program headers. Parse fails on anything that points outside the file.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace ofu::test {

struct ElfView {
    std::uint8_t elfClass = 0, byteOrder = 0;  // EI_CLASS, EI_DATA
    std::uint16_t type = 0, machine = 0;
    struct Part { std::string_view name; std::uint32_t type = 0; std::span<const std::uint8_t> bytes; };
    std::vector<Part> sections, segments;

    std::optional<Part> Section(std::string_view name) const {
        for (const Part& s : sections) if (s.name == name) return s;
        return std::nullopt;
    }
    std::optional<Part> Segment(std::uint32_t segmentType) const {
        for (const Part& s : segments) if (s.type == segmentType) return s;
        return std::nullopt;
    }

    static std::optional<ElfView> Parse(std::span<const std::uint8_t> file) {
        if (file.size() < 52 || file[0] != 0x7F || file[1] != 'E' || file[2] != 'L' || file[3] != 'F')
            return std::nullopt;
        ElfView elf;
        elf.elfClass = file[4];
        elf.byteOrder = file[5];
        if (elf.elfClass != 1 || (elf.byteOrder != 1 && elf.byteOrder != 2)) return std::nullopt;
        const auto read = [&](std::size_t at, std::size_t width) {
            std::uint32_t v = 0;
            for (std::size_t i = 0; i < width; ++i)
                v |= std::uint32_t{file[at + i]} << (8 * (elf.byteOrder == 1 ? i : width - 1 - i));
            return v;
        };
        const auto inside = [&](std::uint64_t at, std::uint64_t size) { return at + size <= file.size(); };
        elf.type = static_cast<std::uint16_t>(read(16, 2));
        elf.machine = static_cast<std::uint16_t>(read(18, 2));
        const std::uint32_t phoff = read(28, 4), shoff = read(32, 4);
        const std::uint32_t phnum = read(44, 2), shnum = read(48, 2), shstrndx = read(50, 2);
        if ((phnum > 0 && read(42, 2) != 32) || read(46, 2) != 40) return std::nullopt;
        if (!inside(phoff, std::uint64_t{phnum} * 32) || !inside(shoff, std::uint64_t{shnum} * 40) || shstrndx >= shnum)
            return std::nullopt;
        for (std::uint32_t i = 0; i < phnum; ++i) {
            const std::size_t at = phoff + i * 32;
            if (!inside(read(at + 4, 4), read(at + 16, 4))) return std::nullopt;
            elf.segments.push_back({{}, read(at, 4), file.subspan(read(at + 4, 4), read(at + 16, 4))});
        }
        for (std::uint32_t i = 0; i < shnum; ++i) {
            const std::size_t at = shoff + i * 40;
            const std::uint32_t kind = read(at + 4, 4), offset = read(at + 16, 4), size = read(at + 20, 4);
            if (kind != 8 /* SHT_NOBITS */ && !inside(offset, size)) return std::nullopt;
            const bool inFile = kind != 8;
            elf.sections.push_back({{}, kind, inFile ? file.subspan(offset, size) : std::span<const std::uint8_t>{}});
        }
        const std::span<const std::uint8_t> names = elf.sections[shstrndx].bytes;
        for (std::uint32_t i = 0; i < shnum; ++i) {
            const std::uint32_t name = read(shoff + i * 40, 4);
            std::size_t end = name;
            while (end < names.size() && names[end] != 0) ++end;
            if (end >= names.size()) return std::nullopt;
            elf.sections[i].name = {reinterpret_cast<const char*>(names.data()) + name, end - name};
        }
        return elf;
    }
};

}  // namespace ofu::test
