// The user's home folder, which holds the per-user files of the utility when the XDG
// variables do not name their folders.
#pragma once

#include <string>

namespace ofu::platform::linux_files {

// HOME when it is an absolute path, else the home folder the password database gives this
// user; empty when neither is known. Never a shared folder such as the temporary one, where
// another local user could plant files.
std::string UserHomeFolder();

}  // namespace ofu::platform::linux_files
