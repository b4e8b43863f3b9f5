// Connecting a drive letter to a device's volume: the steps that the Connect button and the
// command-line client share. Both form the remote name from the device's name and the volume,
// drop whatever the letter was connected to, and try the session's credentials before the
// ones the user gives.
#pragma once

#include "platform/drive_connections.h"

#include <functional>
#include <string>
#include <string_view>

namespace ofu {

// WNetGetUserA's buffer: a user name of up to 259 characters.
inline constexpr std::size_t kSessionUserBufferLength = 260;

// "\\DEVICE\VOLUME": the device's name is used, not its address.
std::string FormRemoteName(std::string_view deviceName, std::string_view volumeName);

// Drops the letter's old connection and makes the profile forget it (a free letter simply
// fails here, which is ignored).
void DropOldConnection(std::string_view drive);

// Asks the user for share credentials and leaves them in LoginUserName and LoginPassword.
// False when there are none to try (the command-line client without --user); the connect
// then ends with the first attempt's result. The Connect button always answers true.
using CredentialPrompt = std::function<bool()>;

// The standard path. Asks the device for its domain (QueryDomain on TargetDeviceAddress);
// with a domain, the first attempt is DOMAIN\session-user with a null password (the session's
// own credentials), without one a guest attempt with empty texts. When it fails: on Vista and
// later the system is asked to prompt for credentials itself; on other versions `prompt` runs
// and the second attempt uses DOMAIN\LoginUserName (or LoginUserName alone) and LoginPassword.
// Returns the last attempt's status.
platform::NetStatus ConnectStandardPath(const platform::NetResource& resource, std::string_view versionName,
                                        const CredentialPrompt& prompt);

// The NT 3.51 / NT 4 path: `prompt` first, then up to six attempts with LoginUserName and
// LoginPassword, one right after the other, until one succeeds.
platform::NetStatus ConnectNtPath(const platform::NetResource& resource, const CredentialPrompt& prompt);

// Whether a version name takes the NT path ("NT" anywhere in it).
bool TakesNtPath(std::string_view versionName);

}  // namespace ofu
