#include "tools/ofu/cli_access.h"

#include "access/browser_launch.h"
#include "access/drive_mapping.h"
#include "access/drive_table.h"
#include "access/reachability.h"
#include "access/selected_device.h"
#include "access/windows_version.h"
#include "platform/services.h"
#include "base/ascii_case.h"
#include "protocol/commands.h"
#include "protocol/device_list.h"
#include "protocol/shared_texts.h"
#include "protocol/volume_list.h"
#include "tools/ofu/cli_run.h"
#include "tools/ofu/device_output.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <ostream>

namespace ofu::cli {
namespace {

using Json = nlohmann::json;

std::string DeviceNameAt(std::string_view address) {
    std::string name;
    for (const DeviceRecord& record : DeviceList)
        if (record.ip == address) name = record.name.str();
    return name;
}

// The row of the drive letter box for `drive`, or nullptr when the box does not offer it.
const DriveLetterRow* RowOf(const DriveLetterRows& list, std::string_view drive) {
    for (const DriveLetterRow& row : list.rows)
        if (row.text.compare(0, 2, drive) == 0) return &row;
    return nullptr;
}

}  // namespace

int RunDrives(const CliRequest& request, std::ostream& out) {
    ReadDriveTable();
    const DriveLetterRows list = ListDriveLetterRows();
    if (request.json) {
        Json rows = Json::array();
        for (std::size_t k = 0; k < list.rows.size(); ++k) {
            const DriveEntry& entry = DriveTable[list.rows[k].entry];
            rows.push_back({{"drive", entry.drive.str()},
                            {"server", entry.server.str()},
                            {"share", entry.share.str()},
                            {"selected", static_cast<int>(k) == list.selected},
                            {"path", platform::Drives().LocalFolder(entry.drive.view())}});
        }
        out << rows.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
        return kExitSuccess;
    }
    for (std::size_t k = 0; k < list.rows.size(); ++k) {
        out << (static_cast<int>(k) == list.selected ? "* " : "  ") << Printable(list.rows[k].text);
        const std::string folder = platform::Drives().LocalFolder(DriveTable[list.rows[k].entry].drive.view());
        if (!folder.empty()) out << "  (" << Printable(folder) << ")";
        out << "\n";
    }
    return kExitSuccess;
}

int RunUnmap(const CliRequest& request, std::ostream& out, std::ostream& err) {
    const platform::NetStatus status =
        platform::Drives().CancelConnection(request.drive, platform::kConnectUpdateProfile, true);
    if (status != platform::NetStatus::Ok) {
        err << "Unable to disconnect this drive. " << request.drive << " " << platform::DescribeNetStatus(status)
            << "\n";
        return kExitDeviceFailure;
    }
    out << "Successfully unmapped drive.\n";
    return kExitSuccess;
}

int RunMap(const CliRequest& request, std::string_view password, std::ostream& out, std::ostream& err) {
    SelectedDeviceAddress = request.address;
    const std::string device = DeviceNameAt(request.address);

    // The volume as the device spells it (share names ignore case).
    if (QueryVolumes() == 0) {
        err << "ofu: no answer from " << request.address << "\n";
        return kExitDeviceFailure;
    }
    std::string volume;
    std::string known;
    for (const VolumeEntry& entry : VolumeList) {
        if (EqualsIgnoringAsciiCase(entry.name.view(), request.volume)) volume = entry.name.str();
        known += (known.empty() ? "" : ", ") + Printable(entry.name.view());
    }
    if (volume.empty()) {
        err << "ofu: " << Printable(device) << " has no volume '" << request.volume << "' (its volumes: "
            << (known.empty() ? "none" : known) << ")\n";
        return kExitDeviceFailure;
    }

    ReadDriveTable();
    const DriveLetterRows list = ListDriveLetterRows();
    const DriveLetterRow* row = RowOf(list, request.drive);
    if (row == nullptr) {
        err << "ofu: drive " << request.drive << " is a local drive and cannot hold a share\n";
        return kExitUsage;
    }
    if (row->text.size() > 4 && !request.force) {
        err << "ofu: drive " << request.drive << " is in use (" << Printable(row->text.substr(3))
            << "); add --force to replace that connection\n";
        return kExitDeviceFailure;
    }

    const platform::NetResource resource{request.drive, FormRemoteName(device, volume)};
    DropOldConnection(request.drive);
    std::string version;
    GetWindowsVersionName(version);
    const CredentialPrompt givenCredentials = [&request, password] {
        if (!request.user) return false;
        LoginUserName = *request.user;
        LoginPassword = password;
        return true;
    };
    const platform::NetStatus status = ConnectStandardPath(resource, version, givenCredentials);
    if (status != platform::NetStatus::Ok) {
        err << "Failed to map drive. " << Printable(resource.remoteName) << ": " << platform::DescribeNetStatus(status)
            << "\n";
        return kExitDeviceFailure;
    }
    out << "Successfully mapped drive.\n";
    if (const std::string folder = platform::Drives().LocalFolder(request.drive); !folder.empty())
        out << request.drive << " is at " << folder << "\n";
    return kExitSuccess;
}

int RunWeb(const CliRequest& request, std::ostream& out, std::ostream& err) {
    SelectedDeviceAddress = request.address;
    DeviceSslSetting.clear();
    QuerySsl();
    const ReachabilityCheck check = BeginReachabilityCheck(SelectedDeviceAddress.view());
    StartReachabilityWorker(check);
    if (!AwaitReachability(check, [](int millis) { platform::Threading().Sleep(millis); })) {
        err << "ofu: Device is no longer available. (no web server answers at " << check.url << ")\n";
        return kExitDeviceFailure;
    }
    const bool https = UsesHttps(DeviceSslSetting.view());
    const std::string commandLine = BrowserCommandLine(https, request.address);
    if (request.printOnly) {
        // Without a registered browser the command cannot start and the explorer (the
        // desktop's opener) takes over: that is the line that would run.
        if (commandLine.front() == ' ') {
            err << "ofu: no default web browser is set; the desktop's opener is used\n";
            out << ExplorerCommandLine(https, request.address) << "\n";
        } else {
            out << commandLine << "\n";
        }
        return kExitSuccess;
    }
    if (StartBrowser(commandLine, https, request.address) <= 31) {
        err << "ofu: no browser could be started for " << (https ? "https://" : "http://") << request.address << "\n";
        return kExitDeviceFailure;
    }
    out << commandLine << "\n";
    return kExitSuccess;
}

}  // namespace ofu::cli
