// What the fault tests need beside tests/e2e/lab_support.h: the lab's own fault commands
// (impaired links, stopped simulators and servers), programs started in the background, and
// wall-clock measurements of the protocol's bounds.
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

// A program started in the background with its standard output and error captured.
class Background {
public:
    explicit Background(const std::vector<std::string>& argv);
    ~Background();
    Background(const Background&) = delete;
    Background& operator=(const Background&) = delete;

    // Reads standard output until it holds `text`; false at the end of output or after
    // `seconds`.
    bool WaitForOutput(const std::string& text, double seconds);
    // Waits for the program's end and returns its exit status (-1 when it did not exit).
    int Finish();
    // Ends the program (SIGTERM to its PID), then Finish().
    int Stop();

    const std::string& out() const { return out_; }
    const std::string& err() const { return err_; }

private:
    void Pump(int timeoutMillis);

    int pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    int status_ = -1;
    bool finished_ = false;
    std::string out_;
    std::string err_;
};

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
