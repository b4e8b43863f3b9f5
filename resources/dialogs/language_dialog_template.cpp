#include "resources/dialog_templates.h"
#include "resources/dialogs/template_builders.h"

namespace ofu::ui {
namespace {

using namespace build;

// The list's order is the codepage index that the installation uses.
constexpr std::string_view kLanguages[] = {
    "Traditional Chinese", "Simplified Chinese", "Western European",
    "Northern European",   "Central European",   "Turkish",
    "Korean Hangul",       "Cyrillic",           "Japanese SJIS",
};

constexpr ControlTemplate kControls[] = {
    DefaultButton(1, "OK", {169, 7, 50, 14}),
    Button(2, "Cancel", {169, 24, 50, 14}),
    Label("Language :", {14, 12, 36, 8}),
    DropList(1022, {52, 10, 112, 59}, kStyleNone, kLanguages),
};

}  // namespace

const DialogTemplate kLanguageDialogTemplate =
    build::Dialog(kLanguageDialogId, "", "Arial", 8, 226, 64, build::kBareDialog, kControls);

}  // namespace ofu::ui
