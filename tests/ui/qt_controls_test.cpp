// The Qt backend's controls: the IPv4 address control, report lists, drop-down lists, labels.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include "qt_fixture.h"
#include "ui/dialog_manager.h"
#include "ui/qt/control_factory.h"
#include "ui/qt/ipv4_address_edit.h"

namespace ofu::ui {
namespace {

class RecordingDialog : public Dialog {
public:
    RecordingDialog() : Dialog(kMainDialogId) {}
    std::vector<Notify> seen;
    void Seen(const Notify& notify) { seen.push_back(notify); }

protected:
    std::span<const MessageBinding> Messages() const override {
        static constexpr MessageBinding kMessages[] = {
            OnListClick<&RecordingDialog::Seen>(1000),
            OnSelectionChange<&RecordingDialog::Seen>(1015),
        };
        return kMessages;
    }
};

class QtControlsTest : public QtFixture {
protected:
    QtControlsTest() : open(qt->Open(main)) {
        QApplication::processEvents();
        open.Window().activateWindow();
    }
    Ipv4AddressEdit& Address(int id) {
        return *dynamic_cast<Ipv4AddressEdit*>(open.Window().Control(id)->widget);
    }

    RecordingDialog main;
    QtOpenDialog open;
    DialogSurface& surface = main.Surface();
};

TEST_F(QtControlsTest, AddressControlFieldsBlankAndTyping) {
    EXPECT_TRUE(surface.IsAddressBlank(1006));
    Ipv4AddressEdit& box = Address(1006);
    surface.SetFocusTo(1006);
    QTest::keyClicks(box.Field(0), QStringLiteral("10"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Period);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("999"));  // clamps, moves on
    EXPECT_EQ(box.FocusedField(), 2);
    AddressFields fields = surface.GetAddress(1006);
    EXPECT_EQ(fields.nonBlank, 2);
    EXPECT_EQ(fields.values, (std::array<int, 4>{10, 255, 0, 0}));
    EXPECT_FALSE(surface.IsAddressBlank(1006));

    // Backspace in an empty field goes back to the previous one.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    EXPECT_EQ(box.FocusedField(), 1);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("a."));  // letters are refused
    EXPECT_EQ(surface.GetAddress(1006).values[1], 255);

    surface.SetAddress(1010, {255, 255, 255, 252});
    EXPECT_EQ(surface.GetItemText(1010), "255.255.255.252");
    surface.FocusAddressField(1010, 3);
    EXPECT_EQ(Address(1010).FocusedField(), 3);
    EXPECT_EQ(surface.FocusedItem(), 1010);
    surface.ClearAddress(1010);
    EXPECT_TRUE(surface.IsAddressBlank(1010));

    surface.EnableItem(1011, false);
    EXPECT_FALSE(Address(1011).Field(0)->isEnabled());
}

TEST_F(QtControlsTest, ReportListColumnsRowsAndFirstVisibleRow) {
    surface.InsertColumn(1000, 0, "Name", 94);
    surface.InsertColumn(1000, 1, "Netmask", 81);
    surface.InsertColumn(1000, 1, "IP", 81);  // inserted before Netmask
    auto* list = qobject_cast<QTreeWidget*>(open.Window().Control(1000)->widget);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->headerItem()->text(1), QStringLiteral("IP"));
    EXPECT_EQ(list->headerItem()->text(2), QStringLiteral("Netmask"));
    EXPECT_EQ(list->columnWidth(0), 94);
    for (int i = 0; i < 30; ++i) {
        const int row = surface.InsertRow(1000, i, "NAS" + std::to_string(i));
        surface.SetCellText(1000, row, 1, "10.77.0." + std::to_string(i));
    }
    EXPECT_EQ(surface.RowCount(1000), 30);
    EXPECT_EQ(surface.GetCellText(1000, 7, 1), "10.77.0.7");
    EXPECT_EQ(surface.FirstVisibleRow(1000), 0);

    surface.SelectRow(1000, 2);
    EXPECT_TRUE(surface.IsRowSelected(1000, 2));
    list->scrollToItem(list->topLevelItem(29), QAbstractItemView::PositionAtBottom);
    const int top = surface.FirstVisibleRow(1000);
    EXPECT_GT(top, 2);
    int found = -1;
    for (int row = top; row < surface.RowCount(1000) && found < 0; ++row) {
        if (surface.IsRowSelected(1000, row)) found = row;
    }
    EXPECT_EQ(found, -1) << "the scan from the first visible row misses a row scrolled away";

    // A click on a row selects it and notifies; a click on empty space clears the selection.
    list->scrollToTop();
    const QRect rowRect = list->visualItemRect(list->topLevelItem(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowRect.center());
    EXPECT_TRUE(surface.IsRowSelected(1000, 1));
    surface.DeleteAllRows(1000);
    surface.InsertRow(1000, 0, "only");
    surface.SelectRow(1000, 0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, list->viewport()->height() - 3));
    EXPECT_FALSE(surface.IsRowSelected(1000, 0));
    ASSERT_EQ(main.seen.size(), 2u);
    EXPECT_EQ(main.seen[0].row, 1);
    EXPECT_EQ(main.seen[1].row, -1);
    EXPECT_EQ(list->headerItem()->text(0), QStringLiteral("Name")) << "rows go, columns stay";
}

TEST_F(QtControlsTest, DropDownListsStartEmptyAndSortWhenAsked) {
    EXPECT_EQ(surface.GetCurSel(1015), -1);
    EXPECT_EQ(surface.ComboCount(1015), 2);
    EXPECT_EQ(surface.AddString(1015, "Automatic"), 0);
    EXPECT_EQ(surface.GetCurSel(1015), -1) << "adding an item selects nothing";
    EXPECT_EQ(surface.AddString(1013, "Z:"), 0);
    EXPECT_EQ(surface.AddString(1013, "A:"), 1) << "the drive list keeps arrival order";
    EXPECT_EQ(surface.GetCurSel(1013), -1);

    surface.SetCurSel(1015, 1);
    EXPECT_EQ(surface.GetItemText(1015), "Disable");
    EXPECT_TRUE(main.seen.empty()) << "programmatic changes do not notify";
    auto* combo = qobject_cast<QComboBox*>(open.Window().Control(1015)->widget);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(surface.GetCurSel(1015), 2);
    ASSERT_EQ(main.seen.size(), 1u);
    EXPECT_EQ(main.seen[0].code, Notification::SelectionChange);

    surface.SetCurSel(1015, -1);
    EXPECT_EQ(surface.GetCurSel(1015), -1);
    surface.ResetContent(1013);
    EXPECT_EQ(surface.ComboCount(1013), 0);
}

TEST_F(QtControlsTest, TextsLimitsAndMnemonics) {
    Dialog login(kLoginDialogId);
    QtOpenDialog window = qt->Open(login);
    login.Surface().SetTextLimit(1016, 16);
    auto* edit = qobject_cast<QLineEdit*>(window.Window().Control(1016)->widget);
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("abcdefghijklmnopqrst"));
    EXPECT_EQ(login.Surface().GetItemText(1016), "abcdefghijklmnop");
    auto* password = qobject_cast<QLineEdit*>(window.Window().Control(1017)->widget);
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);

    Dialog about(kAboutDialogId);
    QtOpenDialog aboutWindow = qt->Open(about);
    // The label that shows its text as it is, and one that treats "&" as a mnemonic marker.
    auto* plain = qobject_cast<QLabel*>(aboutWindow.Window().Controls()[1].widget);
    auto* prefixed = qobject_cast<QLabel*>(aboutWindow.Window().Controls()[2].widget);
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(prefixed, nullptr);
    EXPECT_EQ(LabelDisplayText("R&&D &Lab", false), QStringLiteral("R&D Lab"));
    EXPECT_EQ(LabelDisplayText("R&&D &Lab", true), QStringLiteral("R&&D &Lab"));
    EXPECT_FALSE(qobject_cast<QLabel*>(aboutWindow.Window().Controls()[0].widget)->pixmap().isNull());
}

TEST_F(QtControlsTest, RadioGroupCanBeClearedAndReadBack) {
    Dialog models(kModelSelectDialogId);
    QtOpenDialog window = qt->Open(models);
    EXPECT_EQ(CheckedRadioIndex(models, 1028), -1);
    auto* second = qobject_cast<QAbstractButton*>(window.Window().Control(1029)->widget);
    QTest::mouseClick(second, Qt::LeftButton);
    EXPECT_EQ(CheckedRadioIndex(models, 1028), 1);
    models.Surface().SetChecked(1030, true);
    EXPECT_FALSE(models.Surface().IsChecked(1029));
    models.Surface().SetChecked(1030, false);
    EXPECT_EQ(CheckedRadioIndex(models, 1028), -1);
}

}  // namespace
}  // namespace ofu::ui
