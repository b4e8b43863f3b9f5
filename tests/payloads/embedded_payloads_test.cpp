// The payloads as a program that registered them finds them: every catalogue row at its size
// with the header of its kind, found through the program's resources, and left in the
// executable's read-only mapping.
#include "addons/payload_catalogue.h"
#include "platform/services.h"
#include "resources/payloads/embedded_payloads.h"
#include "tests/payloads/elf_view.h"
#include "tests/payloads/program_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

namespace ofu {

// How a failing row is named in gtest's messages.
void PrintTo(const PayloadEntry& row, std::ostream* out) {
    *out << row.type << " " << row.id << " (" << row.description << ", " << row.size << " bytes)";
}

namespace {

using Bytes = std::span<const std::uint8_t>;

Bytes Lookup(std::string_view type, int id) {
    platform::RegisterEmbeddedResources(EmbeddedPayloads());
    return platform::OwnResources().Find(type, id);
}

std::uint32_t Le(Bytes b, std::size_t at, std::size_t width) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < width; ++i) v |= std::uint32_t{b[at + i]} << (8 * i);
    return v;
}

// The value of `key` in a .modinfo (NUL-separated key=value texts), or "" when absent.
std::string ModinfoValue(Bytes modinfo, const std::string& key) {
    std::istringstream texts(std::string(modinfo.begin(), modinfo.end()));
    for (std::string text; std::getline(texts, text, '\0');)
        if (text.starts_with(key + "=")) return text.substr(key.size() + 1);
    return "";
}

void ExpectDescriptor(const PayloadEntry& row, Bytes b) {
    ASSERT_GE(b.size(), 8u);
    EXPECT_EQ(b[0], 0x01);
    EXPECT_EQ(b[1], 0x00);
    EXPECT_EQ(std::to_string(Le(b, 2, 2)), row.belongsTo);
    EXPECT_EQ(Le(b, 4, 4), b.size() - 8);
    EXPECT_EQ((b.size() - 8) % 4, 0u);
}

void ExpectUnicodeMap(const PayloadEntry& row, Bytes b) {
    const std::size_t open = row.description.find('"');
    if (open == std::string_view::npos) return;  // a copy of another payload: checked on its own
    const std::string name(row.description.substr(open + 1, row.description.find('"', open + 1) - open - 1));
    ASSERT_GT(b.size(), 2 + name.size());
    EXPECT_EQ(b[0], 0x01);
    EXPECT_EQ(b[1], 0x80);
    EXPECT_EQ(std::string(b.begin() + 2, b.begin() + 2 + static_cast<std::ptrdiff_t>(name.size())), name);
    EXPECT_EQ(b[2 + name.size()], 0);
}

void ExpectElf(const PayloadEntry& row, Bytes b) {
    const std::optional<test::ElfView> elf = test::ElfView::Parse(b);
    ASSERT_TRUE(elf) << "not a well-formed ELF32 file";
    const bool powerPc = row.kind == PayloadKind::PowerPcModule;
    EXPECT_EQ(elf->byteOrder, powerPc ? 2 : 1);
    EXPECT_EQ(elf->machine, powerPc ? 20 : 40);
    EXPECT_EQ(elf->type, row.kind == PayloadKind::ArmExecutable ? 2 : 1);
    if (row.kind == PayloadKind::ArmExecutable) return;
    const std::optional<test::ElfView::Part> modinfo = elf->Section(".modinfo");
    ASSERT_TRUE(modinfo);
    if (powerPc) {
        EXPECT_EQ(ModinfoValue(modinfo->bytes, "kernel_version"), "2.4.21");
        return;
    }
    const bool newer = row.deviceName.ends_with("_12.ko") || row.description.find("2.6.12") != std::string_view::npos;
    const std::string vermagic = ModinfoValue(modinfo->bytes, "vermagic");
    EXPECT_TRUE(vermagic.starts_with(newer ? "2.6.12 " : "2.6.6 ")) << vermagic;
}

class EveryPayload : public ::testing::TestWithParam<PayloadEntry> {};

TEST_P(EveryPayload, HasItsRowsSizeAndTheHeaderOfItsKind) {
    const PayloadEntry& row = GetParam();
    const Bytes bytes = Lookup(row.type, row.id);
    ASSERT_EQ(bytes.size(), row.size);
    switch (row.kind) {
        case PayloadKind::CodepageDescriptor: ExpectDescriptor(row, bytes); break;
        case PayloadKind::UnicodeMap: ExpectUnicodeMap(row, bytes); break;
        default: ExpectElf(row, bytes); break;
    }
}

std::string RowName(const ::testing::TestParamInfo<PayloadEntry>& info) {
    static constexpr const char* kKinds[] = {"Descriptor", "UnicodeMap", "PowerPcModule", "ArmModule", "ArmExecutable"};
    std::string type(info.param.type);
    std::transform(type.begin() + 1, type.end(), type.begin() + 1, [](unsigned char c) { return std::tolower(c); });
    return type + std::to_string(info.param.id) + kKinds[static_cast<int>(info.param.kind)];
}

INSTANTIATE_TEST_SUITE_P(Catalogue, EveryPayload,
                         ::testing::ValuesIn(PayloadCatalogue().begin(), PayloadCatalogue().end()), RowName);

TEST(EmbeddedPayloads, HoldExactlyTheCataloguesRows) {
    const auto carried = test::CarriedPayloads();
    ASSERT_EQ(carried.size(), PayloadCatalogue().size());
    for (const auto& [type, id] : carried) EXPECT_NE(FindPayloadEntry(type, id), nullptr) << type << " " << id;
}

TEST(EmbeddedPayloads, Codepage950DescriptorIsEightBytesBeginning0100B603) {
    const Bytes bytes = Lookup("CODEPAGE", 151);
    ASSERT_EQ(bytes.size(), 8u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 4),
              (std::vector<std::uint8_t>{0x01, 0x00, 0xB6, 0x03}));
}

TEST(EmbeddedPayloads, Unicode866MapIsTheSameBytesAsCodepage866Descriptor) {
    const Bytes map = Lookup("CODEPAGE", 171), descriptor = Lookup("CODEPAGE", 169);
    ASSERT_FALSE(map.empty());
    EXPECT_TRUE(std::ranges::equal(map, descriptor));
}

TEST(EmbeddedPayloads, BitTorrentClientIsDynamicallyLinkedAndItsSupervisorStatically) {
    const std::optional<test::ElfView> client = test::ElfView::Parse(Lookup("BT", 215));
    const std::optional<test::ElfView> supervisor = test::ElfView::Parse(Lookup("BT", 220));
    ASSERT_TRUE(client && supervisor);
    const auto interpreter = client->Segment(3 /* PT_INTERP */);
    ASSERT_TRUE(interpreter);
    const std::string interpreterName(interpreter->bytes.begin(), interpreter->bytes.end());
    EXPECT_NE(interpreterName.find("ld-uClibc.so"), std::string::npos) << interpreterName;
    EXPECT_TRUE(client->Segment(2 /* PT_DYNAMIC */));
    EXPECT_FALSE(supervisor->Segment(3));
    EXPECT_FALSE(supervisor->Segment(2));
}

TEST(EmbeddedPayloads, LookupIgnoresTheTypesCaseAndTheIdsHighBits) {
    const Bytes stored = Lookup("CODEPAGE", 151);
    ASSERT_FALSE(stored.empty());
    EXPECT_EQ(Lookup("Codepage", 151).data(), stored.data());
    EXPECT_EQ(Lookup("codepage", 0x10000 + 151).data(), stored.data());
    EXPECT_EQ(Lookup("bt", 215).size(), 6940408u);
    EXPECT_TRUE(Lookup("CODEPAGE", 999).empty());
    EXPECT_TRUE(Lookup("BT", 151).empty());
    EXPECT_TRUE(Lookup("CODEPAGES", 151).empty());
}

TEST(EmbeddedPayloads, StayInTheProgramsReadOnlyMappedFile) {
    EXPECT_TRUE(test::InReadOnlyImageOfTheProgram(Lookup("BT", 215)));
    EXPECT_TRUE(test::InReadOnlyImageOfTheProgram(Lookup("CODEPAGE", 151)));
}

}  // namespace
}  // namespace ofu
