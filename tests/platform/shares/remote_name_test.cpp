#include "platform/linux/remote_name.h"

#include <gtest/gtest.h>

#include <ostream>

namespace ofu::platform::linux_drives {
namespace {

struct NameCase {
    const char* label;
    std::string text;
    bool valid;
};

// How a case appears in test listings: by its name, not as bytes.
void PrintTo(const NameCase& c, std::ostream* out) { *out << c.label; }

class RemoteNameParsing : public ::testing::TestWithParam<NameCase> {};

TEST_P(RemoteNameParsing, AcceptsOnlyServerShareAndCleanFolders) {
    EXPECT_EQ(ParseRemoteName(GetParam().text).has_value(), GetParam().valid) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Names, RemoteNameParsing,
    ::testing::Values(NameCase{"ServerAndShare", "\\\\NAS1\\HDD_a", true},
                      NameCase{"AddressShareAndFolders", "\\\\10.77.1.2\\Volume_1\\backup\\2024", true},
                      NameCase{"TrailingBackslash", "\\\\NAS1\\HDD_a\\", true},
                      NameCase{"Empty", "", false},
                      NameCase{"NoLeadingBackslashes", "NAS1\\HDD_a", false},
                      NameCase{"ServerOnly", "\\\\NAS1", false},
                      NameCase{"EmptyShare", "\\\\NAS1\\", false},
                      NameCase{"EmptyServer", "\\\\\\HDD_a", false},
                      NameCase{"SlashInServer", "\\\\NAS/1\\HDD_a", false},
                      NameCase{"ForwardSlashes", "//NAS1/HDD_a", false},
                      NameCase{"LineBreakInShare", "\\\\NAS1\\HDD\na", false},
                      NameCase{"TabInServer", "\\\\NAS\t1\\HDD_a", false},
                      NameCase{"EmptyFolder", "\\\\NAS1\\HDD_a\\\\x", false},
                      NameCase{"ParentFolder", "\\\\NAS1\\HDD_a\\..\\x", false},
                      NameCase{"TooLong", "\\\\NAS1\\" + std::string(kMaxRemoteNameLength, 'a'), false}),
    [](const ::testing::TestParamInfo<NameCase>& param) { return std::string(param.param.label); });

TEST(RemoteName, SplitsIntoServerShareAndFoldersKeepingCase) {
    const auto name = ParseRemoteName("\\\\Nas1\\HDD_a\\Backup\\2024");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->server, "Nas1");
    EXPECT_EQ(name->share, "HDD_a");
    EXPECT_EQ(name->folders, (std::vector<std::string>{"Backup", "2024"}));
}

TEST(RemoteName, SameShareIgnoresLetterCaseAndFolders) {
    const auto a = ParseRemoteName("\\\\NAS1\\HDD_a");
    EXPECT_TRUE(SameShare(*a, *ParseRemoteName("\\\\nas1\\hdd_A\\backup")));
    EXPECT_FALSE(SameShare(*a, *ParseRemoteName("\\\\NAS1\\HDD_b")));
    EXPECT_FALSE(SameShare(*a, *ParseRemoteName("\\\\NAS2\\HDD_a")));
}

TEST(RemoteName, SmbUrlEncodesEveryCharacterThatCouldChangeItsMeaning) {
    // An "@" would make the server part a user name, ":" a port, "%" and "#" escapes/fragments.
    const auto name = ParseRemoteName("\\\\admin@evil:139\\my share%#\\a?b");
    ASSERT_TRUE(name);
    EXPECT_EQ(SmbUrl(*name, false), "smb://admin%40evil%3A139/my%20share%25%23");
    EXPECT_EQ(SmbUrl(*name, true), "smb://admin%40evil%3A139/my%20share%25%23/a%3Fb");
    EXPECT_EQ(SmbUrl(*ParseRemoteName("\\\\NAS1\\HDD_a"), true), "smb://NAS1/HDD_a");
}

TEST(RemoteName, LocalNamesAreExactlyALetterAndAColon) {
    EXPECT_EQ(LocalNameLetterOf("z:"), 'Z');
    EXPECT_EQ(LocalNameLetterOf("Q:"), 'Q');
    EXPECT_EQ(LocalNameLetterOf("Q:\\"), 0);
    EXPECT_EQ(LocalNameLetterOf("1:"), 0);
    EXPECT_EQ(LocalNameLetterOf(""), 0);
    EXPECT_EQ(DriveLetterOf("q:/"), 'Q');  // a drive root, as GetDriveType is given it
}

}  // namespace
}  // namespace ofu::platform::linux_drives
