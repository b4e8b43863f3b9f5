#include "tools/ofu/cli_run.h"

#include "protocol/commands.h"
#include "protocol/device_list.h"
#include "protocol/discovery.h"
#include "protocol/shared_texts.h"
#include "protocol/transport.h"
#include "protocol/volume_list.h"
#include "resources/version.h"
#include "tools/ofu/cli_access.h"
#include "tools/ofu/cli_addons.h"
#include "tools/ofu/cli_arguments.h"
#include "tools/ofu/device_output.h"

#include <functional>
#include <istream>
#include <ostream>
#include <string>

namespace ofu::cli {
namespace {

// Filters the utility always searches with.
constexpr std::uint8_t kFilter = 3;

struct QueryItem {
    std::string_view name;
    int (*command)();
    std::function<std::string()> result;
};

struct SetItem {
    std::string_view name;
    int (*command)();
    std::function<bool(std::string_view)> store;  // false when the value does not fit
    std::size_t maxLength;
};

template <std::size_t W>
std::function<bool(std::string_view)> StoreInto(BoundedText<W>& text) {
    return [&text](std::string_view value) {
        if (value.size() > BoundedText<W>::kMaxLength) return false;
        text = value;
        return true;
    };
}

const QueryItem* FindQueryItem(std::string_view name) {
    static const QueryItem items[] = {
        {"volumes", QueryVolumes, {}},
        {"workgroup", QueryWorkgroup, [] { return DeviceWorkgroup.str(); }},
        {"codepage", QueryCodepage, [] { return DeviceCodepage.str(); }},
        {"sharename", QueryShareName, [] { return DeviceShareName.str(); }},
        {"ideok", QueryIdeOk, [] { return DeviceIdeOk.str(); }},
        {"bt-firmware", QueryBtFirmware, [] { return DeviceBtFirmware.str(); }},
        {"domain", QueryDomain, [] { return DeviceDomain.str(); }},
        {"ssl", QuerySsl, [] { return DeviceSslSetting.str(); }},
    };
    for (const auto& item : items)
        if (item.name == name) return &item;
    return nullptr;
}

const SetItem* FindSetItem(std::string_view name) {
    static const SetItem items[] = {
        {"workgroup", SetWorkgroup, StoreInto(DeviceWorkgroup), decltype(DeviceWorkgroup)::kMaxLength},
        {"codepage", SetCodepage, StoreInto(DeviceCodepage), decltype(DeviceCodepage)::kMaxLength},
        {"access-mode", SetAccessMode, StoreInto(AccessModeText), decltype(AccessModeText)::kMaxLength},
        {"addon-name", SendAddOnName, StoreInto(AddOnNameText), decltype(AddOnNameText)::kMaxLength},
        {"install-control", SendInstallControl, StoreInto(InstallControlText),
         decltype(InstallControlText)::kMaxLength},
        {"param5", SetParam5, StoreInto(Param5Text), decltype(Param5Text)::kMaxLength},
    };
    for (const auto& item : items)
        if (item.name == name) return &item;
    return nullptr;
}

// Keeps the transport open for the life of one command.
class TransportSession {
public:
    TransportSession() { StartTransport(); }
    ~TransportSession() {
        FreeDeviceList();
        StopTransport();
    }
    TransportSession(const TransportSession&) = delete;
    TransportSession& operator=(const TransportSession&) = delete;
};

class Runner {
public:
    Runner(const CliRequest& request, std::ostream& out, std::ostream& err, std::istream& in)
        : request_(request), out_(out), err_(err), in_(in) {}

    int run() {
        switch (request_.verb) {
            case Verb::Help: out_ << kUsage; return kExitSuccess;
            case Verb::Version: out_ << "ofu " << kProductVersion << "\n"; return kExitSuccess;
            case Verb::Drives: return RunDrives(request_, out_);
            case Verb::Unmap: return RunUnmap(request_, out_, err_);
            case Verb::Payloads: return RunPayloads(request_, out_);
            case Verb::Payload: return RunPayload(request_, out_, err_);
            default: break;
        }
        // Everything the command will send is checked before the transport opens.
        std::string password;
        if (request_.passwordFromStdin && !readPassword(password)) return kExitUsage;
        const SetItem* setItem = nullptr;
        if (request_.verb == Verb::Set) {
            setItem = FindSetItem(request_.item);
            if (!setItem->store(request_.value)) {
                err_ << "ofu: the " << setItem->name << " value holds at most " << setItem->maxLength
                     << " characters\n";
                return kExitUsage;
            }
        }

        TransportSession session;
        SearchDevices(kFilter, kFilter);
        if (request_.verb == Verb::Discover) {
            WriteDeviceTable(DeviceList, request_.json, out_);
            return kExitSuccess;
        }
        if (!FindDeviceByAddress(request_.address)) {
            err_ << "ofu: no device answered at " << request_.address << "\n";
            return kExitDeviceFailure;
        }
        TargetDeviceAddress = request_.address;
        switch (request_.verb) {
            case Verb::Query: return query();
            case Verb::Login: return login(request_.user.value_or("admin"), password);
            case Verb::Set: return finish(setItem->command(), "ok");
            case Verb::SetStatic: return setStatic(password);
            case Verb::SetDhcp: return setDhcp(password);
            case Verb::Map: return RunMap(request_, password, out_, err_);
            case Verb::Web: return RunWeb(request_, out_, err_);
            case Verb::InstallLanguage: return RunInstallLanguage(request_, out_, err_);
            case Verb::InstallBitTorrent: return RunInstallBitTorrent(request_, password, out_, err_);
            default: return kExitUsage;
        }
    }

private:
    bool readPassword(std::string& password) {
        std::getline(in_, password);
        if (!password.empty() && password.back() == '\r') password.pop_back();
        if (password.size() > 16) {
            err_ << "ofu: the password holds at most 16 characters\n";
            return false;
        }
        return true;
    }

    int finish(int result, std::string_view success) {
        if (result == 0) {
            err_ << "ofu: no answer from " << request_.address << "\n";
            return kExitDeviceFailure;
        }
        out_ << success << "\n";
        return kExitSuccess;
    }

    int query() {
        const QueryItem* item = FindQueryItem(request_.item);
        if (item->command() == 0) {
            err_ << "ofu: no answer from " << request_.address << "\n";
            return kExitDeviceFailure;
        }
        if (!item->result)
            WriteVolumes(VolumeList, request_.json, out_);
        else
            WriteValue(item->result(), request_.json, out_);
        return kExitSuccess;
    }

    int login(std::string_view user, std::string_view password) {
        LoginUserName = user;
        LoginPassword = password;
        if (Login() == 0) {
            out_ << "refused\n";
            return kExitDeviceFailure;
        }
        out_ << "accepted\n";
        return kExitSuccess;
    }

    // Address changes need the administrator login first.
    bool adminLogin(std::string_view password) {
        LoginUserName = "admin";
        LoginPassword = password;
        if (Login() != 0) return true;
        err_ << "ofu: the device refused the administrator login (or did not answer)\n";
        return false;
    }

    int setStatic(std::string_view password) {
        if (!adminLogin(password)) return kExitDeviceFailure;
        NewDeviceAddress = request_.newAddress;
        NewNetmask = request_.netmask;
        NewGateway = request_.gateway;
        if (SetStaticAddress() == 0) {
            err_ << "ofu: no answer from the device at " << request_.newAddress << "\n";
            return kExitDeviceFailure;
        }
        out_ << TargetDeviceAddress.view() << "\n";
        return kExitSuccess;
    }

    int setDhcp(std::string_view password) {
        if (!adminLogin(password)) return kExitDeviceFailure;
        if (EnableDhcp() == 0) {
            err_ << "ofu: the device did not confirm the DHCP change\n";
            return kExitDeviceFailure;
        }
        out_ << TargetDeviceAddress.view() << "\n";
        return kExitSuccess;
    }

    const CliRequest& request_;
    std::ostream& out_;
    std::ostream& err_;
    std::istream& in_;
};

}  // namespace

int RunCli(std::span<const std::string_view> args, std::ostream& out, std::ostream& err,
           std::istream& in) {
    const ParsedCommandLine parsed = ParseCommandLine(args);
    if (!parsed.request) {
        err << "ofu: " << parsed.error << "\nTry 'ofu --help'.\n";
        return kExitUsage;
    }
    return Runner(*parsed.request, out, err, in).run();
}

}  // namespace ofu::cli
