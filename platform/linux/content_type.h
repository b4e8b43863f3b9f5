// The MIME type of a local file, as the desktop (GIO and shared-mime-info) sees it.
#pragma once

#include <string>

namespace ofu::platform::desktop {

// From the file's name and its first bytes; "inode/directory" for a folder,
// "application/octet-stream" when nothing is known.
std::string GuessMimeType(const std::string& path);

// The file:// URI of an absolute path; empty when it has none.
std::string FileUri(const std::string& absolutePath);

// The local path of a file:// URI; empty when it names no local file.
std::string PathOfFileUri(const std::string& uri);

}  // namespace ofu::platform::desktop
