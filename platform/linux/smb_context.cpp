#include "platform/linux/smb_context.h"

#include <libsmbclient.h>

#include <cstring>
#include <string>

namespace ofu::platform::linux_drives {
namespace {

// Bound for each exchange with the server once it is connected (the library's own connect
// time-out is a fixed 5 s; callers probe the port first).
constexpr int kSmbTimeoutMillis = 5000;

bool CopyInto(const std::string& text, char* buffer, int length) {
    if (buffer == nullptr || length <= 0 || text.size() >= static_cast<std::size_t>(length)) return false;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

// Fills in the credentials; a workgroup left empty keeps the library's default in `wg`.
void Authenticate(SMBCCTX* context, const char*, const char*, char* wg, int wglen, char* un, int unlen, char* pw,
                  int pwlen) {
    auto* data = static_cast<SmbContext::AuthData*>(smbc_getOptionUserData(context));
    if (data == nullptr) return;
    const ShareCredentials& credentials = data->credentials;
    bool fits = CopyInto(credentials.user, un, unlen) && CopyInto(credentials.password, pw, pwlen);
    if (!credentials.workgroup.empty()) fits = fits && CopyInto(credentials.workgroup, wg, wglen);
    if (!fits) {
        // Cut credentials must never turn into other valid ones (an empty user is a guest).
        data->tooLong = true;
        if (unlen > 0) CopyInto("\x01", un, unlen);
        if (pwlen > 0) CopyInto("\x01", pw, pwlen);
    }
}

// The lowest dialect the utility's own connections accept: the one the devices' file servers
// speak. The highest stays as the settings give it (the library's default is the newest).
constexpr const char* kLowestDialect = "NT1";

}  // namespace

std::unique_lock<std::mutex> LockSmbLibrary() {
    static std::mutex mutex;
    return std::unique_lock<std::mutex>(mutex);
}

SmbContext::SmbContext(const ShareCredentials& credentials, std::uint16_t port) : auth_{credentials, false} {
    SMBCCTX* context = smbc_new_context();
    if (context == nullptr) return;
    smbc_setDebug(context, 0);
    smbc_setOptionDebugToStderr(context, 1);
    if (!smbc_setOptionProtocols(context, kLowestDialect, nullptr)) {
        smbc_free_context(context, 1);
        return;
    }
    smbc_setOptionNoAutoAnonymousLogin(context, 1);
    // With winbind's credential cache on (the library's default), an empty password counts as
    // no password at all and the session setup fails locally (EINVAL) instead of offering the
    // empty password; the session's own default credentials are its Kerberos ticket.
    smbc_setOptionUseCCache(context, 0);
    smbc_setOptionUseKerberos(context, credentials.useKerberos ? 1 : 0);
    smbc_setOptionFallbackAfterKerberos(context, credentials.useKerberos ? 1 : 0);
    smbc_setOptionUserData(context, &auth_);
    smbc_setFunctionAuthDataWithContext(context, Authenticate);
    smbc_setTimeout(context, kSmbTimeoutMillis);
    smbc_setPort(context, port);  // the port that answered the probe, never a second try
    if (smbc_init_context(context) == nullptr) {
        smbc_free_context(context, 1);
        return;
    }
    context_ = context;
}

SmbContext::~SmbContext() {
    if (context_ != nullptr) smbc_free_context(context_, 1);
}

}  // namespace ofu::platform::linux_drives
