#include "ui/testing/test_script.h"

#include <utility>

namespace ofu::ui {

TestScript& TestScript::ExpectDialog(int templateId, DialogActions actions) {
    ScriptEntry entry;
    entry.kind = ScriptEntry::Kind::Dialog;
    entry.templateId = templateId;
    entry.actions = std::move(actions);
    entries_.push_back(std::move(entry));
    return *this;
}

TestScript& TestScript::ExpectMessage(std::string text, std::optional<std::string> caption,
                                      std::optional<MessageIcon> icon, int answer) {
    ScriptEntry entry;
    entry.kind = ScriptEntry::Kind::Message;
    entry.text = std::move(text);
    entry.caption = std::move(caption);
    entry.icon = icon;
    entry.answer = answer;
    entries_.push_back(std::move(entry));
    return *this;
}

ScriptEntry TestScript::PopFront() {
    ScriptEntry entry = std::move(entries_.front());
    entries_.pop_front();
    return entry;
}

}  // namespace ofu::ui
