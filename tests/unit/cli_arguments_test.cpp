#include "tools/ofu/cli_arguments.h"

#include <gtest/gtest.h>

#include <vector>

namespace ofu::cli {
namespace {

ParsedCommandLine Parse(std::vector<std::string_view> args) { return ParseCommandLine(args); }

TEST(CliArguments, AcceptsEachCommandWithItsOptions) {
    auto parsed = Parse({"query", "10.77.1.10", "bt-firmware", "--json"});
    ASSERT_TRUE(parsed.request) << parsed.error;
    EXPECT_EQ(parsed.request->verb, Verb::Query);
    EXPECT_EQ(parsed.request->item, "bt-firmware");
    EXPECT_TRUE(parsed.request->json);

    parsed = Parse({"set-static", "10.77.1.10", "10.77.1.77", "--netmask", "255.255.255.0", "--gateway",
                    "10.77.1.1", "--password-stdin"});
    ASSERT_TRUE(parsed.request) << parsed.error;
    EXPECT_EQ(parsed.request->newAddress, "10.77.1.77");
    EXPECT_EQ(parsed.request->netmask, "255.255.255.0");
    EXPECT_EQ(parsed.request->gateway, "10.77.1.1");
    EXPECT_TRUE(parsed.request->passwordFromStdin);

    parsed = Parse({"login", "10.77.1.10", "--user", "guest"});
    ASSERT_TRUE(parsed.request) << parsed.error;
    EXPECT_EQ(parsed.request->user, "guest");
    EXPECT_EQ(Parse({"set", "10.77.1.10", "codepage", "850"}).request->value, "850");
    EXPECT_EQ(Parse({"discover", "--version"}).request->verb, Verb::Version);
    EXPECT_EQ(Parse({"--help"}).request->verb, Verb::Help);

    parsed = Parse({"map", "10.77.1.10", "HDD_a", "z", "--user", "bob", "--password-stdin", "--force"});
    ASSERT_TRUE(parsed.request) << parsed.error;
    EXPECT_EQ(parsed.request->volume, "HDD_a");
    EXPECT_EQ(parsed.request->drive, "Z:");
    EXPECT_TRUE(parsed.request->force);
    EXPECT_EQ(Parse({"unmap", "y:"}).request->drive, "Y:");
    EXPECT_TRUE(Parse({"web", "10.77.1.10", "--print"}).request->printOnly);
}

TEST(CliArguments, RejectsMalformedInputNamingWhatIsWrong) {
    struct Case { std::vector<std::string_view> args; const char* says; };
    const Case cases[] = {
        {{}, "no command"},
        {{"scan"}, "unknown command 'scan'"},
        {{"discover", "extra"}, "unexpected argument 'extra'"},
        {{"query", "10.77.1.10"}, "needs more arguments"},
        {{"query", "10.77.1.10", "serial"}, "unknown query item 'serial'"},
        {{"query", "NAS1", "ssl"}, "device address 'NAS1'"},
        {{"query", "10.77.1.010", "ssl"}, "device address '10.77.1.010'"},
        {{"query", "10.77.1.256", "ssl"}, "device address"},
        {{"set", "10.77.1.10", "hostname", "x"}, "unknown setting 'hostname'"},
        {{"set-static", "10.77.1.10", "10.77.1.77"}, "needs --netmask"},
        {{"set-static", "10.77.1.10", "10.77.1.300", "--netmask", "255.255.255.0"}, "new address"},
        {{"set-static", "10.77.1.10", "10.77.1.7", "--netmask", "255.0.255.0"}, "not a contiguous"},
        {{"set-static", "10.77.1.10", "10.77.1.7", "--netmask", "0.0.0.0"}, "not a contiguous"},
        {{"set-static", "10.77.1.10", "10.77.1.7", "--netmask", "255.255.255.0", "--gateway", "gw"}, "gateway 'gw'"},
        {{"login", "10.77.1.10", "--user"}, "--user needs a value"},
        {{"login", "10.77.1.10", "--user", "a-name-of-seventeen"}, "at most 16"},
        {{"discover", "--password-stdin"}, "--password-stdin applies"},
        {{"query", "10.77.1.10", "ssl", "--netmask", "255.0.0.0"}, "--netmask and --gateway apply"},
        {{"login", "10.77.1.10", "--json"}, "--json applies"},
        {{"discover", "--jsn"}, "unknown option --jsn"},
        {{"map", "10.77.1.10", "HDD_a", "ZZ"}, "drive 'ZZ' is not a drive letter"},
        {{"map", "10.77.1.10", "HDD_a", "1:"}, "drive '1:'"},
        {{"map", "10.77.1.10", "HDD_a", "B:"}, "drive B: is never used"},
        {{"map", "10.77.1.10", "a\\b", "Z:"}, "may not hold slashes"},
        {{"map", "10.77.1.10", "", "Z:"}, "volume name is empty"},
        {{"map", "nas1", "HDD_a", "Z:"}, "device address 'nas1'"},
        {{"map", "10.77.1.10", "HDD_a", "Z:", "--password-stdin"}, "only for the user given with --user"},
        {{"unmap", "Z:\\"}, "drive 'Z:\\'"},
        {{"unmap", "Z:", "--force"}, "--force applies to map only"},
        {{"web", "10.77.1.10", "--user", "bob"}, "--user applies to login and map only"},
        {{"drives", "--print"}, "--print applies to web only"},
    };
    for (const Case& c : cases) {
        const auto parsed = Parse(c.args);
        EXPECT_FALSE(parsed.request) << c.says;
        EXPECT_NE(parsed.error.find(c.says), std::string::npos) << parsed.error;
    }
}

}  // namespace
}  // namespace ofu::cli
