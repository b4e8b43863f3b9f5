#include "tools/ofu/cli_addons.h"

#include "access/selected_device.h"
#include "addons/addon_state.h"
#include "addons/codepage_plans.h"
#include "addons/device_checks.h"
#include "addons/installation_sequence.h"
#include "addons/payload_catalogue.h"
#include "addons/restart_dialog.h"
#include "platform/services.h"
#include "protocol/commands.h"
#include "protocol/shared_texts.h"
#include "tools/ofu/cli_run.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <ostream>
#include <unistd.h>

namespace ofu::cli {
namespace {

using Json = nlohmann::json;

constexpr int kBarWidth = 40;

std::string_view KindText(PayloadKind kind) {
    switch (kind) {
        case PayloadKind::CodepageDescriptor: return "codepage descriptor";
        case PayloadKind::UnicodeMap: return "unicode map";
        case PayloadKind::PowerPcModule: return "PowerPC module";
        case PayloadKind::ArmModule: return "ARM module";
        case PayloadKind::ArmExecutable: return "ARM executable";
    }
    return "";
}

// The 90 s the device takes to restart: a bar on a terminal, a line per tenth otherwise.
void WaitForRestart(std::ostream& err) {
    const bool terminal = ::isatty(STDERR_FILENO) == 1;
    err << "The system is restarting. Please wait a moment.\n";
    int reported = 0;
    for (int step = 1; step <= kRestartSteps; ++step) {
        const int percent = step * 100 / kRestartSteps;
        if (terminal) {
            const int filled = percent * kBarWidth / 100;
            err << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
                << std::string(static_cast<std::size_t>(kBarWidth - filled), ' ') << "] " << percent << "%" << std::flush;
        } else if (percent / 10 > reported) {
            reported = percent / 10;
            err << "restarting: " << reported * 10 << "%\n";
        }
        platform::Threading().Sleep(kRestartStepMillis);
    }
    platform::Threading().Sleep(kRestartMillis - kRestartSteps * kRestartStepMillis);
    if (terminal) err << "\n";
    AddOnState.RestartOutcome = 0;
}

// The run itself, with the files reported as they are written. False after "Please check
// hard drives.".
bool Install(InstallRun run, std::ostream& out, std::ostream& err) {
    SequenceCallbacks callbacks;
    callbacks.closeWindow = [] {};
    callbacks.writing = [&out](std::string_view name, std::size_t index, std::size_t count) {
        out << "writing " << name << " (" << index + 1 << " of " << count << ")\n" << std::flush;
    };
    if (RunInstallationSequence(run, callbacks) == SequenceOutcome::Aborted) {
        err << "ofu: " << kCheckHardDrivesMessage << "\n";
        return false;
    }
    return true;
}

}  // namespace

int RunPayloads(const CliRequest& request, std::ostream& out) {
    if (request.json) {
        Json rows = Json::array();
        for (const PayloadEntry& entry : PayloadCatalogue())
            rows.push_back({{"type", entry.type},
                            {"id", entry.id},
                            {"size", entry.size},
                            {"kind", entry.description},
                            {"name", entry.deviceName},
                            {"codepage", entry.belongsTo},
                            {"family", FamilyText(entry.family)}});
        out << rows.dump(2) << "\n";
        return kExitSuccess;
    }
    char line[160];
    std::snprintf(line, sizeof line, "%-8s %4s %9s  %-20s %-20s %-10s %s\n", "TYPE", "ID", "SIZE", "KIND", "NAME",
                  "FOR", "FAMILY");
    out << line;
    for (const PayloadEntry& entry : PayloadCatalogue()) {
        std::snprintf(line, sizeof line, "%-8.*s %4u %9u  %-20.*s %-20.*s %-10.*s %.*s\n",
                      static_cast<int>(entry.type.size()), entry.type.data(), entry.id, entry.size,
                      static_cast<int>(KindText(entry.kind).size()), KindText(entry.kind).data(),
                      static_cast<int>(entry.deviceName.empty() ? 1 : entry.deviceName.size()),
                      entry.deviceName.empty() ? "-" : entry.deviceName.data(), static_cast<int>(entry.belongsTo.size()),
                      entry.belongsTo.data(), static_cast<int>(FamilyText(entry.family).size()),
                      FamilyText(entry.family).data());
        out << line;
    }
    return kExitSuccess;
}

int RunPayload(const CliRequest& request, std::ostream& out, std::ostream& err) {
    const PayloadEntry* entry = nullptr;
    for (const PayloadEntry& candidate : PayloadCatalogue())
        if (candidate.id == request.payloadId) entry = &candidate;
    const auto bytes = platform::OwnResources().Find(entry->type, entry->id);
    if (bytes.empty()) {
        err << "ofu: payload " << request.payloadId << " is not in this program\n";
        return kExitDeviceFailure;
    }
    std::ofstream file(request.output, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        err << "ofu: " << request.output << " cannot be written\n";
        return kExitDeviceFailure;
    }
    out << entry->type << " " << entry->id << " (" << bytes.size() << " bytes) written to " << request.output << "\n";
    return kExitSuccess;
}

int RunInstallLanguage(const CliRequest& request, std::ostream& out, std::ostream& err) {
    SelectedDeviceAddress = request.address;
    const int state = AskDiskState(kLanguageDiskAttempts, kLanguageDiskPauseMillis);
    AddOnState.ExtendedCodepages = state == kDiskReadyExtended ? 1 : 0;
    if (const std::string_view refusal = LanguageRefusal(state); !refusal.empty()) {
        err << "ofu: " << refusal << "\n";
        if (state == kDriveNotFormatted) err << "ofu: format it on the device's page, http://" << request.address << "/\n";
        AddOnState.RestartOutcome = -1;
        return kExitDeviceFailure;
    }
    const CodepagePlan* current = CodepagePlanAt(AskCurrentCodepageIndex());
    out << "The device's language now: " << current->entry << " (" << current->codepageName << ")\n";
    const int index = request.languageIndex;
    if (AddOnState.ExtendedCodepages == 0 && index >= 3 && index <= 5) {
        err << "ofu: " << kRefusedCodepageMessage << "\n";
        AddOnState.RestartOutcome = -1;
        return kExitDeviceFailure;
    }
    AddOnState.SelectedCodepageIndex = index;
    AddOnState.InstallMode = 0;
    if (!Install(InstallRun::Codepage, out, err)) return kExitDeviceFailure;
    out << CodepagePlanAt(index)->entry << " (" << AddOnState.CodepageName << ") is installed\n";
    if (!request.noRestartWait) WaitForRestart(err);
    return kExitSuccess;
}

int RunInstallBitTorrent(const CliRequest& request, std::string_view password, std::ostream& out,
                         std::ostream& err) {
    SelectedDeviceAddress = request.address;
    // The administrator login: the empty password first, then the one given.
    LoginUserName = "admin";
    LoginPassword.clear();
    bool accepted = Login() != 0;
    if (!accepted && !password.empty()) {
        LoginPassword = password;
        accepted = Login() != 0;
    }
    if (!accepted) {
        err << "ofu: Wrong administrator password input!\n";
        return kExitDeviceFailure;
    }
    const BitTorrentReadiness readiness = AssessBitTorrentReadiness();
    if (!readiness.refusal.empty()) {
        err << "ofu: " << readiness.refusal << "\n";
        if (readiness.formatDisk) err << "ofu: format it on the device's page, http://" << request.address << "/\n";
        AddOnState.RestartOutcome = -1;
        return kExitDeviceFailure;
    }
    AddOnState.InstallMode = 1;
    const bool installed = Install(InstallRun::BitTorrent, out, err);
    AddOnState.InstallMode = 0;
    if (!installed) {
        // As the window after an abandoned run: unless an earlier setup was refused (never in a
        // fresh ofu), the staging folder goes; the run removed the files in it already.
        if (AddOnState.RestartOutcome == 0) platform::Disk().RemoveDirectory(kLocalBitTorrentFolder);
        return kExitDeviceFailure;
    }
    out << "BitTorrent is installed\n";
    if (!request.noRestartWait) WaitForRestart(err);
    AddOnState.BitTorrentInstalled = 0;
    platform::Disk().RemoveDirectory(kLocalBitTorrentFolder);
    return kExitSuccess;
}

}  // namespace ofu::cli
