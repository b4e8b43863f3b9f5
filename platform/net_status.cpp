#include "platform/drive_connections.h"

namespace ofu::platform {

std::string_view DescribeNetStatus(NetStatus status) {
    switch (status) {
        case NetStatus::Ok: return "done";
        case NetStatus::AccessDenied: return "access denied (the share refused the credentials)";
        case NetStatus::BadNetPath: return "the device cannot be reached";
        case NetStatus::BadNetName: return "the device has no such share";
        case NetStatus::AlreadyAssigned: return "the drive letter is connected already";
        case NetStatus::InvalidPassword: return "the password was rejected";
        case NetStatus::InvalidParameter: return "the share name is not valid";
        case NetStatus::MoreData: return "the share name is too long";
        case NetStatus::BadDevice: return "not a drive letter";
        case NetStatus::Failed: return "the connection failed";
        case NetStatus::Cancelled: return "cancelled";
        case NetStatus::NoNetwork: return "the system cannot connect network drives (no network service, or no FUSE)";
        case NetStatus::NotConnected: return "the drive letter is not connected";
    }
    return "the connection failed";
}

}  // namespace ofu::platform
