#include <gtest/gtest.h>

#include <algorithm>

#include "request_bytes.h"
#include "sim_device.h"

namespace ofu::devsim {
namespace {

DeviceConfig Faulty(const FaultConfig& faults, std::uint8_t form = 8) {
    DeviceConfig c;
    c.name = "NAS9";
    c.ip = "10.77.1.90";
    c.deviceId = {1, 2, 3, 4, 5, 6};
    c.answerForm = form;
    c.faults = faults;
    return c;
}

std::vector<std::string> FaultsOf(const std::vector<SimAnswer>& answers) {
    std::vector<std::string> faults;
    for (const auto& a : answers) faults.push_back(a.fault.empty() ? "genuine" : a.fault);
    return faults;
}

TEST(Faults, NoiseComesBeforeTheGenuineAnswerAndDuplicatesAfterIt) {
    FaultConfig f;
    f.duplicates = 2;
    f.foreignClientAnswers = 1;
    f.otherTypeAnswers = 1;
    f.delayMs = 250;
    const auto answers = SimDevice(Faulty(f)).handle(test::SearchRequest());
    EXPECT_EQ(FaultsOf(answers),
              (std::vector<std::string>{"foreign_client", "other_type", "genuine", "duplicate", "duplicate"}));
    const auto& genuine = answers[2].bytes;
    EXPECT_EQ(answers[3].bytes, genuine);
    for (std::size_t i = 1; i <= 6; ++i) EXPECT_NE(answers[0].bytes[i], genuine[i]) << "ClientId byte " << i;
    EXPECT_TRUE(std::equal(genuine.begin() + 7, genuine.end(), answers[0].bytes.begin() + 7));
    EXPECT_EQ(answers[1].bytes[0], 4) << "a search answer's noise is a query answer";
    for (const auto& a : answers) EXPECT_EQ(a.delayMs, 250);
}

TEST(Faults, MalformedVariantsGoFirstOrReplaceTheAnswer) {
    FaultConfig f;
    f.malformed = {MalformedKind::kShort, MalformedKind::kNameBeyondDatagram};
    SimDevice device(Faulty(f, 2));
    auto answers = device.handle(test::SearchRequest());
    EXPECT_EQ(FaultsOf(answers),
              (std::vector<std::string>{"malformed:short", "malformed:name_beyond_datagram", "genuine"}));
    EXPECT_EQ(answers[0].bytes.size(), 58u);

    // Query answers only have a short variant.
    const auto key = device.key();
    answers = device.handle(test::QueryRequest(key, 3));
    EXPECT_EQ(FaultsOf(answers), (std::vector<std::string>{"malformed:short", "genuine"}));

    f.malformedReplacesAnswer = true;
    f.duplicates = 1;
    answers = SimDevice(Faulty(f, 2)).handle(test::SearchRequest());
    EXPECT_EQ(FaultsOf(answers),
              (std::vector<std::string>{"malformed:short", "malformed:name_beyond_datagram"}));
}

TEST(Faults, DropsFollowTheSeededProbabilityAndAreJournalled) {
    FaultConfig f;
    f.dropProbability = 1.0;
    Journal journal;
    SimDevice silent(Faulty(f), &journal);
    EXPECT_TRUE(silent.handle(test::SearchRequest()).empty());
    ASSERT_EQ(journal.entries().size(), 2u);
    EXPECT_EQ(journal.entries()[1]["dropped"], true);

    f.dropProbability = 0.5;
    f.seed = 42;
    auto pattern = [&](std::uint64_t seed) {
        f.seed = seed;
        SimDevice device(Faulty(f));
        std::string sent;
        for (int i = 0; i < 200; ++i) sent += device.handle(test::SearchRequest()).empty() ? '-' : 'x';
        return sent;
    };
    const std::string first = pattern(42);
    EXPECT_EQ(first, pattern(42)) << "the same seed gives the same losses";
    EXPECT_NE(first, pattern(43));
    const auto kept = std::count(first.begin(), first.end(), 'x');
    EXPECT_GT(kept, 70);
    EXPECT_LT(kept, 130);
}

}  // namespace
}  // namespace ofu::devsim
