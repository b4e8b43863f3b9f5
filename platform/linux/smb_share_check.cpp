#include "platform/linux/smb_share_check.h"

#include "platform/linux/smb_context.h"

#include <libsmbclient.h>

#include <cerrno>
#include <mutex>
#include <string>

namespace ofu::platform::linux_drives {

NetStatus StatusOfSmbErrno(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return NetStatus::AccessDenied;
        case ENOENT:
        case ENODEV:
        case ENOTDIR:  // the folder part names a file
            return NetStatus::BadNetName;
        case ECONNREFUSED:
        case EHOSTUNREACH:
        case ENETUNREACH:
        case ETIMEDOUT:
        case EINVAL:  // the server's name could not be looked up
            return NetStatus::BadNetPath;
        default:
            return NetStatus::Failed;
    }
}

std::string SmbUrlAt(const RemoteName& name, const SmbServerLocation& server) {
    RemoteName located = name;
    located.server = server.host;
    return SmbUrl(located, true);
}

NetStatus CheckShare(const RemoteName& name, const ShareCredentials& credentials, const SmbServerLocation& server) {
    const std::unique_lock<std::mutex> lock = LockSmbLibrary();
    const SmbContext context(credentials, server.port);
    return CheckShareIn(context, SmbUrlAt(name, server));
}

NetStatus CheckShareIn(const SmbContext& context, const std::string& url) {
    if (context.get() == nullptr) return NetStatus::Failed;
    NetStatus status = NetStatus::Ok;
    errno = 0;
    SMBCFILE* folder = smbc_getFunctionOpendir(context.get())(context.get(), url.c_str());
    if (folder == nullptr) {
        status = StatusOfSmbErrno(errno);
    } else {
        smbc_getFunctionClosedir(context.get())(context.get(), folder);
    }
    if (context.credentialsTooLong()) status = NetStatus::InvalidParameter;
    return status;
}

}  // namespace ofu::platform::linux_drives
