// The Qt backend builds each template in pixels from the dialog font's metrics, with the
// templates' texts, the dialog colours and the hidden controls hidden.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "qt_fixture.h"
#include "ui/qt/dialog_units.h"

namespace ofu::ui {
namespace {

TEST(DialogUnitsTest, MulDivRoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(5, 6, 4), 8);    // 7.5
    EXPECT_EQ(MulDiv(3, 13, 8), 5);   // 4.875
    EXPECT_EQ(MulDiv(-5, 6, 4), -8);  // -7.5
    EXPECT_EQ(MulDiv(8, 96, 72), 11);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
}

// "Arial" must resolve to the metric-compatible Liberation Sans: with any other face every
// dialog comes out at another size.
TEST_F(QtFixture, DialogFontIsMetricCompatibleAndGivesTheExpectedBaseUnits) {
    const QFont font = DialogFont("Arial", 8);
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(font.pixelSize(), 11);
    const DialogUnits eight = DialogUnits::FromFont(font);
    EXPECT_EQ(eight.baseX, 6);
    EXPECT_EQ(eight.baseY, 12);
    const DialogUnits nine = DialogUnits::FromFont(DialogFont("Arial", 9));
    EXPECT_EQ(nine.baseX, 7);
    EXPECT_EQ(nine.baseY, 14);
}

// Expected pixel rectangle of a template rectangle, computed here edge by edge.
QRect Expected(const DialogRect& r, int baseX, int baseY) {
    auto x = [&](int v) { return (v * baseX * 2 + 4) / 8; };  // v*baseX/4 rounded, v >= 0
    auto y = [&](int v) { return (v * baseY * 2 + 8) / 16; };
    return QRect(QPoint(x(r.x), y(r.y)), QPoint(x(r.x + r.width) - 1, y(r.y + r.height) - 1));
}

TEST_F(QtFixture, EveryTemplateIsBuiltToItsPixelGeometryWithItsTexts) {
    for (const DialogTemplate* layout : AllTemplates()) {
        SCOPED_TRACE(layout->id);
        Dialog dialog(layout->id);
        QtOpenDialog open = qt->Open(dialog);
        QtDialogWindow& window = open.Window();
        const DialogUnits units = window.Units();
        EXPECT_EQ(window.size(), QSize(units.X(layout->width), units.Y(layout->height)));
        EXPECT_EQ(window.windowTitle().toStdString(), layout->caption);
        ASSERT_EQ(window.Controls().size(), layout->controls.size());
        for (const QtControl& built : window.Controls()) {
            const ControlTemplate& control = *built.layout;
            SCOPED_TRACE(control.text.empty() ? std::to_string(control.id) : std::string(control.text));
            QWidget* widget = built.widget;
            const QRect expected = Expected(control.rect, units.baseX, units.baseY);
            switch (control.kind) {
                case ControlKind::ComboBox:
                    EXPECT_EQ(widget->width(), expected.width());
                    EXPECT_EQ(widget->height(), widget->sizeHint().height());
                    break;
                case ControlKind::Icon:
                    EXPECT_EQ(widget->size(), QSize(32, 32));
                    break;
                case ControlKind::StaticText:
                    EXPECT_EQ(widget->height(), expected.height());
                    EXPECT_GE(widget->width(), expected.width());
                    EXPECT_LE(widget->geometry().right(), window.width());
                    break;
                default:
                    EXPECT_EQ(widget->geometry(), expected);
                    break;
            }
            if (auto* button = qobject_cast<QPushButton*>(widget)) {
                EXPECT_EQ(button->text().toStdString(), control.text);
                EXPECT_EQ(button->isDefault(), control.kind == ControlKind::DefaultPushButton);
            }
            if (auto* label = qobject_cast<QLabel*>(widget); label && control.kind == ControlKind::StaticText) {
                EXPECT_EQ(label->text().toStdString(), control.text);
            }
        }
    }
}

TEST_F(QtFixture, MainWindowPixelsForTheArialEightPointFont) {
    Dialog dialog(kMainDialogId);
    QtOpenDialog open = qt->Open(dialog);
    EXPECT_EQ(open.Window().size(), QSize(428, 393));  // 285 x 262 units at 6 x 12
    EXPECT_EQ(open.Window().Control(1000)->widget->geometry(), QRect(12, 20, 324, 102));
    EXPECT_EQ(open.Window().Control(1009)->widget->geometry(), QRect(351, 369, 65, 23));
}

TEST_F(QtFixture, DialogColoursAndSystemColours) {
    Dialog dialog(kMainDialogId);
    QtOpenDialog open = qt->Open(dialog);
    QtDialogWindow& window = open.Window();
    const QColor blue(0, 98, 147);
    EXPECT_EQ(window.palette().color(QPalette::Window), blue);
    EXPECT_EQ(window.palette().color(QPalette::WindowText), QColor(Qt::white));
    for (QLabel* label : window.findChildren<QLabel*>()) {
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::white));
    }
    for (int id : {1000, 1006, 1015, 1002}) {
        const QPalette palette = window.Control(id)->widget->palette();
        EXPECT_NE(palette.color(QPalette::Window), blue) << id;
        EXPECT_EQ(palette.color(QPalette::Window), QApplication::palette().color(QPalette::Window)) << id;
    }
    // A disabled label greys out instead of staying white.
    EXPECT_NE(window.palette().color(QPalette::Disabled, QPalette::WindowText), QColor(Qt::white));
    const QImage image = window.grab().toImage();
    EXPECT_EQ(QColor(image.pixel(2, image.height() / 2)), blue);
}

TEST_F(QtFixture, HiddenButtonsStayHiddenWhenTheWindowIsShown) {
    Dialog dialog(kMainDialogId);
    QtOpenDialog open = qt->Open(dialog);
    QApplication::processEvents();
    ASSERT_TRUE(open.Window().isVisible());
    for (int id : {1022, 1025, 1026}) {
        EXPECT_TRUE(open.Window().Control(id)->widget->isHidden()) << id;
        EXPECT_FALSE(dialog.Surface().IsItemVisible(id)) << id;
    }
    EXPECT_TRUE(open.Window().Control(1002)->widget->isVisible());
    dialog.Surface().ShowItem(1022, true);
    EXPECT_TRUE(open.Window().Control(1022)->widget->isVisible());
}

TEST_F(QtFixture, SavesAPictureOfTheDialog) {
    Dialog dialog(kAboutDialogId);
    QtOpenDialog open = qt->Open(dialog);
    const QString path = QDir::temp().filePath(QStringLiteral("ofu_about_test.png"));
    ASSERT_TRUE(open.SaveImage(path));
    QImage image(path);
    EXPECT_EQ(image.size(), open.Window().size());
    QFile::remove(path);
}

}  // namespace
}  // namespace ofu::ui
