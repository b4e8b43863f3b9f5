// What a test expects to pop up, in order: dialogs run modally by handlers and message boxes.
// A dialog entry says what the "user" does in it; a message entry says which button answers.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "ui/command_ids.h"
#include "ui/message_box.h"

namespace ofu::ui {

class TestDialog;

using DialogActions = std::function<void(TestDialog& dialog)>;

struct ScriptEntry {
    enum class Kind { Dialog, Message } kind = Kind::Dialog;
    int templateId = 0;
    DialogActions actions;
    std::string text;
    std::optional<std::string> caption;
    std::optional<MessageIcon> icon;
    int answer = kIdOk;
};

class TestScript {
public:
    // The next thing to appear is the dialog built from `templateId`. After OnInitDialog the
    // backend runs `actions`; if the dialog is still open afterwards, virtual time runs on until
    // the dialog ends itself (for example on a timer).
    TestScript& ExpectDialog(int templateId, DialogActions actions = {});
    // The next thing to appear is a message box with exactly `text` (and, when given, this
    // caption and icon); `answer` is the button that closes it.
    TestScript& ExpectMessage(std::string text, std::optional<std::string> caption = std::nullopt,
                              std::optional<MessageIcon> icon = std::nullopt, int answer = kIdOk);

    bool Empty() const { return entries_.empty(); }
    std::size_t Remaining() const { return entries_.size(); }
    void Clear() { entries_.clear(); }

    // For the backend.
    const ScriptEntry* Front() const { return entries_.empty() ? nullptr : &entries_.front(); }
    ScriptEntry PopFront();

private:
    std::deque<ScriptEntry> entries_;
};

}  // namespace ofu::ui
