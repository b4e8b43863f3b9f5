#include "access/drive_table.h"
#include "access/windows_version.h"
#include "tests/app/app_fixture.h"

namespace ofu {
namespace {

using namespace ofu::testing;
using platform::DriveType;

class DriveLetters : public AppTest {
protected:
    std::vector<std::string> Rows(ui::DialogSurface& s) {
        std::vector<std::string> rows;
        for (int k = 0; k < s.ComboCount(ids::kDriveLetterBox); ++k) rows.push_back(s.GetComboItemText(ids::kDriveLetterBox, k));
        return rows;
    }
};

TEST_F(DriveLetters, OffersFreeAndConnectedLettersZFirstAndSelectsTheFirstFreeOne) {
    platform.drives.types = {{'C', DriveType::Fixed}, {'D', DriveType::CdRom}, {'E', DriveType::Removable},
                             {'A', DriveType::NoRootDir}, {'B', DriveType::NoRootDir}};
    platform.drives.connections = {{'Z', "\\\\NAS1\\Volume_1"}};
    auto window = ui->Open(main);
    ui::DialogSurface& s = window.Surface();
    std::vector<std::string> expected = {"Z: \\\\NAS1\\Volume_1"};
    for (char letter = 'Y'; letter >= 'F'; --letter) expected.push_back(std::string(1, letter) + ":");
    EXPECT_EQ(Rows(s), expected);
    EXPECT_EQ(s.GetCurSel(ids::kDriveLetterBox), 1);  // Y:
    EXPECT_EQ(DriveTable[0].server.view(), "NAS1");
    EXPECT_EQ(DriveTable[0].share.view(), "Volume_1");
    EXPECT_EQ(DriveTable[25].drive.view(), "A:");
}

TEST_F(DriveLetters, EveryLetterLocalOrConnectedLeavesNoSelection) {
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        if (letter % 2 == 0)
            platform.drives.types[letter] = DriveType::Fixed;
        else
            platform.drives.connections[letter] = std::string("\\\\NAS1\\V") + letter;
    }
    auto window = ui->Open(main);
    EXPECT_EQ(window.Surface().GetCurSel(ids::kDriveLetterBox), -1);
    EXPECT_EQ(window.Surface().ComboCount(ids::kDriveLetterBox), 12);
}

TEST_F(DriveLetters, RemoteNamesAreSplitAtTheFirstBackslashAfterTheHost) {
    platform.drives.connections = {{'Y', "\\\\NAS1\\Volume_1\\Music"}, {'X', "\\\\NOSHARE"},
                                   {'W', "\\\\" + std::string(300, 'H') + "\\S"}};
    ReadDriveTable();
    EXPECT_EQ(DriveTable[1].server.view(), "NAS1");
    EXPECT_EQ(DriveTable[1].share.view(), "Volume_1\\Music");
    EXPECT_TRUE(DriveTable[2].server.empty());  // no share part: left as it was (empty)
    EXPECT_TRUE(DriveTable[3].server.empty());  // too long for the buffer: not connected
}

TEST(WindowsVersionName, NamesEachVersionOfTheTable) {
    struct Case { platform::OsVersion version; const char* name; };
    const Case cases[] = {
        {{1, 4, 0, 950}, "Windows 95"},        {{1, 4, 0, 949}, "unknown Windows version"},
        {{1, 4, 0, 1080}, "Windows 95 SP1"},   {{1, 4, 0, 1081}, "Windows 95 OSR2"},
        {{1, 4, 10, 1998}, "Windows 98"},      {{1, 4, 10, 1997}, "unknown Windows version"},
        {{1, 4, 10, 2182}, "Windows 98 SP1"},  {{1, 4, 10, 2183 | 0x04000000}, "Windows 98 SE"},
        {{1, 4, 90, 0}, "Windows ME"},         {{2, 3, 51, 0}, "Windows NT 3.51"},
        {{2, 4, 0, 1381}, "Windows NT 4"},     {{2, 5, 0, 2195}, "Windows 2000"},
        {{2, 5, 1, 2600}, "Windows XP"},       {{2, 5, 2, 3790}, "unknown Windows version"},
        {{2, 6, 1, 7601}, "Vista"},            {{2, 10, 0, 19045}, "unknown Windows version"},
        {{3, 9, 9, 9}, "Windows CE"},          {{0, 4, 0, 950}, "unknown Windows version"},
    };
    for (const Case& c : cases) EXPECT_EQ(WindowsVersionName(c.version), c.name) << c.name;

    FakePlatform platform;
    std::string name = "stale";
    EXPECT_FALSE(GetWindowsVersionName(name));  // no Windows version on this system
    EXPECT_EQ(name, "unknown Windows version");
    platform.system.version = platform::OsVersion{2, 5, 1, 2600};
    EXPECT_TRUE(GetWindowsVersionName(name));
    EXPECT_EQ(name, "Windows XP");
}

}  // namespace
}  // namespace ofu
