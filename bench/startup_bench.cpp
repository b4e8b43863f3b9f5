// Start-up of the windowed utility up to its main window on screen (offscreen here), without
// the first search's wait: the network is the in-memory one on virtual time, so the search
// costs only its processing. Reports the time and the resident memory after start.
//
//   ofu_startup_bench [RUNS]
#include "app/main_dialog.h"
#include "platform/services.h"
#include "protocol/transport.h"
#include "tests/support/hosted_devices.h"
#include "tests/support/memory_network.h"
#include "ui/backend.h"
#include "ui/qt/qt_backend.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include <unistd.h>
#include <string>
#include <vector>

namespace {

long StatusKilobytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field + ":", 0) == 0) return std::strtol(line.c_str() + field.size() + 1, nullptr, 10);
    return -1;
}

// Milliseconds since the kernel started this process (clock-tick resolution, 10 ms).
double MillisecondsSinceExec() {
    std::ifstream statFile("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
    const std::size_t afterName = stat.rfind(')');
    if (afterName == std::string::npos) return -1;
    std::istringstream fields(stat.substr(afterName + 2));
    std::string field;
    for (int k = 3; k <= 22 && fields >> field; ++k) {}
    const double startTicks = std::strtod(field.c_str(), nullptr);
    std::ifstream uptimeFile("/proc/uptime");
    double uptime = 0;
    uptimeFile >> uptime;
    return (uptime - startTicks / static_cast<double>(sysconf(_SC_CLK_TCK))) * 1000.0;
}

}  // namespace

int main(int argc, char** argv) {
    const auto processStart = std::chrono::steady_clock::now();
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");

    ofu::testing::VirtualClock clock;
    ofu::testing::MemoryNetwork network(clock);
    network.setLocalAddresses({"10.77.1.1", "10.77.2.1"});
    ofu::testing::HostedDevices devices(network);
    for (int k = 0; k < 8; ++k)
        devices.add(ofu::testing::HostedDevices::Config("NAS" + std::to_string(k), "10.77.1." + std::to_string(10 + k),
                                                        static_cast<std::uint8_t>(k)),
                    {0});
    ofu::InstallTransportBackends(&network, &clock);

    int toolkitArgc = 1;
    QApplication application(toolkitArgc, argv);
    ofu::platform::InitPlatformServices();
    ofu::ui::InitBackend(std::make_unique<ofu::ui::QtBackend>());
    auto& qt = static_cast<ofu::ui::QtBackend&>(*ofu::ui::ActiveBackend());

    std::vector<double> shownMs;
    double sinceExecMs = -1;
    for (int run = 0; run < runs; ++run) {
        const auto start = run == 0 ? processStart : std::chrono::steady_clock::now();
        ofu::StartTransport();
        {
            ofu::MainDialog main;
            ofu::ui::QtOpenDialog window = qt.Open(main);
            QApplication::processEvents();
            shownMs.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
            if (run == 0) sinceExecMs = MillisecondsSinceExec();
        }
        ofu::StopTransport();
    }
    const long rssKb = StatusKilobytes("VmRSS");
    const long peakKb = StatusKilobytes("VmHWM");
    std::sort(shownMs.begin() + 1, shownMs.end());
    std::printf("first start, main() to main window shown: %.1f ms\n", shownMs[0]);
    std::printf("first start, exec to main window shown: about %.0f ms (10 ms resolution)\n", sinceExecMs);
    if (runs > 1) std::printf("later opens of the main window, median: %.1f ms\n", shownMs[1 + (runs - 1) / 2]);
    std::printf("resident memory after start: %.1f MB (peak %.1f MB)\n", rssKb / 1024.0, peakKb / 1024.0);

    ofu::ui::FreeBackend();
    ofu::platform::FreePlatformServices();
    ofu::InstallTransportBackends(nullptr, nullptr);
    return 0;
}
