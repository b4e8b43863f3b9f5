// A libsmbclient client context as every SMB call of this layer uses it: configured only by an
// empty file of our own (neither ~/.smb nor the system's Samba configuration applies), with no
// fall-back to an anonymous session after refused credentials and no credential cache, and
// with the credentials of one session.
//
// libsmbclient keeps its configuration and parts of its state process-wide, so every call into
// it, making and freeing a context included, runs with the lock of LockSmbLibrary() held.
#pragma once

#include "platform/linux/share_credentials.h"

#include <filesystem>
#include <mutex>

typedef struct _SMBCCTX SMBCCTX;  // as libsmbclient.h declares it

namespace ofu::platform::linux_drives {

// The one lock of every libsmbclient call in the process.
[[nodiscard]] std::unique_lock<std::mutex> LockSmbLibrary();

class SmbContext {
public:
    // Makes and initialises the context; get() is null when that failed. `configHome`/.smb/
    // smb.conf is the empty configuration file (created when missing). Call with the lock held.
    SmbContext(const ShareCredentials& credentials, const std::filesystem::path& configHome);
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
