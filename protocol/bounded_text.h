// A zero-terminated 8-bit text in a buffer of fixed width, as the protocol and the
// dialogs share them. Every write is a bounded copy: at most Width - 1 characters are
// kept and the buffer always ends with a terminator, whatever the source holds.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace ofu {

template <std::size_t Width>
class BoundedText {
    static_assert(Width >= 1, "a bounded text needs room for its terminator");

public:
    static constexpr std::size_t kWidth = Width;
    static constexpr std::size_t kMaxLength = Width - 1;

    BoundedText() { clear(); }
    BoundedText(std::string_view text) { assign(text); }  // NOLINT: texts convert implicitly

    // Copies at most kMaxLength characters of `text`, stopping early at an embedded zero.
    void assign(std::string_view text) {
        const std::size_t zero = text.find('\0');
        if (zero != std::string_view::npos) text = text.substr(0, zero);
        const std::size_t n = std::min(text.size(), kMaxLength);
        if (n > 0) std::memmove(bytes_.data(), text.data(), n);  // the source may be this text
        std::fill(bytes_.begin() + static_cast<std::ptrdiff_t>(n), bytes_.end(), '\0');
    }
    BoundedText& operator=(std::string_view text) {
        assign(text);
        return *this;
    }
    template <std::size_t Other>
    BoundedText& operator=(const BoundedText<Other>& other) {
        assign(other.view());
        return *this;
    }

    void clear() { bytes_.fill('\0'); }

    const char* c_str() const { return bytes_.data(); }
    std::string_view view() const { return std::string_view(bytes_.data(), size()); }
    std::string str() const { return std::string(view()); }
    std::size_t size() const { return std::strlen(bytes_.data()); }
    bool empty() const { return bytes_[0] == '\0'; }

    // The whole field, terminator and zero padding included (what a request carries).
    const std::array<char, Width>& field() const { return bytes_; }

    friend bool operator==(const BoundedText& a, std::string_view b) { return a.view() == b; }
    template <std::size_t Other>
    friend bool operator==(const BoundedText& a, const BoundedText<Other>& b) {
        return a.view() == b.view();
    }

private:
    std::array<char, Width> bytes_{};
};

}  // namespace ofu
