// The test backend's model of one control: everything a handler can set or read through the
// surface, kept per control id.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "resources/dialog_template.h"
#include "ui/font_spec.h"
#include "ui/progress_state.h"

namespace ofu::ui {

struct TestColumn {
    std::string title;
    int widthPixels = 0;
};

struct TestControlModel {
    const ControlTemplate* layout = nullptr;
    int id = -1;
    ControlKind kind = ControlKind::StaticText;

    std::string text;
    bool enabled = true;
    bool visible = true;
    bool checked = false;
    int textLimit = 0;  // 0: no limit
    std::optional<FontSpec> font;

    // list views
    std::vector<TestColumn> columns;
    std::vector<std::vector<std::string>> rows;  // each row holds one text per column
    int selectedRow = -1;
    int topRow = 0;

    // drop-down lists
    std::vector<std::string> items;
    int currentItem = -1;

    // IPv4 address controls: the text of each field, empty when blank
    std::array<std::string, 4> fields;
    int focusedField = -1;

    ProgressState progress;
};

}  // namespace ofu::ui
