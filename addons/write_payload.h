// Writing one embedded payload onto a device's share.
#pragma once

#include <string>

namespace ofu {

// Writes payload `id` of type `typeName` verbatim from the program's read-only resource data,
// in one write. Direct form: `writePath` is the remote UNC path and `finalPath` is empty.
// Staged form: `writePath` is a local path containing "C:\" and `finalPath` the remote UNC
// path; the local file is moved there (a file already at `finalPath` is removed first) and is
// gone afterwards whatever happened. Returns 1 and sets AddOnState.LastCopyFailed to 0 when
// the destination holds the whole payload afterwards; otherwise 0 and LastCopyFailed 1.
int WritePayload(std::string typeName, int id, std::string writePath, std::string finalPath);

}  // namespace ofu
