// Writing the largest payload (215, the 6.9 MB BitTorrent program) to the lab's smbd the way an
// installation does, beside `smbclient -c put` of the same bytes to the same share in the same
// run, and the process's resident memory during the write against before it (the payload is
// written from the executable's read-only pages, never copied).
//
//   bench/run-payload-bench [RUNS]     (brings up its own lab and runs this inside it)
#include "addons/write_payload.h"
#include "bench/spawned_program.h"
#include "platform/services.h"
#include "resources/payloads/embedded_payloads.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Millis(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

long StatusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    const std::string prefix = std::string(field) + ":";
    for (std::string line; std::getline(status, line);)
        if (line.rfind(prefix, 0) == 0) return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
    return -1;
}

// Resets the peak resident size, so that VmHWM afterwards is the peak of what follows.
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::string server = argc > 2 ? argv[2] : "10.77.1.10";
    ofu::platform::RegisterEmbeddedResources(ofu::EmbeddedPayloads());
    ofu::platform::InitPlatformServices();
    const auto payload = ofu::platform::OwnResources().Find("BT", 215);

    // The same bytes as a local file for smbclient.
    char local[] = "/tmp/ofu-bench-bt.XXXXXX";
    const int fd = mkstemp(local);
    if (fd < 0 || write(fd, payload.data(), payload.size()) != static_cast<ssize_t>(payload.size())) return 1;
    close(fd);

    const std::string remote = "\\\\" + server + "\\HDD_a\\Nas_Prog\\BT\\bt";
    std::vector<double> writes, puts;
    long before = 0, growth = 0, firstGrowth = 0;
    for (int run = 0; run < runs; ++run) {
        before = StatusKilobytes("VmRSS");
        ResetPeak();
        const auto start = Clock::now();
        if (ofu::WritePayload("BT", 215, remote, "") != 1) {
            std::fprintf(stderr, "payload 215 did not arrive at %s\n", remote.c_str());
            return 1;
        }
        writes.push_back(Millis(start));
        long& largest = run == 0 ? firstGrowth : growth;  // the first write also starts the client library
        largest = std::max(largest, StatusKilobytes("VmHWM") - before);
        puts.push_back(ofu::bench::TimeProgram({"smbclient", "//" + server + "/HDD_a", "-N", "-c",
                                    std::string("cd Nas_Prog/BT; put ") + local + " bt-put"}));
        if (puts.back() < 0) {
            std::fprintf(stderr, "smbclient put failed\n");
            return 1;
        }
    }
    unlink(local);
    const double write = Median(writes), put = Median(puts);
    std::printf("payload 215, %zu bytes, %d runs, \\\\%s\\HDD_a\n", payload.size(), runs, server.c_str());
    std::printf("%-52s median %7.1f ms\n", "WritePayload (offer, write, read back the size)", write);
    std::printf("%-52s median %7.1f ms\n", "smbclient -c put (a whole process)", put);
    std::printf("%-52s %7.2f (the aim: 1.0 or more)\n", "ratio smbclient / WritePayload", put / write);
    std::printf("%-52s %7ld kB (the client library starting up)\n", "growth of the resident peak, first write", firstGrowth);
    std::printf("%-52s %7ld kB (resident before: %ld kB)\n", "growth of the resident peak, later writes (largest)",
                growth, before);
    ofu::platform::FreePlatformServices();
    return 0;
}
