#include <gtest/gtest.h>

#include "answer_schedule.h"

namespace ofu::devsim {
namespace {

TEST(AnswerSchedule, ReleasesAnswersByDueTimeAndKeepsArrivalOrderForTies) {
    AnswerSchedule schedule;
    const SteadyTime start{};
    auto add = [&](int ms, std::size_t device) {
        ScheduledAnswer a;
        a.due = start + std::chrono::milliseconds(ms);
        a.device = device;
        schedule.add(a);
    };
    add(300, 1);
    add(0, 2);
    add(100, 3);
    add(100, 4);
    EXPECT_EQ(schedule.nextDue(), start);
    auto due = schedule.takeDue(start + std::chrono::milliseconds(100));
    ASSERT_EQ(due.size(), 3u);
    EXPECT_EQ(due[0].device, 2u);
    EXPECT_EQ(due[1].device, 3u);
    EXPECT_EQ(due[2].device, 4u);
    EXPECT_EQ(schedule.nextDue(), start + std::chrono::milliseconds(300));
    EXPECT_TRUE(schedule.takeDue(start + std::chrono::milliseconds(299)).empty());
    EXPECT_EQ(schedule.takeDue(start + std::chrono::milliseconds(300)).size(), 1u);
    EXPECT_FALSE(schedule.nextDue());
}

}  // namespace
}  // namespace ofu::devsim
