// Opening a URL or a local file with the desktop's default application for it, as the
// Windows shell does for "explorer URL" and ShellExecute "open".
#pragma once

#include <string>
#include <string_view>

namespace ofu::platform::desktop {

enum class OpenOutcome {
    Started,
    Missing,     // the file does not exist
    NoHandler,   // no usable application for its scheme or type
    NotStarted,  // the application's program could not be started (see startCode)
};

struct OpenResult {
    OpenOutcome outcome = OpenOutcome::NoHandler;
    unsigned startCode = 0;  // the WinExec code of the start, for NotStarted
};

// A URL ("scheme:...", scheme of two or more characters) by the default application of
// x-scheme-handler/SCHEME (a file:// URL as its file); anything else as a local path,
// relative to the current folder.
OpenResult OpenUrlOrPath(std::string_view text);

// A local file (relative to the current folder unless absolute) by its content type; the
// application starts in `workingFolder` when that is not empty.
OpenResult OpenLocalFile(const std::string& path, const std::string& workingFolder = {});

}  // namespace ofu::platform::desktop
