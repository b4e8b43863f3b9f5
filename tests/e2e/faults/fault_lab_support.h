// What the fault tests need beside tests/e2e/lab_support.h: the lab's own fault commands
// (impaired links, stopped simulators and servers) and wall-clock measurements of the
// protocol's bounds.
#pragma once

#include <nlohmann/json.hpp>

#include <chrono>
#include <string>
#include <vector>

namespace ofu::e2e {

// Runs scripts/lab with `args` (the lab of this test: OFU_LAB_NS_PREFIX, OFU_LAB_DIR);
// its exit status.
int Lab(const std::vector<std::string>& args);

// The name of one of the lab's namespaces: "ws", "dev1" or "dev2" after the prefix.
std::string LabNamespace(const std::string& which);

// The lines of a JSON-lines file in OFU_LAB_DIR, such as a link relay's log.
std::vector<nlohmann::json> ReadLabJsonLines(const std::string& fileName);

// Seconds on the steady clock since construction.
class Stopwatch {
public:
    double Seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// The nominal time of a polling loop of the protocol: `polls` counted waits of 10 ms with
// `pauseMillis` between them, after `drainPolls` waits of 10 ms.
double NominalSeconds(int polls, int drainPolls, int pauseMillis);

// The worst wall time of each kind of command seen by a test, printed at the end of the run.
void RecordWallTime(const std::string& kind, double seconds);
void PrintWallTimes();

}  // namespace ofu::e2e
