#include "tests/e2e/lab_support.h"

#include "platform/linux/interface_addresses.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace ofu::e2e {
namespace {

std::filesystem::path LabDir() {
    const char* dir = std::getenv("OFU_LAB_DIR");
    return dir != nullptr ? std::filesystem::path(dir) : std::filesystem::path(".lab");
}

std::filesystem::path OwnDirectory() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

void DrainInto(int fd, std::string& sink, bool& open) {
    std::array<char, 4096> chunk{};
    const ssize_t n = ::read(fd, chunk.data(), chunk.size());
    if (n <= 0) {
        open = false;
        return;
    }
    sink.append(chunk.data(), static_cast<std::size_t>(n));
}

}  // namespace

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

std::vector<nlohmann::json> ReadJournals() {
    std::vector<nlohmann::json> lines;
    std::error_code error;
    for (const auto& file : std::filesystem::directory_iterator(LabDir(), error)) {
        const std::string name = file.path().filename().string();
        if (name.rfind("journal-", 0) != 0) continue;
        std::ifstream in(file.path());
        for (std::string line; std::getline(in, line);) {
            auto parsed = nlohmann::json::parse(line, nullptr, false);
            if (!parsed.is_discarded()) lines.push_back(std::move(parsed));
        }
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

ProcessResult RunOfu(const std::vector<std::string>& args, const std::string& input) {
    const std::string program = (OwnDirectory() / "ofu").string();
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    int in[2], out[2], err[2];
    if (::pipe(in) != 0 || ::pipe(out) != 0 || ::pipe(err) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) ::close(fd);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    if (!input.empty()) (void)!::write(in[1], input.data(), input.size());
    ::close(in[1]);

    ProcessResult result;
    bool outOpen = true, errOpen = true;
    while (outOpen || errOpen) {
        std::array<pollfd, 2> fds{pollfd{outOpen ? out[0] : -1, POLLIN, 0}, pollfd{errOpen ? err[0] : -1, POLLIN, 0}};
        if (::poll(fds.data(), fds.size(), -1) < 0) break;
        if (fds[0].revents != 0) DrainInto(out[0], result.out, outOpen);
        if (fds[1].revents != 0) DrainInto(err[0], result.err, errOpen);
    }
    ::close(out[0]);
    ::close(err[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace ofu::e2e
