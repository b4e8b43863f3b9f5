#include "platform/linux/smb_context.h"

#include <fcntl.h>
#include <libsmbclient.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <system_error>

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

// The configuration file must exist and be empty.
bool EnsureEmptyFile(const std::filesystem::path& path) {
    struct stat info{};
    if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size == 0) return true;
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

// libsmbclient reads its configuration once per process, when the first context is made:
// $HOME/.smb/smb.conf, or else the system's smb.conf and $HOME/.smb/smb.conf.append; and
// smbc_setConfiguration only lays another file over what was read then. So the first context
// is made with HOME naming the folder of our empty file, and neither the user's nor the
// system's Samba settings ever apply. HOME is changed only for that moment (the caller holds
// the library lock).
SMBCCTX* NewContext(const std::filesystem::path& configHome) {
    static bool libraryConfigured = false;
    if (libraryConfigured) return smbc_new_context();
    libraryConfigured = true;
    const char* home = std::getenv("HOME");
    const std::optional<std::string> savedHome = home != nullptr ? std::optional<std::string>(home) : std::nullopt;
    ::setenv("HOME", configHome.c_str(), 1);
    SMBCCTX* context = smbc_new_context();
    if (savedHome) {
        ::setenv("HOME", savedHome->c_str(), 1);
    } else {
        ::unsetenv("HOME");
    }
    return context;
}

}  // namespace

std::unique_lock<std::mutex> LockSmbLibrary() {
    static std::mutex mutex;
    return std::unique_lock<std::mutex>(mutex);
}

SmbContext::SmbContext(const ShareCredentials& credentials, const std::filesystem::path& configHome)
    : auth_{credentials, false} {
    const std::filesystem::path emptyConfig = configHome / ".smb" / "smb.conf";
    if (!EnsureEmptyFile(emptyConfig)) return;
    SMBCCTX* context = NewContext(configHome);
    if (context == nullptr) return;
    smbc_setDebug(context, 0);
    smbc_setOptionDebugToStderr(context, 1);
    if (smbc_setConfiguration(context, emptyConfig.c_str()) != 0) {
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
    smbc_setPort(context, 445);  // the port probed; never the NetBIOS session port
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
