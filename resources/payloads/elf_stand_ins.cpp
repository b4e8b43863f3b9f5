#include "resources/payloads/elf_stand_ins.h"

#include "resources/payloads/elf_image.h"

#include <string>

namespace ofu::payloads {
namespace {

constexpr std::uint32_t kArmLoadAddress = 0x8000;
constexpr std::uint32_t kArmSoftFloat = 0x200;  // e_flags: EF_ARM_SOFT_FLOAT
constexpr std::uint16_t kDynamicProgramId = 215;
constexpr std::string_view kInterpreter = "/lib/ld-uClibc.so.0";
constexpr std::string_view kLibrary = "libc.so.0";
constexpr std::uint32_t kNeeded = 1, kStringTableAddress = 5, kStringTableSize = 10;  // DT_*

std::vector<std::uint8_t> Strings(std::initializer_list<std::string_view> texts) {
    std::vector<std::uint8_t> bytes;
    for (std::string_view text : texts) {
        bytes.insert(bytes.end(), text.begin(), text.end());
        bytes.push_back(0);
    }
    return bytes;
}

ElfSection Code() { return {".text", elf::kProgBits, elf::kAlloc | elf::kExecInstr, 4, {}, {}, 0}; }

// .interp, .dynstr and .dynamic of a program that the device's loader starts.
void AddDynamicLinking(ElfImage& image, std::uint32_t fileSize) {
    image.sections.insert(image.sections.begin(),
                          {{".interp", elf::kProgBits, elf::kAlloc, 1, Strings({kInterpreter}), {}, 0},
                           {".dynstr", elf::kStringTable, elf::kAlloc, 1, Strings({"", kLibrary}), {}, 0},
                           {".dynamic", elf::kDynamic, elf::kAlloc | elf::kWrite, 4,
                            std::vector<std::uint8_t>(4 * 8, 0), ".dynstr", 8}});
    image.segments.insert(image.segments.begin(),
                          {elf::kInterpreter, elf::kReadable, ".interp", 1});
    image.segments.push_back({elf::kDynamicSegment, elf::kReadable | elf::kWritable, ".dynamic", 4});

    // The entries: the C library, where the names are, their size, the end.
    const ElfPlacement placed = PlaceElf(image, fileSize);
    std::vector<std::uint8_t>& dynamic = image.sections[2].bytes;
    const auto namesSize = static_cast<std::uint32_t>(image.sections[1].bytes.size());
    const std::uint32_t entries[] = {kNeeded, 1, kStringTableAddress, SectionAddress(image, placed, ".dynstr"),
                                     kStringTableSize, namesSize, 0, 0};
    for (std::size_t i = 0; i < std::size(entries); ++i) Put32(dynamic, 4 * i, entries[i], image.order);
}

}  // namespace

std::string_view ModuleKernelVersion(const PayloadEntry& row) {
    if (row.kind == PayloadKind::PowerPcModule) return "2.4.21";
    if (row.deviceName.ends_with("_12.ko") || row.description.find("2.6.12") != std::string_view::npos) return "2.6.12";
    return "2.6.6";
}

std::vector<std::uint8_t> MakeKernelModule(const PayloadEntry& row) {
    const bool powerPc = row.kind == PayloadKind::PowerPcModule;
    const std::string version(ModuleKernelVersion(row));
    ElfImage image;
    image.order = powerPc ? ByteOrder::Big : ByteOrder::Little;
    image.fileType = elf::kRelocatable;
    image.machine = powerPc ? elf::kPowerPc : elf::kArm;
    image.flags = powerPc ? 0 : kArmSoftFloat;
    const std::vector<std::uint8_t> modinfo =
        powerPc ? Strings({"kernel_version=" + version, "license=GPL"})
                : Strings({"license=GPL", "depends=", "vermagic=" + version + " ARMv5 gcc-3.4"});
    image.sections = {{".modinfo", elf::kProgBits, elf::kAlloc, 1, modinfo, {}, 0}, Code()};
    return BuildElf(image, row.size, row.id);
}

std::vector<std::uint8_t> MakeArmExecutable(const PayloadEntry& row) {
    ElfImage image;
    image.order = ByteOrder::Little;
    image.fileType = elf::kExecutable;
    image.machine = elf::kArm;
    image.flags = kArmSoftFloat;
    image.loadAddress = kArmLoadAddress;
    image.entrySection = ".text";
    image.sections = {Code()};
    image.segments = {{elf::kLoad, elf::kReadable | elf::kRunnable, "", 0x8000}};
    if (row.id == kDynamicProgramId) AddDynamicLinking(image, row.size);
    return BuildElf(image, row.size, row.id);
}

}  // namespace ofu::payloads
