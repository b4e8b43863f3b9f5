#include "tests/e2e/lab_support.h"

#include "platform/linux/interface_addresses.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace ofu::e2e {
namespace {

std::filesystem::path OwnDirectory() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

}  // namespace

std::filesystem::path LabDir() {
    const char* dir = std::getenv("OFU_LAB_DIR");
    return dir != nullptr && *dir != '\0' ? std::filesystem::path(dir) : std::filesystem::path(".lab");
}

std::string WhyNotInLab() {
    in_addr lab{};
    ::inet_pton(AF_INET, "10.77.0.0", &lab);
    for (const auto& entry : platform::linux_net::ListInterfaceAddresses()) {
        in_addr address{};
        ::inet_pton(AF_INET, entry.address.c_str(), &address);
        if ((ntohl(address.s_addr) & 0xFFFF0000u) != ntohl(lab.s_addr))
            return "local address " + entry.address + " lies outside the lab (10.77.0.0/16): run these tests "
                   "through scripts/lab exec, never in the machine's own network namespace";
    }
    return {};
}

bool RefusedOutsideLab() {
    const std::string why = WhyNotInLab();
    if (why.empty()) return false;
    std::fprintf(stderr, "refusing to run: %s\n", why.c_str());
    return true;
}

std::vector<nlohmann::json> ReadJsonLines(const std::filesystem::path& path) {
    std::vector<nlohmann::json> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        auto parsed = nlohmann::json::parse(line, nullptr, false);
        if (!parsed.is_discarded()) lines.push_back(std::move(parsed));
    }
    return lines;
}

std::vector<nlohmann::json> ReadJournals() {
    std::vector<nlohmann::json> lines;
    std::error_code error;
    for (const auto& file : std::filesystem::directory_iterator(LabDir(), error)) {
        if (file.path().filename().string().rfind("journal-", 0) != 0) continue;
        auto journal = ReadJsonLines(file.path());
        lines.insert(lines.end(), std::make_move_iterator(journal.begin()), std::make_move_iterator(journal.end()));
    }
    return lines;
}

std::vector<std::string> SetsAnswered(const std::string& device, int subcode) {
    std::vector<std::string> payloads;
    for (const auto& line : ReadJournals())
        if (line.value("dir", "") == "in" && line.value("device", "") == device && line.value("op", 0) == 5 &&
            line.value("sub", 0) == subcode && line.value("status", "") == "answered")
            payloads.push_back(line.value("payload", ""));
    return payloads;
}

std::string OfuPath() { return (OwnDirectory() / "ofu").string(); }

ProcessResult RunOfu(const std::vector<std::string>& args, const std::string& input) {
    std::vector<std::string> argv{OfuPath()};
    argv.insert(argv.end(), args.begin(), args.end());
    Background ofu(argv, input);
    ProcessResult result;
    result.status = ofu.Finish();
    result.out = ofu.out();
    result.err = ofu.err();
    return result;
}

Background::Background(const std::vector<std::string>& argv, const std::string& input) {
    int in[2], out[2], err[2];
    if (::pipe2(in, O_CLOEXEC) != 0) return;
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) {
        for (int fd : {in[0], in[1], out[0], out[1]}) ::close(fd);
        return;
    }
    std::vector<char*> pointers;
    for (const auto& arg : argv) pointers.push_back(const_cast<char*>(arg.c_str()));
    pointers.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        ::execvp(pointers[0], pointers.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    // The inputs here are a line or two: they fit the pipe, so the write does not block.
    if (pid_ > 0 && !input.empty()) (void)!::write(in[1], input.data(), input.size());
    ::close(in[1]);
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
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (out_.find(text) == std::string::npos) {
        if (outFd_ < 0 || std::chrono::steady_clock::now() > end) return false;
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

}  // namespace ofu::e2e
