// Support for the tests that run inside the lab's workstation namespace: a guard that
// refuses to run anywhere else, the simulators' journals, and running `ofu`.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace ofu::e2e {

// Empty when every local IPv4 address is loopback or inside 10.77.0.0/16 (the lab's own
// namespaces); otherwise why the tests must not run here.
std::string WhyNotInLab();

// For a lab test's main(): true, after saying why, when the tests must not run here.
bool RefusedOutsideLab();

// Every journal line the lab's simulators wrote so far (OFU_LAB_DIR/journal-*.jsonl).
std::vector<nlohmann::json> ReadJournals();

// The set requests of `subcode` that reached `device` and were answered, with their payloads.
std::vector<std::string> SetsAnswered(const std::string& device, int subcode);

struct ProcessResult {
    int status = -1;  // exit status, or -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs the `ofu` next to this test binary with `args` and `input` on its standard input.
ProcessResult RunOfu(const std::vector<std::string>& args, const std::string& input = {});

}  // namespace ofu::e2e
