// The files the utility installs on a device, carried inside the program: which payloads
// exist, what each one is, under which name it lands on the device, and which codepage or
// add-on and which device family it belongs to.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace ofu {

enum class PayloadKind {
    CodepageDescriptor,  // 01 00, the codepage (16-bit LE), a 32-bit LE count, 4-byte entries
    UnicodeMap,          // 01 80, the codepage's name in ASCII, zero padding
    PowerPcModule,       // ELF32 big-endian PowerPC relocatable object for Linux 2.4.21
    ArmModule,           // ELF32 little-endian ARM relocatable object for Linux 2.6.6 or 2.6.12
    ArmExecutable,       // ELF32 little-endian ARM executable
};

enum class PayloadFamily { Both, One, Two, NotInstalled };

struct PayloadEntry {
    std::string_view type;        // resource type, in capitals: "CODEPAGE" or "BT"
    std::uint16_t id = 0;
    std::uint32_t size = 0;       // bytes
    PayloadKind kind = PayloadKind::CodepageDescriptor;
    std::string_view description; // "descriptor, codepage 850", "ARM module", ...
    std::string_view deviceName;  // the file name on the device; empty when never installed
    std::string_view belongsTo;   // the codepage ("850") or the add-on ("BitTorrent")
    PayloadFamily family = PayloadFamily::Both;
};

// Every payload, in id order within each type (BT first, as the catalogue lists them).
std::span<const PayloadEntry> PayloadCatalogue();

// The entry of resource `id` (its low 16 bits) of type `typeName` (any case), or nullptr.
const PayloadEntry* FindPayloadEntry(std::string_view typeName, int id);

// The name of a family in the catalogue's words ("both", "1", "2", "not installed").
std::string_view FamilyText(PayloadFamily family);

}  // namespace ofu
