#include "tests/e2e/faults/fault_lab_support.h"

#include "tests/e2e/lab_support.h"

#include <cstdio>
#include <cstdlib>
#include <map>

namespace ofu::e2e {
namespace {

std::string Env(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : fallback;
}

std::map<std::string, double>& WorstTimes() {
    static std::map<std::string, double> worst;
    return worst;
}

}  // namespace

int Lab(const std::vector<std::string>& args) {
    std::vector<std::string> argv{std::string(OFU_FAULTS_SOURCE_DIR) + "/scripts/lab"};
    argv.insert(argv.end(), args.begin(), args.end());
    Background lab(argv);
    const int status = lab.Finish();
    if (status != 0) std::fprintf(stderr, "scripts/lab %s: status %d\n%s", args.front().c_str(), status, lab.err().c_str());
    return status;
}

std::string LabNamespace(const std::string& which) { return Env("OFU_LAB_NS_PREFIX", "ofu") + "-" + which; }

std::vector<nlohmann::json> ReadLabJsonLines(const std::string& fileName) { return ReadJsonLines(LabDir() / fileName); }

double NominalSeconds(int polls, int drainPolls, int pauseMillis) {
    return ((polls + drainPolls) * 10 + (polls - 1) * pauseMillis) / 1000.0;
}

void RecordWallTime(const std::string& kind, double seconds) {
    double& worst = WorstTimes()[kind];
    if (seconds > worst) worst = seconds;
}

void PrintWallTimes() {
    std::printf("worst wall times:\n");
    for (const auto& [kind, seconds] : WorstTimes()) std::printf("  %-40s %.3f s\n", kind.c_str(), seconds);
}

}  // namespace ofu::e2e
