// Drive mapping and the web launch against the lab's real servers, timed as a user meets them
// in the main window (offscreen): Connect on a guest share until "Successfully mapped drive.",
// beside `smbclient -c ls` on the same share in the same run, for a modern file server and for
// one of the devices' own age (SMB1 only, on port 139 only), both known only by NetBIOS; and
// for a device that went silent after the search, Connect until "Failed to map drive." and
// Configuration until "Device is no longer available.".
//
//   bench/run-access-bench [RUNS]      (brings up its own lab and runs this inside it)
#include "app/main_dialog.h"
#include "bench/spawned_program.h"
#include "platform/services.h"
#include "protocol/transport.h"
#include "resources/control_ids.h"
#include "resources/resource_ids.h"
#include "tests/e2e/qt_window_driver.h"
#include "ui/backend.h"
#include "ui/qt/qt_backend.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using ofu::e2e::ClickButton;
using ofu::e2e::ClickRow;

struct Summary {
    double median = 0, low = 0, high = 0;
};

Summary Summarise(std::vector<double> values) {
    if (values.empty()) return {};
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

void Report(const char* what, const Summary& s) {
    std::printf("%-58s median %8.1f ms  (min %.1f, max %.1f)\n", what, s.median, s.low, s.high);
}

class Bench {
public:
    explicit Bench(ofu::ui::QtBackend& qt) : qt_(qt), open_(qt.Open(main_)), answers_(qt) {
        qt.SetMessageHook([this](const ofu::ui::MessageRequest& message) {
            lastMessage_ = message.text;
            messageAt_ = Clock::now();
            return ofu::ui::kIdOk;
        });
    }

    // Presses `button` and gives the time until the message box that ends the handler's work.
    double PressUntilMessage(int button, const std::string& expected) {
        lastMessage_.clear();
        const auto start = Clock::now();
        ClickButton(open_.Window(), button);
        if (lastMessage_ != expected) {
            std::fprintf(stderr, "expected \"%s\", saw \"%s\"\n", expected.c_str(), lastMessage_.c_str());
            return -1;
        }
        return std::chrono::duration<double, std::milli>(messageAt_ - start).count();
    }

    bool Choose(const std::string& device, const std::string& volume) {
        return ClickRow(open_.Window(), ofu::ids::kDeviceList, device) &&
               ClickRow(open_.Window(), ofu::ids::kVolumeList, volume);
    }
    void ChooseLetter(const std::string& drive) {
        ofu::ui::DialogSurface& s = main_.Surface();
        for (int row = 0; row < s.ComboCount(ofu::ids::kDriveLetterBox); ++row)
            if (s.GetComboItemText(ofu::ids::kDriveLetterBox, row).rfind(drive, 0) == 0)
                s.SetCurSel(ofu::ids::kDriveLetterBox, row);
    }
    void CancelTheLoginDialog() {
        answers_.Expect(ofu::ui::kLoginDialogId,
                        [](ofu::ui::QtDialogWindow& login) { ClickButton(login, ofu::ui::kIdCancel); });
    }

private:
    ofu::ui::QtBackend& qt_;
    ofu::MainDialog main_;
    ofu::ui::QtOpenDialog open_;
    ofu::e2e::DialogAnswers answers_;
    std::string lastMessage_;
    Clock::time_point messageAt_;
};

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int toolkitArgc = 1;
    QApplication application(toolkitArgc, argv);
    ofu::platform::InitPlatformServices();
    ofu::ui::InitBackend(std::make_unique<ofu::ui::QtBackend>());
    auto& qt = static_cast<ofu::ui::QtBackend&>(*ofu::ui::ActiveBackend());
    ofu::StartTransport();

    // Per server: the device, its share, and what smbclient needs to reach it.
    struct Server {
        const char* device;
        const char* share;
        std::vector<std::string> smbclientOptions;
        std::vector<double> connects, listings;
    };
    Server servers[] = {{"NAS1", "HDD_a", {}, {}, {}},
                        {"OLD1", "HDD_a", {"--option=client min protocol=NT1"}, {}, {}}};
    std::vector<double> goneConnects, goneConfigurations;
    {
        Bench bench(qt);
        for (int run = 0; run < runs; ++run) {
            for (Server& server : servers) {
                bench.Choose(server.device, server.share);
                bench.ChooseLetter("Z:");
                server.connects.push_back(
                    bench.PressUntilMessage(ofu::ids::kConnectButton, "Successfully mapped drive."));
                bench.Choose(server.device, server.share);
                bench.PressUntilMessage(ofu::ids::kDisconnectButton, "Successfully unmapped drive.");
                std::vector<std::string> listing{"smbclient", std::string("//") + server.device + "/" + server.share,
                                                 "-N", "-c", "ls"};
                listing.insert(listing.end(), server.smbclientOptions.begin(), server.smbclientOptions.end());
                server.listings.push_back(ofu::bench::TimeProgram(listing));
            }
        }
        const int absentRuns = std::max(1, runs / 3);
        for (int run = 0; run < absentRuns; ++run) {
            bench.Choose("GONE", "HDD_a");
            bench.ChooseLetter("Y:");
            bench.CancelTheLoginDialog();
            goneConnects.push_back(bench.PressUntilMessage(ofu::ids::kConnectButton, "Failed to map drive."));
            bench.Choose("GONE", "HDD_a");
            goneConfigurations.push_back(
                bench.PressUntilMessage(ofu::ids::kConfigurationButton, "Device is no longer available."));
        }
    }
    const auto failed = [](const std::vector<double>& series) {
        return std::find(series.begin(), series.end(), -1.0) != series.end();
    };
    if (failed(goneConnects) || failed(goneConfigurations) ||
        std::any_of(std::begin(servers), std::end(servers),
                    [&](const Server& server) { return failed(server.connects) || failed(server.listings); })) {
        std::fprintf(stderr, "a run failed; no figures\n");
        return 1;
    }

    std::printf("%d runs, the lab's smbd and nmbd, guest shares, names known only by NetBIOS\n", runs);
    for (const Server& server : servers) {
        const Summary connect = Summarise(server.connects);
        const Summary listing = Summarise(server.listings);
        const std::string share = std::string("\\\\") + server.device + "\\" + server.share;
        Report(("Connect " + share + " to \"Successfully mapped drive.\"").c_str(), connect);
        Report(("smbclient -c ls on " + share + " (a whole process)").c_str(), listing);
        std::printf("%-58s %8.2f\n", "ratio Connect / smbclient (medians)", connect.median / listing.median);
    }
    Report("silent device: Connect to \"Failed to map drive.\"", Summarise(goneConnects));
    Report("silent device: Configuration to its message", Summarise(goneConfigurations));

    ofu::StopTransport();
    ofu::ui::FreeBackend();
    ofu::platform::FreePlatformServices();
    return 0;
}
