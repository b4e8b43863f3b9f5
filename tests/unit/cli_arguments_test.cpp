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
    };
    for (const Case& c : cases) {
        const auto parsed = Parse(c.args);
        EXPECT_FALSE(parsed.request) << c.says;
        EXPECT_NE(parsed.error.find(c.says), std::string::npos) << parsed.error;
    }
}

}  // namespace
}  // namespace ofu::cli
