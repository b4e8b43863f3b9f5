// A libsmbclient client context as every SMB call of this layer uses it: the user's and the
// system's Samba client settings as the library reads them for every Samba client, except that
// servers down to the NT1 dialect (SMB1) are accepted, since the devices' own file servers
// speak nothing newer; a newer server still negotiates the newest dialect both sides speak.
// No fall-back to an anonymous session after refused credentials, no credential cache, the
// credentials of one session, and one port of the server.
//
// Nothing of the process is changed for it (no environment variable, no working folder): the
// protocol floor is the library's own option, set for the library's settings only.
//
// libsmbclient keeps its configuration and parts of its state process-wide, so every call into
// it, making and freeing a context included, runs with the lock of LockSmbLibrary() held.
#pragma once

#include "platform/linux/share_credentials.h"

#include <cstdint>
#include <mutex>

typedef struct _SMBCCTX SMBCCTX;  // as libsmbclient.h declares it

namespace ofu::platform::linux_drives {

// The one lock of every libsmbclient call in the process.
[[nodiscard]] std::unique_lock<std::mutex> LockSmbLibrary();

class SmbContext {
public:
    // Makes and initialises the context for a server's `port` (445, or 139 for the NetBIOS
    // session service); get() is null when that failed. Call with the lock held.
    SmbContext(const ShareCredentials& credentials, std::uint16_t port);
    // Frees the context and the connections it made. Call with the lock held.
    ~SmbContext();
    SmbContext(const SmbContext&) = delete;
    SmbContext& operator=(const SmbContext&) = delete;

    SMBCCTX* get() const { return context_; }
    // The server asked for credentials longer than its buffers take; they were replaced by
    // ones no server accepts rather than cut.
    bool credentialsTooLong() const { return auth_.tooLong; }

    // What the authentication callback reads (through the context's user data).
    struct AuthData {
        ShareCredentials credentials;
        bool tooLong = false;
    };

private:
    AuthData auth_;
    SMBCCTX* context_ = nullptr;
};

}  // namespace ofu::platform::linux_drives
