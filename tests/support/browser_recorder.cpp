// A stand-in browser for tests: each start appends one JSON line
//   {"argv": [every argument after argv[0]], "cwd": "the working folder"}
// to the file named by OFU_RECORDER_LOG, under an exclusive lock so that starts at the same
// time do not mix their lines, and exits 0. Exits 1 when the line cannot be written.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string WorkingFolder() {
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE || buffer.size() > (1u << 20)) return {};
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const char* logPath = std::getenv("OFU_RECORDER_LOG");
    if (logPath == nullptr || *logPath == '\0') {
        std::fputs("ofu-browser-recorder: OFU_RECORDER_LOG is not set\n", stderr);
        return 1;
    }
    nlohmann::json line;
    line["argv"] = nlohmann::json::array();
    for (int k = 1; k < argc; ++k) line["argv"].push_back(argv[k]);
    line["cwd"] = WorkingFolder();
    // Arguments need not be UTF-8; such bytes become U+FFFD rather than ending the record.
    const std::string text = line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";

    const int fd = ::open(logPath, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        std::perror("ofu-browser-recorder: open");
        return 1;
    }
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    const bool ok = WriteAll(fd, text);
    ::close(fd);  // also releases the lock
    return ok ? 0 : 1;
}
