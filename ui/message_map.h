// The table that binds a dialog's control notifications to its handlers: one table per dialog
// class, returned by its Messages() override.
//
//   std::span<const ui::MessageBinding> MainDialog::Messages() const {
//       static constexpr ui::MessageBinding kMessages[] = {
//           ui::OnClicked<&MainDialog::RefreshDeviceList>(1002),
//           ui::OnListClick<&MainDialog::OnDeviceListClick>(1000),
//           ui::OnSelectionChange<&MainDialog::OnDhcpSelChange>(1015),
//       };
//       return kMessages;
//   }
//
// A handler is a member function taking nothing or a `const Notify&`.
#pragma once

#include <span>
#include <type_traits>

namespace ofu::ui {

class Dialog;

enum class Notification {
    Clicked,          // a button was pressed (also Enter/Escape as IDOK/IDCANCEL)
    ListClick,        // a click in a list view, on a row or on its empty space
    ListDoubleClick,  // a double click in a list view
    SelectionChange,  // the user chose another item of a drop-down list
    TextChange,       // the user changed the text of an edit control
};

struct Notify {
    int controlId = 0;
    Notification code = Notification::Clicked;
    int row = -1;  // list clicks: the row under the pointer, -1 for empty space
};

struct MessageBinding {
    int controlId = 0;
    Notification code = Notification::Clicked;
    void (*invoke)(Dialog& dialog, const Notify& notify) = nullptr;
};

namespace detail {

template <typename Member>
struct MemberClass;
template <typename C, typename R, typename... Args>
struct MemberClass<R (C::*)(Args...)> {
    using type = C;
};

template <auto Handler>
void InvokeHandler(Dialog& dialog, const Notify& notify) {
    using D = typename MemberClass<decltype(Handler)>::type;
    static_assert(std::is_base_of_v<Dialog, D>, "handlers are members of a dialog class");
    D& self = static_cast<D&>(dialog);
    if constexpr (std::is_invocable_v<decltype(Handler), D&, const Notify&>) {
        (self.*Handler)(notify);
    } else {
        (self.*Handler)();
    }
}

}  // namespace detail

template <auto Handler>
constexpr MessageBinding On(int controlId, Notification code) {
    return {controlId, code, &detail::InvokeHandler<Handler>};
}
template <auto Handler>
constexpr MessageBinding OnClicked(int controlId) {
    return On<Handler>(controlId, Notification::Clicked);
}
template <auto Handler>
constexpr MessageBinding OnListClick(int controlId) {
    return On<Handler>(controlId, Notification::ListClick);
}
template <auto Handler>
constexpr MessageBinding OnListDoubleClick(int controlId) {
    return On<Handler>(controlId, Notification::ListDoubleClick);
}
template <auto Handler>
constexpr MessageBinding OnSelectionChange(int controlId) {
    return On<Handler>(controlId, Notification::SelectionChange);
}
template <auto Handler>
constexpr MessageBinding OnTextChange(int controlId) {
    return On<Handler>(controlId, Notification::TextChange);
}

}  // namespace ofu::ui
