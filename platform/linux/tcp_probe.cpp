#include "platform/linux/tcp_probe.h"

#include "platform/linux/deadline.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace ofu::platform::linux_net {
namespace {

// Looks a name up without blocking past the deadline (the resolver's own time-outs are
// several seconds per server). A lookup that is still running when the deadline passes is
// cancelled when possible; glibc finishes it on its own thread otherwise, so the request
// stays alive until it has ended.
bool LookUp(const std::string& name, Clock::time_point deadline, in_addr& address) {
    struct Lookup {
        gaicb request{};
        addrinfo hints{};
        std::string name;
    };
    auto* lookup = new Lookup;
    lookup->name = name;
    lookup->hints.ai_family = AF_INET;
    lookup->hints.ai_socktype = SOCK_STREAM;
    lookup->request.ar_name = lookup->name.c_str();
    lookup->request.ar_request = &lookup->hints;
    gaicb* list[] = {&lookup->request};
    if (::getaddrinfo_a(GAI_NOWAIT, list, 1, nullptr) != 0) {
        delete lookup;
        return false;
    }
    for (;;) {
        const int left = MillisLeft(deadline);
        const timespec wait{left / 1000, (left % 1000) * 1'000'000L};
        const gaicb* const pending[] = {&lookup->request};
        const int waited = ::gai_suspend(pending, 1, &wait);
        const int status = ::gai_error(&lookup->request);
        if (status != EAI_INPROGRESS) break;
        if (waited == EAI_AGAIN || MillisLeft(deadline) == 0) {
            const int cancelled = ::gai_cancel(&lookup->request);
            if (cancelled == EAI_ALLDONE && lookup->request.ar_result != nullptr)
                ::freeaddrinfo(lookup->request.ar_result);
            if (cancelled == EAI_CANCELED || cancelled == EAI_ALLDONE) delete lookup;
            // Not cancelled: the lookup's thread still uses it; it is left to that thread
            // (a few bytes, only when a name server does not answer).
            return false;
        }
    }
    bool found = false;
    if (::gai_error(&lookup->request) == 0 && lookup->request.ar_result != nullptr) {
        for (const addrinfo* a = lookup->request.ar_result; a != nullptr && !found; a = a->ai_next) {
            if (a->ai_family != AF_INET || a->ai_addrlen < sizeof(sockaddr_in)) continue;
            address = reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr;
            found = true;
        }
    }
    if (lookup->request.ar_result != nullptr) ::freeaddrinfo(lookup->request.ar_result);
    delete lookup;
    return found;
}

bool Resolve(std::string_view host, Clock::time_point deadline, in_addr& address) {
    const std::string name(host);
    if (name.empty()) return false;
    if (::inet_pton(AF_INET, name.c_str(), &address) == 1) return true;
    return LookUp(name, deadline, address);
}

ProbeResult FromErrno(int error) {
    switch (error) {
        case ECONNREFUSED: return ProbeResult::Refused;
        case ETIMEDOUT: return ProbeResult::TimedOut;
        default: return ProbeResult::Unreachable;
    }
}

}  // namespace

const char* ProbeResultName(ProbeResult result) {
    switch (result) {
        case ProbeResult::Connected: return "connected";
        case ProbeResult::Refused: return "connection refused";
        case ProbeResult::Unreachable: return "host unreachable";
        case ProbeResult::TimedOut: return "no answer";
        case ProbeResult::Unresolved: return "unknown host";
    }
    return "unknown";
}

std::string ResolveIpv4(std::string_view host, int limitMillis) {
    in_addr address{};
    if (!Resolve(host, Clock::now() + std::chrono::milliseconds(std::max(limitMillis, 0)), address)) return {};
    char text[INET_ADDRSTRLEN] = {};
    return ::inet_ntop(AF_INET, &address, text, sizeof text) != nullptr ? std::string(text) : std::string();
}

ProbeResult ProbeTcp(std::string_view host, std::uint16_t port, int limitMillis) {
    return ProbeTcpPorts(host, std::span<const std::uint16_t>(&port, 1), limitMillis).front();
}

std::vector<ProbeResult> ProbeTcpPorts(std::string_view host, std::span<const std::uint16_t> ports, int limitMillis) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(limitMillis, 0));
    std::vector<ProbeResult> results(ports.size(), ProbeResult::TimedOut);
    in_addr address{};
    if (!Resolve(host, deadline, address)) {
        std::fill(results.begin(), results.end(), ProbeResult::Unresolved);
        return results;
    }

    // One non-blocking connect per port; fds[k] is -1 once port k has its answer.
    std::vector<int> fds(ports.size(), -1);
    std::size_t waiting = 0;
    for (std::size_t k = 0; k < ports.size(); ++k) {
        sockaddr_in target{};
        target.sin_family = AF_INET;
        target.sin_port = htons(ports[k]);
        target.sin_addr = address;
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            results[k] = ProbeResult::Unreachable;
        } else if (::connect(fd, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0) {
            results[k] = ProbeResult::Connected;
            ::close(fd);
        } else if (errno != EINPROGRESS) {
            results[k] = FromErrno(errno);
            ::close(fd);
        } else {
            fds[k] = fd;
            ++waiting;
        }
    }
    const auto firstConnected = [&] { return !results.empty() && results.front() == ProbeResult::Connected; };
    while (waiting > 0 && !firstConnected()) {
        std::vector<pollfd> polled;
        std::vector<std::size_t> which;
        for (std::size_t k = 0; k < fds.size(); ++k) {
            if (fds[k] < 0) continue;
            polled.push_back({fds[k], POLLOUT, 0});
            which.push_back(k);
        }
        const int ready = ::poll(polled.data(), polled.size(), MillisLeft(deadline));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) break;  // the limit passed: whoever still waits timed out
        for (std::size_t i = 0; i < polled.size(); ++i) {
            if (polled[i].revents == 0) continue;
            const std::size_t k = which[i];
            int error = 0;
            socklen_t length = sizeof error;
            if (::getsockopt(fds[k], SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
            results[k] = error == 0 ? ProbeResult::Connected : FromErrno(error);
            ::close(fds[k]);
            fds[k] = -1;
            --waiting;
        }
    }
    for (const int fd : fds)
        if (fd >= 0) ::close(fd);
    return results;
}

}  // namespace ofu::platform::linux_net
