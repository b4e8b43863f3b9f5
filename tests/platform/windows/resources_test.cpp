// The executable's own resources (test_resources.rc), found the way the payloads are.
#include "platform/windows/windows_resources.h"

#include <gtest/gtest.h>

#include <string>

namespace ofu::platform {
namespace {

std::string Text(std::span<const std::uint8_t> bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(WindowsResources, FindATypeByItsNameInAnyCaseAndTheIdByItsLowSixteenBits) {
    WindowsResources resources;
    for (const char* type : {"CODEPAGE", "Codepage", "codepage"})
        EXPECT_EQ(Text(resources.Find(type, 7)), std::string("CP7\x01\x02", 5)) << type;
    EXPECT_EQ(Text(resources.Find("bt", 9)), "bt-nine");
    EXPECT_EQ(Text(resources.Find("BT", 0x10000 + 9)), "bt-nine");
}

TEST(WindowsResources, FindNothingForAnotherTypeOrId) {
    WindowsResources resources;
    EXPECT_TRUE(resources.Find("BT", 7).empty());
    EXPECT_TRUE(resources.Find("CODEPAGE", 8).empty());
    EXPECT_TRUE(resources.Find("CODEPAGE", 0x10000).empty());
    EXPECT_TRUE(resources.Find(std::string_view("BT\0X", 4), 9).empty());
}

}  // namespace
}  // namespace ofu::platform
