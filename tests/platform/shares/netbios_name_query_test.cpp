// The name query datagrams alone: built and parsed, never sent.
#include "platform/linux/netbios_name_query.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ofu::platform::linux_net {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint16_t kId = 0x1234;

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes Text(std::string_view text) { return Bytes(text.begin(), text.end()); }

// NAS1<20> first-level encoded by hand: N A S 1 are 4E 41 53 31, then twelve 20s (eleven
// blanks and the suffix).
constexpr std::string_view kNas1Encoded = "EOEBFDDBCACACACACACACACACACACACA";

Bytes Nas1Name() { return Concat({{0x20}, Text(kNas1Encoded), {0x00}}); }

// Another name as it travels, taken from the query the code builds for it.
Bytes NameOf(std::string_view name, std::uint8_t suffix) {
    const Bytes query = BuildNameQuery(name, suffix, 0);
    return Bytes(query.begin() + 12, query.end() - 4);
}

Bytes Header(std::uint16_t id, std::uint16_t flags, std::uint8_t questions, std::uint8_t answers) {
    return {static_cast<std::uint8_t>(id >> 8), static_cast<std::uint8_t>(id & 0xFF),
            static_cast<std::uint8_t>(flags >> 8), static_cast<std::uint8_t>(flags & 0xFF),
            0, questions, 0, answers, 0, 0, 0, 0};
}

// An NB answer record after its name: class IN, a time to live, and the data's length.
Bytes NbRecordTail(const Bytes& data) {
    return Concat({{0x00, 0x20, 0x00, 0x01, 0x00, 0x04, 0x93, 0xE0, 0x00, static_cast<std::uint8_t>(data.size())}, data});
}

const Bytes kUnique10_77_9_2{0x00, 0x00, 10, 77, 9, 2};
const Bytes kGroup10_77_9_3{0x80, 0x00, 10, 77, 9, 3};

// What a file server sends back: response, authoritative, recursion desired; one answer.
Bytes Answer(const Bytes& data, std::uint16_t id = kId, std::uint16_t flags = 0x8500, const Bytes& name = Nas1Name()) {
    return Concat({Header(id, flags, 0, 1), name, NbRecordTail(data)});
}

std::string Parse(const Bytes& datagram, std::string_view name = "NAS1") {
    return ParseNameQueryResponse(datagram, name, kFileServerSuffix, kId);
}

TEST(NetbiosNameQuery, TheQueryIsTheUpperCasedPaddedEncodedNameAsOneBroadcastQuestion) {
    const Bytes expected = Concat({{0x12, 0x34, 0x01, 0x10, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
                                   {0x20}, Text(kNas1Encoded), {0x00},
                                   {0x00, 0x20, 0x00, 0x01}});
    EXPECT_EQ(BuildNameQuery("nas1", 0x20, 0x1234), expected);

    // Fifteen characters take the whole name with no blank; another suffix changes the last pair.
    const Bytes full = BuildNameQuery("ABCDEFGHIJKLMNO", 0x00, 0xBEEF);
    ASSERT_EQ(full.size(), 50u);
    EXPECT_EQ(Bytes(full.begin() + 13, full.begin() + 45),
              Text("EBECEDEEEFEGEHEIEJEKELEMENEOEPAA"));
    EXPECT_EQ(full[0], 0xBE);
    EXPECT_EQ(full[1], 0xEF);
}

TEST(NetbiosNameQuery, OnlyNamesANameQueryCanCarryAreAcceptedOrBuilt) {
    for (std::string_view good : {"NAS1", "x", "MY NAS", "ABCDEFGHIJKLMNO", "nas-1_a$"})
        EXPECT_TRUE(IsNetbiosName(good)) << good;
    for (std::string_view bad : {"", "ABCDEFGHIJKLMNOP", "nas.local", "10.77.9.2", "*", " NAS", "NAS ", "A\\B",
                                 "A/B", "A:B", "A?B", "A\"B", "A<B", "A>B", "A|B", "A\tB", "NA\xC3\x84S"}) {
        EXPECT_FALSE(IsNetbiosName(bad)) << bad;
        EXPECT_TRUE(BuildNameQuery(bad, 0x20, 1).empty()) << bad;
    }
    EXPECT_FALSE(IsNetbiosName(std::string_view("NA\0S", 4)));
}

TEST(NetbiosNameQuery, APositiveAnswerGivesTheFirstUniqueAddressWhetherItsNameIsWrittenOutOrPointedTo) {
    EXPECT_EQ(Parse(Answer(kUnique10_77_9_2)), "10.77.9.2");
    // The name asked for is matched however its letters were cased.
    EXPECT_EQ(Parse(Answer(kUnique10_77_9_2), "nas1"), "10.77.9.2");
    // A group entry before the host's own is passed over.
    EXPECT_EQ(Parse(Answer(Concat({kGroup10_77_9_3, kUnique10_77_9_2}))), "10.77.9.2");

    // The question repeated, the answer's name a pointer to it (offset 12).
    const Bytes compressed = Concat({Header(kId, 0x8500, 1, 1), Nas1Name(), {0x00, 0x20, 0x00, 0x01},
                                     {0xC0, 0x0C}, NbRecordTail(kUnique10_77_9_2)});
    EXPECT_EQ(Parse(compressed), "10.77.9.2");
    // A record for another name before ours is stepped over.
    const Bytes twoRecords = Concat({Header(kId, 0x8500, 0, 2), NameOf("NAS2", 0x20), NbRecordTail({0, 0, 10, 77, 9, 7}),
                                     Nas1Name(), NbRecordTail(kUnique10_77_9_2)});
    EXPECT_EQ(Parse(twoRecords), "10.77.9.2");

    // Cut short anywhere, no answer is read from what is left.
    for (const Bytes& whole : {Answer(kUnique10_77_9_2), compressed, twoRecords})
        for (std::size_t length = 0; length < whole.size(); ++length)
            EXPECT_EQ(Parse(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length))), "") << length;
}

TEST(NetbiosNameQuery, AnAnswerForAnotherNameOrTransactionIsIgnored) {
    EXPECT_EQ(Parse(Answer(kUnique10_77_9_2, 0x4321)), "") << "another transaction";
    EXPECT_EQ(Parse(Answer(kUnique10_77_9_2, kId, 0x0110)), "") << "our own query, not a response";
    EXPECT_EQ(Parse(Answer(kUnique10_77_9_2, kId, 0x8503)), "") << "negative response";
    EXPECT_EQ(Parse(Answer(kUnique10_77_9_2, kId, 0xA800)), "") << "a registration, not a query";
    EXPECT_EQ(Parse(Answer(kUnique10_77_9_2, kId, 0x8500, NameOf("NAS2", 0x20))), "") << "another name";
    EXPECT_EQ(Parse(Answer(kUnique10_77_9_2, kId, 0x8500, NameOf("NAS1", 0x00))), "") << "another suffix";
    EXPECT_EQ(Parse(Answer(kGroup10_77_9_3)), "") << "group entries only";
    EXPECT_EQ(Parse(Answer({})), "") << "no entries";
    EXPECT_EQ(Parse(Answer({0x00, 0x00, 0, 0, 0, 0})), "") << "unset address";
    EXPECT_EQ(Parse(Answer({0x00, 0x00, 255, 255, 255, 255})), "") << "broadcast address";
    EXPECT_EQ(Parse(Concat({Answer(kUnique10_77_9_2), {0x00}})), "10.77.9.2") << "trailing byte after the record";

    // RDLENGTH 7: one entry and a stray byte.
    EXPECT_EQ(Parse(Answer(Concat({kUnique10_77_9_2, {0x00}}))), "") << "RDLENGTH not a multiple of 6";
    // Type NBSTAT instead of NB.
    Bytes nodeStatus = Answer(kUnique10_77_9_2);
    nodeStatus[12 + 34 + 1] = 0x21;
    EXPECT_EQ(Parse(nodeStatus), "") << "type NBSTAT";

    // A pointer to itself or forward would never end; a scope makes it another name.
    const Bytes selfPointer = Concat({Header(kId, 0x8500, 0, 1), {0xC0, 0x0C}, NbRecordTail(kUnique10_77_9_2)});
    EXPECT_EQ(Parse(selfPointer), "") << "pointer loop";
    Bytes scoped = Nas1Name();
    scoped.insert(scoped.end() - 1, {0x03, 'L', 'A', 'N'});
    EXPECT_EQ(Parse(Answer(kUnique10_77_9_2, kId, 0x8500, scoped)), "") << "a scope";
}

}  // namespace
}  // namespace ofu::platform::linux_net
