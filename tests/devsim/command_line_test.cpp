#include <gtest/gtest.h>

#include <vector>

#include "command_line.h"

namespace ofu::devsim {
namespace {

CommandLine Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "ofu-devsim");
    return ParseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(CommandLine, OptionsAndTheirErrors) {
    const auto full = Parse({"--config", "a.json", "--journal=j.jsonl", "--link", "dev2", "--ready-file", "r",
                             "--move-addresses"});
    EXPECT_EQ(full.error, "");
    EXPECT_TRUE(full.moveAddresses);
    EXPECT_FALSE(Parse({"--config", "a.json"}).moveAddresses);
    EXPECT_EQ(full.configPath, "a.json");
    EXPECT_EQ(full.journalPath, "j.jsonl");
    EXPECT_EQ(full.link, "dev2");
    EXPECT_EQ(full.readyFile, "r");

    EXPECT_EQ(Parse({}).error, "--config FILE is required");
    EXPECT_EQ(Parse({"--config"}).error, "--config needs a value");
    EXPECT_EQ(Parse({"--config", "a", "--link", "both"}).error, "--link must be dev1 or dev2, not \"both\"");
    EXPECT_EQ(Parse({"--config", "a", "--verbose"}).error, "unknown argument \"--verbose\"");
    EXPECT_EQ(Parse({"--configx=a"}).error, "unknown argument \"--configx=a\"");
    EXPECT_TRUE(Parse({"--version"}).version);
    EXPECT_TRUE(Parse({"--help"}).help);
}

}  // namespace
}  // namespace ofu::devsim
