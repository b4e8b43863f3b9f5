#include "tests/e2e/faults/fault_lab_support.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

namespace ofu::e2e {
namespace {

std::string Env(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : fallback;
}

std::vector<char*> ArgumentVector(const std::vector<std::string>& argv) {
    std::vector<char*> pointers;
    for (const auto& arg : argv) pointers.push_back(const_cast<char*>(arg.c_str()));
    pointers.push_back(nullptr);
    return pointers;
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

std::vector<nlohmann::json> ReadLabJsonLines(const std::string& fileName) {
    std::vector<nlohmann::json> lines;
    std::ifstream in(std::filesystem::path(Env("OFU_LAB_DIR", ".lab")) / fileName);
    for (std::string line; std::getline(in, line);) {
        auto parsed = nlohmann::json::parse(line, nullptr, false);
        if (!parsed.is_discarded()) lines.push_back(std::move(parsed));
    }
    return lines;
}

Background::Background(const std::vector<std::string>& argv) {
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return;
    if (::pipe2(err, O_CLOEXEC) != 0) {
        ::close(out[0]);
        ::close(out[1]);
        return;
    }
    auto pointers = ArgumentVector(argv);
    pid_ = ::fork();
    if (pid_ == 0) {
        const int devNull = ::open("/dev/null", O_RDONLY);
        ::dup2(devNull, 0);
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        ::execvp(pointers[0], pointers.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    outFd_ = out[0];
    errFd_ = err[0];
}

Background::~Background() {
    if (pid_ > 0 && !finished_) Stop();
}

void Background::Pump(int timeoutMillis) {
    std::array<pollfd, 2> fds{pollfd{outFd_, POLLIN, 0}, pollfd{errFd_, POLLIN, 0}};
    if (::poll(fds.data(), fds.size(), timeoutMillis) <= 0) return;
    std::array<char, 4096> chunk{};
    for (std::size_t i = 0; i < fds.size(); ++i) {
        if (fds[i].revents == 0) continue;
        int& fd = i == 0 ? outFd_ : errFd_;
        const ssize_t n = ::read(fd, chunk.data(), chunk.size());
        if (n <= 0) {
            ::close(fd);
            fd = -1;
            continue;
        }
        (i == 0 ? out_ : err_).append(chunk.data(), static_cast<std::size_t>(n));
    }
}

bool Background::WaitForOutput(const std::string& text, double seconds) {
    const Stopwatch clock;
    while (out_.find(text) == std::string::npos) {
        if (outFd_ < 0 || clock.Seconds() > seconds) return false;
        Pump(20);
    }
    return true;
}

int Background::Finish() {
    if (pid_ <= 0) return -1;
    if (finished_) return status_;
    while (outFd_ >= 0 || errFd_ >= 0) Pump(-1);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    finished_ = true;
    return status_;
}

int Background::Stop() {
    if (pid_ > 0 && !finished_) ::kill(pid_, SIGTERM);
    return Finish();
}

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
