// Answer sequences of the queries the add-on installation repeats, and the silence of the
// restart that follows a codepage or add-on set request, on virtual time.
#include <gtest/gtest.h>

#include "request_bytes.h"
#include "sim_device.h"

namespace ofu::devsim {
namespace {

using namespace std::chrono_literals;
using test::QueryRequest;
using test::SearchRequest;
using test::SetRequest;

DeviceConfig Device() {
    DeviceConfig c;
    c.name = "NAS1";
    c.ip = "10.77.1.10";
    c.deviceId = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
    c.volumes = {"HDD_a"};
    return c;
}

const DeviceKeyBytes kKey = MakeDeviceKey({0x00, 0x11, 0x22, 0x33, 0x44, 0x55}, {10, 77, 1, 10});

// The value of the one answer, or "-" when there is none.
std::string Answer(SimDevice& device, std::uint8_t subcode, const DeviceKeyBytes& key = kKey) {
    const auto answers = device.handle(QueryRequest(key, subcode));
    if (answers.empty()) return "-";
    return std::string(answers[0].bytes.begin() + 28, answers[0].bytes.end());
}

std::vector<nlohmann::json> Lines(const Journal& journal, const std::string& key, const std::string& value) {
    std::vector<nlohmann::json> found;
    for (const auto& entry : journal.entries())
        if (entry.value(key, "") == value) found.push_back(entry);
    return found;
}

struct SequencedQuery {
    const char* name;
    std::uint8_t subcode;
    AnswerSequence DeviceConfig::*sequence;
    std::string DeviceConfig::*single;
};

void PrintTo(const SequencedQuery& query, std::ostream* out) { *out << query.name; }

class AnswerSequences : public ::testing::TestWithParam<SequencedQuery> {};

TEST_P(AnswerSequences, NullEntriesGoUnansweredAndTheLastEntryAnswersEveryLaterQuery) {
    const SequencedQuery& query = GetParam();
    DeviceConfig config = Device();
    config.*query.sequence = {std::nullopt, "A", std::nullopt, "B"};
    config.*query.single = "single";
    Journal journal;
    SimDevice device(config, &journal);

    std::vector<std::string> values;
    for (int i = 0; i < 6; ++i) values.push_back(Answer(device, query.subcode));
    EXPECT_EQ(values, (std::vector<std::string>{"-", "A", "-", "B", "B", "B"}));
    const auto& unanswered = journal.entries()[0];
    EXPECT_EQ(unanswered["status"], "ignored");
    EXPECT_EQ(unanswered["sequence_index"], 0);
    EXPECT_NE(unanswered["reason"].get<std::string>().find("[0] is null"), std::string::npos);
    const auto in = Lines(journal, "dir", "in");
    EXPECT_EQ(in.back()["sequence_index"], 3);

    // Other queries neither use nor advance the sequence.
    SimDevice other(config);
    EXPECT_EQ(Answer(other, wire::kQueryVolumes), "HDD_a");
    EXPECT_EQ(Answer(other, query.subcode), "-");
    EXPECT_EQ(Answer(other, query.subcode), "A");
}

INSTANTIATE_TEST_SUITE_P(
    EachSequencedQuery, AnswerSequences,
    ::testing::Values(
        SequencedQuery{"IdeOk", wire::kQueryIdeOk, &DeviceConfig::ideOkSequence, &DeviceConfig::ideOk},
        SequencedQuery{"Codepage", wire::kQueryCodepage, &DeviceConfig::codepageSequence, &DeviceConfig::codepage},
        SequencedQuery{"BtFirmware", wire::kQueryBtFirmware, &DeviceConfig::btFirmwareSequence,
                       &DeviceConfig::btFirmware},
        SequencedQuery{"ShareName", wire::kQueryShareName, &DeviceConfig::shareNameSequence,
                       &DeviceConfig::shareName}),
    [](const ::testing::TestParamInfo<SequencedQuery>& query) { return std::string(query.param.name); });

TEST(RestartSilence, AfterACodepageSetTheDeviceIsSilentThenAnswersWithTheNewCodepage) {
    DeviceConfig config = Device();
    config.codepageSequence = {"437"};
    config.restartSilenceMs = 3000;
    VirtualClock clock;
    Journal journal;
    SimDevice device(config, &journal, &clock);

    ASSERT_EQ(device.handle(SetRequest(kKey, wire::kSetCodepage, "852")).size(), 1u) << "answered before it restarts";
    ASSERT_EQ(journal.entries().size(), 3u) << "in, out, then the note";
    const auto& begin = journal.entries()[2];
    EXPECT_EQ(begin["event"], "restart_begin");
    EXPECT_EQ(begin["sub"], 8);
    EXPECT_EQ(begin["silence_ms"], 3000);
    EXPECT_EQ(device.nextEventDue(), SimTime{} + 3000ms);

    EXPECT_TRUE(device.handle(SearchRequest()).empty());
    clock.advance(2999ms);
    EXPECT_EQ(Answer(device, wire::kQueryCodepage), "-");
    EXPECT_TRUE(device.handle(SetRequest(kKey, wire::kSetCodepage, "950")).empty()) << "a set is not heard either";
    EXPECT_EQ(Answer(device, wire::kQueryCodepage, MakeDeviceKey(config.deviceId, {10, 77, 1, 99})), "-");
    EXPECT_EQ(Lines(journal, "status", "not_for_me").size(), 1u) << "another device's request stays that";
    EXPECT_EQ(Lines(journal, "status", "restarting").size(), 3u);
    EXPECT_EQ(Lines(journal, "status", "restarting")[2]["payload"], "950");
    EXPECT_TRUE(Lines(journal, "event", "restart_end").empty());

    clock.advance(1ms);
    EXPECT_EQ(device.handle(SearchRequest()).size(), 1u);
    const auto end = Lines(journal, "event", "restart_end");
    ASSERT_EQ(end.size(), 1u);
    EXPECT_EQ(end[0]["ignored_requests"], 3);
    EXPECT_EQ(Answer(device, wire::kQueryCodepage), "852") << "the set codepage, not the sequence's";
    EXPECT_FALSE(device.nextEventDue());
}

TEST(RestartSilence, TheAddOnNameRestartsTooAndTickJournalsTheEndWithoutARequest) {
    DeviceConfig config = Device();
    config.restartSilenceMs = 5000;
    VirtualClock clock;
    Journal journal;
    SimDevice device(config, &journal, &clock);
    EXPECT_EQ(device.handle(SetRequest(kKey, wire::kSetAccessMode, "rw")).size(), 1u);
    EXPECT_FALSE(device.restarting()) << "only the codepage and the add-on name restart it";
    EXPECT_EQ(device.handle(SetRequest(kKey, wire::kSetAddOnName, "BT")).size(), 1u);
    EXPECT_TRUE(device.restarting());
    clock.advance(5000ms);
    device.tick();
    ASSERT_EQ(journal.entries().back()["event"], "restart_end");
    EXPECT_EQ(journal.entries().back()["ignored_requests"], 0);
    EXPECT_EQ(Answer(device, wire::kQueryCodepage), "850");
}

}  // namespace
}  // namespace ofu::devsim
