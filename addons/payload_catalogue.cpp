#include "addons/payload_catalogue.h"

#include "base/ascii_case.h"

#include <algorithm>
#include <array>

namespace ofu {
namespace {

using K = PayloadKind;
using F = PayloadFamily;

// Type, id, size, kind, description, name on the device, codepage or add-on, family.
constexpr std::array<PayloadEntry, 49> kCatalogue = {{
    {"BT", 215, 6940408, K::ArmExecutable, "ARM executable", "bt", "BitTorrent", F::Both},
    {"BT", 220, 22672, K::ArmExecutable, "ARM executable", "btdog", "BitTorrent", F::Both},
    {"CODEPAGE", 143, 132, K::CodepageDescriptor, "descriptor, codepage 850", "codepage.850", "850", F::Both},
    {"CODEPAGE", 145, 5020, K::PowerPcModule, "PowerPC module", "nls_cp850.o", "850", F::One},
    {"CODEPAGE", 148, 131614, K::UnicodeMap, "unicode map \"850\"", "unicode_map.850", "850", F::Both},
    {"CODEPAGE", 151, 8, K::CodepageDescriptor, "descriptor, codepage 950", "codepage.950", "950", F::Both},
    {"CODEPAGE", 153, 106268, K::PowerPcModule, "PowerPC module", "nls_cp950.o", "950", F::One},
    {"CODEPAGE", 155, 1724, K::PowerPcModule, "PowerPC module", "nls_big5.o", "950", F::One},
    {"CODEPAGE", 156, 262174, K::UnicodeMap, "unicode map \"950\"", "unicode_map.950", "950", F::Both},
    {"CODEPAGE", 157, 8, K::CodepageDescriptor, "descriptor, codepage 936", "codepage.936", "936", F::Both},
    {"CODEPAGE", 158, 129244, K::PowerPcModule, "PowerPC module", "nls_cp936.o", "936", F::One},
    {"CODEPAGE", 159, 1728, K::PowerPcModule, "PowerPC module", "nls_gb2312.o", "936", F::One},
    {"CODEPAGE", 160, 262174, K::UnicodeMap, "unicode map \"936\"", "unicode_map.936", "936", F::Both},
    {"CODEPAGE", 161, 8, K::CodepageDescriptor, "descriptor, codepage 932", "codepage.932", "932", F::Both},
    {"CODEPAGE", 162, 82848, K::PowerPcModule, "PowerPC module", "nls_cp932.o", "932", F::One},
    {"CODEPAGE", 163, 6364, K::PowerPcModule, "PowerPC module", "nls_euc-jp.o", "932", F::One},
    {"CODEPAGE", 164, 262174, K::UnicodeMap, "unicode map \"932\"", "unicode_map.932", "932", F::Both},
    {"CODEPAGE", 165, 8, K::CodepageDescriptor, "descriptor, codepage 949", "codepage.949", "949", F::Both},
    {"CODEPAGE", 166, 152216, K::PowerPcModule, "PowerPC module", "nls_cp949.o", "949", F::One},
    {"CODEPAGE", 167, 1728, K::PowerPcModule, "PowerPC module", "nls_euc-kr.o", "949", F::One},
    {"CODEPAGE", 168, 262174, K::UnicodeMap, "unicode map \"949\"", "unicode_map.949", "949", F::Both},
    {"CODEPAGE", 169, 588, K::CodepageDescriptor, "descriptor, codepage 866", "codepage.866", "866", F::Both},
    {"CODEPAGE", 170, 5308, K::PowerPcModule, "PowerPC module", "nls_cp866.o", "866", F::One},
    {"CODEPAGE", 171, 588, K::UnicodeMap, "same bytes as 169", "unicode_map.866", "866", F::Both},
    {"CODEPAGE", 172, 1724, K::PowerPcModule, "PowerPC module", "nls_sjis.o", "932", F::One},
    {"CODEPAGE", 173, 82562, K::ArmModule, "ARM module", "nls_cp932.ko", "932", F::Two},
    {"CODEPAGE", 174, 105791, K::ArmModule, "ARM module", "nls_cp950.ko", "950", F::Two},
    {"CODEPAGE", 175, 128599, K::ArmModule, "ARM module", "nls_cp936.ko", "936", F::Two},
    {"CODEPAGE", 176, 151405, K::ArmModule, "ARM module", "nls_cp949.ko", "949", F::Two},
    {"CODEPAGE", 177, 6006, K::ArmModule, "ARM module", "nls_cp866.ko", "866", F::Two},
    {"CODEPAGE", 178, 6809, K::ArmModule, "ARM module", "nls_euc-jp.ko", "932", F::Two},
    {"CODEPAGE", 179, 5719, K::ArmModule, "ARM module", "nls_cp850.ko", "850", F::Two},
    {"CODEPAGE", 183, 6010, K::ArmModule, "ARM module", "nls_koi8-r.ko", "866", F::Two},
    {"CODEPAGE", 184, 131614, K::UnicodeMap, "unicode map \"KOI8-R\"", "unicode_map.KOI8-R", "866", F::Both},
    {"CODEPAGE", 185, 5312, K::PowerPcModule, "PowerPC module", "nls_koi8-r.o", "866", F::One},
    {"CODEPAGE", 187, 5783, K::ArmModule, "ARM module", "nls_cp850_12.ko", "850", F::Two},
    {"CODEPAGE", 188, 6070, K::ArmModule, "ARM module", "nls_cp866_12.ko", "866", F::Two},
    {"CODEPAGE", 189, 82995, K::ArmModule, "ARM module", "nls_cp932_12.ko", "932", F::Two},
    {"CODEPAGE", 190, 128695, K::ArmModule, "ARM module", "nls_cp936_12.ko", "936", F::Two},
    {"CODEPAGE", 191, 151501, K::ArmModule, "ARM module", "nls_cp949_12.ko", "949", F::Two},
    {"CODEPAGE", 192, 105887, K::ArmModule, "ARM module", "nls_cp950_12.ko", "950", F::Two},
    {"CODEPAGE", 193, 6921, K::ArmModule, "ARM module", "nls_euc-jp_12.ko", "932", F::Two},
    {"CODEPAGE", 194, 6074, K::ArmModule, "ARM module", "nls_koi8-r_12.ko", "866", F::Two},
    {"CODEPAGE", 222, 172, K::CodepageDescriptor, "descriptor, codepage 852", "", "852", F::NotInstalled},
    {"CODEPAGE", 223, 5783, K::ArmModule, "ARM module (2.6.12 build for codepage 852)", "", "852", F::NotInstalled},
    {"CODEPAGE", 224, 131614, K::UnicodeMap, "unicode map \"852\"", "", "852", F::NotInstalled},
    {"CODEPAGE", 225, 132, K::CodepageDescriptor, "descriptor, codepage 857", "", "857", F::NotInstalled},
    {"CODEPAGE", 226, 5496, K::ArmModule, "ARM module (2.6.12 build for codepage 857)", "", "857", F::NotInstalled},
    {"CODEPAGE", 228, 131614, K::UnicodeMap, "unicode map \"857\"", "", "857", F::NotInstalled},
}};

}  // namespace

std::span<const PayloadEntry> PayloadCatalogue() { return kCatalogue; }

const PayloadEntry* FindPayloadEntry(std::string_view typeName, int id) {
    const auto wanted = static_cast<std::uint16_t>(static_cast<unsigned>(id) & 0xFFFFu);
    for (const PayloadEntry& entry : kCatalogue)
        if (entry.id == wanted && EqualsIgnoringAsciiCase(entry.type, typeName)) return &entry;
    return nullptr;
}

std::string_view FamilyText(PayloadFamily family) {
    switch (family) {
        case PayloadFamily::Both: return "both";
        case PayloadFamily::One: return "1";
        case PayloadFamily::Two: return "2";
        case PayloadFamily::NotInstalled: return "not installed";
    }
    return "";
}

}  // namespace ofu
