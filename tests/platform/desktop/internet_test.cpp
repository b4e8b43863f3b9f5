#include "platform/linux/linux_internet.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace ofu::platform {
namespace {

// A TCP socket on 127.0.0.1 at a free port, listening or only bound (connections refused).
class LoopbackSocket {
public:
    explicit LoopbackSocket(bool listening) : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            (listening && ::listen(fd_, 4) != 0) ||
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        port = std::to_string(ntohs(address.sin_port));
    }
    ~LoopbackSocket() { ::close(fd_); }
    LoopbackSocket(const LoopbackSocket&) = delete;
    LoopbackSocket& operator=(const LoopbackSocket&) = delete;
    std::string port;

private:
    int fd_;
};

TEST(CheckingAWebServer, FindsAListenerOnLoopback) {
    LoopbackSocket server(true);
    ASSERT_FALSE(server.port.empty());
    LinuxInternet internet;
    EXPECT_TRUE(internet.CheckConnection("http://127.0.0.1:" + server.port, kFlagIccForceConnection));
    EXPECT_TRUE(internet.CheckConnection("HTTP://127.0.0.1:" + server.port + "/index.html?a=1", 0));
    EXPECT_TRUE(internet.CheckConnection("https://admin@127.0.0.1:" + server.port + "#top", 0));
}

TEST(CheckingAWebServer, AnswersAtOnceForAClosedPort) {
    LoopbackSocket closed(false);
    ASSERT_FALSE(closed.port.empty());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(LinuxInternet().CheckConnection("http://127.0.0.1:" + closed.port, kFlagIccForceConnection));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
}

TEST(CheckingAWebServer, RefusesMalformedUrlsEvenWhenTheServerListens) {
    LoopbackSocket server(true);
    ASSERT_FALSE(server.port.empty());
    LinuxInternet internet;
    for (const std::string& url : std::vector<std::string>{
             "ftp://127.0.0.1:" + server.port, "127.0.0.1:" + server.port, "http:/127.0.0.1:" + server.port,
          "http://:" + server.port, "http://127.0.0.1:" + server.port + "x", "http://127.0.0.1:0",
          "http://127.0.0.1:65536", "http://127.0.0.1:-" + server.port, "http://127.0.0 .1:" + server.port,
          "http://[127.0.0.1:" + server.port, ""})
        EXPECT_FALSE(internet.CheckConnection(url, kFlagIccForceConnection)) << url;
}

}  // namespace
}  // namespace ofu::platform
