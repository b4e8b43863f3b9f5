// The dialog templates, the string table and the icon as data.
#include <gtest/gtest.h>

#include <set>

#include "resources/dialog_templates.h"
#include "resources/icon_images.h"
#include "resources/string_table.h"
#include "ui/accessible_names.h"

namespace ofu::ui {
namespace {

TEST(TemplatesTest, EveryTemplateIsFoundByIdAndUnknownIdsGiveAnEmptyOne) {
    const int ids[] = {100, 102, 134, 139, 141, 180, 229, 231, 232};
    ASSERT_EQ(AllTemplates().size(), std::size(ids));
    for (int id : ids) {
        ASSERT_NE(TryFindTemplate(id), nullptr) << id;
        EXPECT_EQ(FindTemplate(id).id, id);
        EXPECT_EQ(FindTemplate(id).fontFace, "Arial");
    }
    EXPECT_EQ(TryFindTemplate(101), nullptr);
    EXPECT_TRUE(FindTemplate(101).controls.empty());
    EXPECT_EQ(FindTemplate(101).width, 0);
}

// What a screen reader announces for the controls without a text of their own: the label on
// their left, the label above, or the group box around them.
TEST(TemplatesTest, ControlsWithoutTextAreNamedAfterTheirLabel) {
    const auto name = [](int dialogId, int controlId) {
        const DialogTemplate& dialog = FindTemplate(dialogId);
        return AccessibleNameFor(dialog, *dialog.FindControl(controlId));
    };
    EXPECT_EQ(name(102, 1006), "I P");
    EXPECT_EQ(name(102, 1010), "Netmask");
    EXPECT_EQ(name(102, 1011), "Gateway");
    EXPECT_EQ(name(102, 1015), "Receive DHCP");
    EXPECT_EQ(name(102, 1013), "Available Drive Letters");
    EXPECT_EQ(name(102, 1000), "Network Storage Device");
    EXPECT_EQ(name(102, 1001), "Drive Mapping");
    EXPECT_EQ(name(134, 1016), "User name");
    EXPECT_EQ(name(134, 1017), "Password");
    EXPECT_EQ(name(102, 1003), "");  // a button says its own text
}

// Controls lie inside their dialog (a drop-down list's height includes its open list, which
// may reach past the dialog), and no id other than -1 is used twice in one dialog.
TEST(TemplatesTest, ControlsFitTheirDialogAndIdsAreUnique) {
    for (const DialogTemplate* dialog : AllTemplates()) {
        std::set<int> ids;
        for (const ControlTemplate& control : dialog->controls) {
            const DialogRect& r = control.rect;
            EXPECT_GE(r.x, 0) << dialog->id << "/" << control.id;
            EXPECT_GE(r.y, 0) << dialog->id << "/" << control.id;
            EXPECT_LE(r.x + r.width, dialog->width) << dialog->id << "/" << control.id;
            if (control.kind != ControlKind::ComboBox) {
                EXPECT_LE(r.y + r.height, dialog->height) << dialog->id << "/" << control.id;
            }
            if (control.id != -1) {
                EXPECT_TRUE(ids.insert(control.id).second) << control.id;
            }
        }
    }
}

TEST(TemplatesTest, WindowStylesDecideCloseBoxMinimiseBoxAndTaskbar) {
    const DialogTemplate& main = FindTemplate(kMainDialogId);
    EXPECT_TRUE(main.Has(kSystemMenu | kMinimizeBox | kAppWindow | kCaption));
    EXPECT_TRUE(FindTemplate(kAboutDialogId).Has(kSystemMenu));
    EXPECT_TRUE(FindTemplate(kLoginDialogId).Has(kSystemMenu));
    for (int id : {139, 141, 180, 229, 231, 232}) {
        EXPECT_FALSE(FindTemplate(id).Has(kSystemMenu)) << id;
        EXPECT_EQ(FindTemplate(id).caption, "") << id;
    }
    EXPECT_EQ(FindTemplate(kAboutDialogId).fontPoints, 9);
}

TEST(TemplatesTest, ControlsThatHandlersDependOn) {
    const DialogTemplate& main = FindTemplate(kMainDialogId);
    for (int hidden : {1022, 1025, 1026}) {
        ASSERT_NE(main.FindControl(hidden), nullptr);
        EXPECT_TRUE(main.FindControl(hidden)->Has(kHidden)) << hidden;
    }
    const ControlTemplate* dhcp = main.FindControl(1015);
    ASSERT_NE(dhcp, nullptr);
    EXPECT_TRUE(dhcp->Has(kSorted | kDropDownList));
    ASSERT_EQ(dhcp->initialItems.size(), 2u);
    EXPECT_FALSE(main.FindControl(1013)->Has(kSorted));
    EXPECT_TRUE(main.FindControl(1000)->Has(kReportView | kSingleSelection | kShowSelectionAlways));
    EXPECT_TRUE(FindTemplate(kLoginDialogId).FindControl(1017)->Has(kPassword));
    const ControlTemplate* languages = FindTemplate(kLanguageDialogId).FindControl(1022);
    ASSERT_EQ(languages->initialItems.size(), 9u);
    EXPECT_EQ(languages->initialItems[2], "Western European");
    EXPECT_EQ(languages->initialItems[8], "Japanese SJIS");
    EXPECT_TRUE(FindTemplate(kModelSelectDialogId).FindControl(1028)->Has(kGroupStart | kAutoRadio));
    EXPECT_EQ(FindTemplate(kRestartDialogId).FindControl(1023)->kind, ControlKind::ProgressBar);
    EXPECT_EQ(FindTemplate(kAboutDialogId).controls[0].imageId, kApplicationIconId);
}

TEST(TemplatesTest, StringTableAndIcon) {
    EXPECT_EQ(LoadStringResource(kAboutMenuStringId), "About Network Storage Adapter(&A)...");
    EXPECT_EQ(LoadStringResource(4711), "");
    const auto images = FindIconImages(kApplicationIconId);
    ASSERT_EQ(images.size(), 4u);
    for (const IconImage& image : images) {
        ASSERT_GT(image.png.size(), 8u);
        EXPECT_EQ(image.png[1], 'P');
        EXPECT_EQ(image.png[2], 'N');
        EXPECT_EQ(image.png[3], 'G');
    }
    EXPECT_EQ(images.front().size, 16);
    EXPECT_EQ(images.back().size, 256);
    EXPECT_TRUE(FindIconImages(1).empty());
}

}  // namespace
}  // namespace ofu::ui
