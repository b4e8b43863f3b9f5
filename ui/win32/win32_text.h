// Texts between the dialog surface and the wide-character calls of the Win32 backend.
//
// On Windows the program's texts are bytes in the workstation's ANSI code page: the volume
// names are converted into it before they are shown, and what a handler reads back from a list
// or an edit box goes on to the platform's ANSI calls (the remote name of a drive connection,
// the login texts). So the backend converts with the ANSI code page (CP_ACP) in both
// directions; a text that a handler sets comes back byte for byte. The templates' own texts are
// ASCII and compiled as UTF-16 into the resources, so they read the same either way.
#pragma once

#include <string>
#include <string_view>

namespace ofu::ui::win32 {

std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

}  // namespace ofu::ui::win32
