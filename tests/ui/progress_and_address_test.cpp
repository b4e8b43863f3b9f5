// Control behaviour that handlers rely on: progress stepping, IPv4 fields, sorted lists, rows.
#include <gtest/gtest.h>

#include "test_dialogs.h"
#include "ui/combo_order.h"
#include "ui/progress_state.h"
#include "ui/testing/test_backend.h"

namespace ofu::ui {
namespace {

TEST(ProgressStateTest, StepStartsOverPastTheEndOfTheRange) {
    ProgressState bar;
    EXPECT_EQ(bar.Pos(), 0);
    EXPECT_EQ(bar.Step(), 10);
    bar.SetPos(80);
    EXPECT_EQ(bar.SetStep(40), 10);
    EXPECT_EQ(bar.StepIt(), 80);
    EXPECT_EQ(bar.Pos(), 20) << "120 carries over into the next round";

    bar.SetRange(1, 100);
    bar.SetStep(1);
    bar.SetPos(1);
    for (int i = 0; i < 99; ++i) bar.StepIt();
    EXPECT_EQ(bar.Pos(), 100) << "99 steps fill a 1..100 bar";
    bar.StepIt();
    EXPECT_EQ(bar.Pos(), 2);

    bar.SetStep(-30);
    bar.SetPos(10);
    bar.StepIt();
    EXPECT_EQ(bar.Pos(), 79) << "a negative step wraps from the low end to the high end";

    EXPECT_EQ(bar.SetPos(500), 79);
    EXPECT_EQ(bar.Pos(), 100);
    bar.SetRange(50, 60);
    EXPECT_EQ(bar.Pos(), 60);
    bar.SetRange(5, 5);
    bar.StepIt();
    EXPECT_EQ(bar.Pos(), 5) << "an empty range does not divide by zero";
}

TEST(ComboOrderTest, SortedInsertIgnoresCaseAndKeepsEqualItemsInArrivalOrder) {
    std::vector<std::string> items = {"Disable", "Enable"};
    EXPECT_EQ(SortedInsertIndex(items, "apple"), 0);
    EXPECT_EQ(SortedInsertIndex(items, "disable"), 1);
    EXPECT_EQ(SortedInsertIndex(items, "zeta"), 2);
    EXPECT_EQ(SortedInsertIndex({}, "x"), 0);
}

class ControlModelTest : public ::testing::Test {
protected:
    void TearDown() override { FreeBackend(); }
    TestBackend& ui = InstallTestBackend();
    testdialogs::RecordingDialog main{kMainDialogId};
    TestDialog window = ui.Open(main);
    DialogSurface& surface = main.Surface();
};

TEST_F(ControlModelTest, AddressControlCountsBlankFieldsAndClampsTyping) {
    EXPECT_TRUE(surface.IsAddressBlank(1006));
    EXPECT_EQ(surface.GetAddress(1006).nonBlank, 0);

    window.TypeAddress(1006, {"10", "", "", "999"});
    const AddressFields fields = surface.GetAddress(1006);
    EXPECT_FALSE(surface.IsAddressBlank(1006));
    EXPECT_EQ(fields.nonBlank, 2);
    EXPECT_EQ(fields.values, (std::array<int, 4>{10, 0, 0, 255}));

    surface.SetAddress(1010, {255, 255, 255, 0});
    EXPECT_EQ(surface.GetAddress(1010).nonBlank, 4);
    EXPECT_EQ(surface.GetItemText(1010), "255.255.255.0");
    surface.ClearAddress(1010);
    EXPECT_TRUE(surface.IsAddressBlank(1010));

    window.TypeAddress(1011, {"0", "0", "0", "0"});
    EXPECT_FALSE(surface.IsAddressBlank(1011)) << "typed zeros are not blank";

    surface.FocusAddressField(1006, 3);
    EXPECT_EQ(surface.FocusedItem(), 1006);
    EXPECT_EQ(window.Control(1006).focusedField, 3);
}

TEST_F(ControlModelTest, SortedDropDownStartsWithoutSelection) {
    EXPECT_EQ(surface.ComboCount(1015), 2);
    EXPECT_EQ(surface.GetComboItemText(1015, 0), "Disable");
    EXPECT_EQ(surface.GetCurSel(1015), -1);
    EXPECT_EQ(surface.SetCurSel(1015, 5), -1);
    EXPECT_EQ(surface.AddString(1015, "Automatic"), 0);
    surface.SetCurSel(1015, 2);
    EXPECT_EQ(surface.GetItemText(1015), "Enable");

    // The unsorted list keeps the order of arrival.
    EXPECT_EQ(surface.AddString(1013, "Z:"), 0);
    EXPECT_EQ(surface.AddString(1013, "K:  \\\\NAS1\\Volume_1"), 1);
    surface.ResetContent(1013);
    EXPECT_EQ(surface.ComboCount(1013), 0);
    EXPECT_EQ(surface.GetCurSel(1013), -1);
}

TEST_F(ControlModelTest, ListRowsSelectionAndFirstVisibleRow) {
    surface.InsertColumn(1000, 0, "Name", 94);
    surface.InsertColumn(1000, 1, "IP", 81);
    for (int i = 0; i < 6; ++i) {
        const int row = surface.InsertRow(1000, 100, "NAS" + std::to_string(i));
        EXPECT_EQ(row, i) << "rows past the end are appended";
        surface.SetCellText(1000, row, 1, "10.77.0." + std::to_string(i));
    }
    surface.SetCellText(1000, 0, 7, "no such column");
    EXPECT_EQ(surface.GetCellText(1000, 2, 1), "10.77.0.2");
    EXPECT_EQ(surface.GetCellText(1000, 9, 0), "");

    window.ClickRow(1000, 1);
    window.ScrollList(1000, 3);
    EXPECT_EQ(surface.FirstVisibleRow(1000), 3);
    int found = -1;
    for (int row = surface.FirstVisibleRow(1000); row < surface.RowCount(1000); ++row) {
        if (surface.IsRowSelected(1000, row)) found = row;
    }
    EXPECT_EQ(found, -1) << "a selected row scrolled above the view is not found by the scan";

    surface.SelectRow(1000, 4);
    EXPECT_TRUE(surface.IsRowSelected(1000, 4));
    EXPECT_FALSE(surface.IsRowSelected(1000, 1));
    surface.DeleteAllRows(1000);
    EXPECT_EQ(surface.RowCount(1000), 0);
    EXPECT_EQ(surface.FirstVisibleRow(1000), 0);
    EXPECT_TRUE(ui.Failures().empty()) << ui.FailureText();
}

}  // namespace
}  // namespace ofu::ui
