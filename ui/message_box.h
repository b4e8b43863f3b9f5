// Modal message boxes with one OK button.
#pragma once

#include <string>
#include <string_view>

namespace ofu::ui {

// The caption of a message that has none of its own.
inline constexpr std::string_view kApplicationTitle = "Ostrel Ferrow Utility";

enum class MessageIcon { None, Error, Warning, Information };

struct MessageRequest {
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::None;
    int ownerTemplateId = 0;  // template of the owning dialog, 0 when there is none
};

// Shows a message box owned by the dialog in front (or by none) through the active backend and
// returns the pressed button id (kIdOk). Without an active backend nothing is shown and 0 comes
// back.
int ShowMessage(std::string_view text, std::string_view caption = kApplicationTitle,
                MessageIcon icon = MessageIcon::None);

}  // namespace ofu::ui
