// Support for the tests that run inside the lab's workstation namespace: a guard that
// refuses to run anywhere else, the simulators' journals, and running programs such as `ofu`.
#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <vector>

namespace ofu::e2e {

// Empty when every local IPv4 address is loopback or inside 10.77.0.0/16 (the lab's own
// namespaces); otherwise why the tests must not run here.
std::string WhyNotInLab();

// For a lab test's main(): true, after saying why, when the tests must not run here.
bool RefusedOutsideLab();

// The lab's state folder (OFU_LAB_DIR, else ".lab").
std::filesystem::path LabDir();

// The lines of a JSON-lines file that parse; none when the file is missing.
std::vector<nlohmann::json> ReadJsonLines(const std::filesystem::path& path);

// Every journal line the lab's simulators wrote so far (OFU_LAB_DIR/journal-*.jsonl).
std::vector<nlohmann::json> ReadJournals();

// The set requests of `subcode` that reached `device` and were answered, with their payloads.
std::vector<std::string> SetsAnswered(const std::string& device, int subcode);

struct ProcessResult {
    int status = -1;  // exit status, or -1 when it did not exit normally
    std::string out;
    std::string err;
};

// The `ofu` next to this test binary.
std::string OfuPath();

// Runs the `ofu` next to this test binary with `args` and `input` on its standard input.
ProcessResult RunOfu(const std::vector<std::string>& args, const std::string& input = {});

// A program started with an argument vector (found on PATH), `input` on its standard input
// and its standard output and error captured.
class Background {
public:
    explicit Background(const std::vector<std::string>& argv, const std::string& input = {});
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

}  // namespace ofu::e2e
