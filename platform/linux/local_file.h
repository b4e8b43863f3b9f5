// Files in the folder that stands for drive C, opened by their host path (LocalFiles::HostPath).
#pragma once

#include "platform/linux/open_file.h"

#include <memory>
#include <optional>
#include <string>

namespace ofu::platform::linux_files {

// Opens the plain file at `hostPath`; null when it cannot be opened as `mode` asks, or when
// the path names anything but a plain file (a folder, a pipe, a device).
std::unique_ptr<OpenFile> OpenLocalFile(const std::string& hostPath, OpenMode mode);

// What is at `hostPath` (links followed); empty when nothing is.
std::optional<FileInfo> LocalFileInfo(const std::string& hostPath);

// Whether `a` and `b` name the same file on disk (both must exist).
bool SameLocalFile(const std::string& a, const std::string& b);

}  // namespace ofu::platform::linux_files
