#include "platform/linux/windows_path.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

namespace ofu::platform::linux_files {
namespace {

struct PathCase {
    const char* label;
    std::string path;
    PathKind kind;
    std::string mapped;  // DriveC: DriveCText; Unc: the smb:// address
};

// How a case appears in test listings: by its name, not as bytes.
void PrintTo(const PathCase& c, std::ostream* out) { *out << c.label; }

std::string Mapped(const WindowsPath& path) {
    switch (path.kind) {
        case PathKind::DriveC: return DriveCText(path);
        case PathKind::Unc: return linux_drives::SmbUrl(UncName(path), true);
        case PathKind::Invalid: break;
    }
    return "";
}

class WindowsPathClassification : public ::testing::TestWithParam<PathCase> {};

TEST_P(WindowsPathClassification, SendsEachPathToItsPlaceOrRefusesIt) {
    const WindowsPath path = ClassifyWindowsPath(GetParam().path);
    EXPECT_EQ(path.kind, GetParam().kind) << GetParam().path;
    EXPECT_EQ(Mapped(path), GetParam().mapped) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, WindowsPathClassification,
    ::testing::Values(
        PathCase{"DriveCFile", "C:\\bt\\bt", PathKind::DriveC, "C:\\bt\\bt"},
        PathCase{"LowerCaseDriveWithSlashes", "c:/bt/btdog", PathKind::DriveC, "C:\\bt\\btdog"},
        PathCase{"DriveCFolderWithTrailingBackslash", "C:\\bt\\", PathKind::DriveC, "C:\\bt"},
        PathCase{"DriveCRoot", "C:\\", PathKind::DriveC, "C:\\"},
        PathCase{"UncFile", "\\\\10.77.1.10\\HDD_a\\.codepages\\codepage.950", PathKind::Unc,
                 "smb://10.77.1.10/HDD_a/.codepages/codepage.950"},
        PathCase{"UncWithSlashesAfterTheServer", "\\\\10.77.1.10/HDD_a/bt", PathKind::Unc, "smb://10.77.1.10/HDD_a/bt"},
        PathCase{"UncShareRoot", "\\\\NAS1\\HDD_a\\", PathKind::Unc, "smb://NAS1/HDD_a"},
        PathCase{"UncPartsAreEncoded", "\\\\u@evil:139\\my share\\a?b#%", PathKind::Unc,
                 "smb://u%40evil%3A139/my%20share/a%3Fb%23%25"},
        PathCase{"OtherDrive", "D:\\bt\\bt", PathKind::Invalid, ""},
        PathCase{"DriveRelative", "C:bt", PathKind::Invalid, ""},
        PathCase{"Relative", "bt\\bt", PathKind::Invalid, ""},
        PathCase{"RootOfTheCurrentDrive", "\\bt", PathKind::Invalid, ""},
        PathCase{"UncWithSlashesOnly", "//NAS1/HDD_a/bt", PathKind::Invalid, ""},
        PathCase{"ServerWithoutShare", "\\\\NAS1\\", PathKind::Invalid, ""},
        PathCase{"EmptyServer", "\\\\\\HDD_a\\bt", PathKind::Invalid, ""},
        PathCase{"DeviceNamespace", "\\\\?\\C:\\bt", PathKind::Invalid, ""},
        PathCase{"ParentPartOnAShare", "\\\\NAS1\\HDD_a\\..\\HDD_b\\x", PathKind::Invalid, ""},
        PathCase{"ParentPartOnDriveC", "C:\\bt\\..\\..\\etc", PathKind::Invalid, ""},
        PathCase{"DotPart", "C:\\.\\bt", PathKind::Invalid, ""},
        PathCase{"DoubleSeparator", "\\\\NAS1\\HDD_a\\\\bt", PathKind::Invalid, ""},
        PathCase{"TwoTrailingSeparators", "C:\\bt\\\\", PathKind::Invalid, ""},
        PathCase{"NulByte", std::string("C:\\bt\0x", 7), PathKind::Invalid, ""},
        PathCase{"TooLong", "\\\\NAS1\\HDD_a\\" + std::string(kMaxWindowsPathLength, 'a'), PathKind::Invalid, ""},
        PathCase{"Empty", "", PathKind::Invalid, ""}),
    [](const ::testing::TestParamInfo<PathCase>& param) { return std::string(param.param.label); });

TEST(WindowsPath, KeepsTheServerShareAndPartsAsWrittenAndNotesATrailingSeparator) {
    const WindowsPath path = ClassifyWindowsPath("\\\\Nas1\\hdd_A/Sub\\File.TXT");
    EXPECT_EQ(path.server, "Nas1");
    EXPECT_EQ(path.share, "hdd_A");
    EXPECT_EQ(path.parts, (std::vector<std::string>{"Sub", "File.TXT"}));
    EXPECT_FALSE(path.trailingSeparator);
    EXPECT_TRUE(ClassifyWindowsPath("C:/bt/").trailingSeparator);
    EXPECT_TRUE(ClassifyWindowsPath("\\\\NAS1\\HDD_a").root());
}

}  // namespace
}  // namespace ofu::platform::linux_files
