#include "platform/linux/netbios_name_query.h"

#include "platform/linux/deadline.h"
#include "platform/linux/interface_addresses.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/random.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>

namespace ofu::platform::linux_net {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kNameLength = 16;            // 15 characters and the suffix
constexpr std::size_t kEncodedLength = 2 * kNameLength;
constexpr std::size_t kHeaderLength = 12;
constexpr std::size_t kMaxNameBytes = 255;         // a name's labels with their length bytes

constexpr std::uint16_t kFlagResponse = 0x8000;
constexpr std::uint16_t kFlagRecursionDesired = 0x0100;
constexpr std::uint16_t kFlagBroadcast = 0x0010;
constexpr int kOpcodeShift = 11;
constexpr std::uint16_t kOpcodeMask = 0x0F;
constexpr std::uint16_t kRcodeMask = 0x000F;
constexpr std::uint16_t kTypeNb = 0x0020;
constexpr std::uint16_t kClassIn = 0x0001;
constexpr std::uint16_t kEntryGroup = 0x8000;      // NB_FLAGS: a group name, not one host's
constexpr std::size_t kEntryLength = 6;            // NB_FLAGS and the address

constexpr auto kResendInterval = std::chrono::milliseconds(250);
constexpr auto kStopPollInterval = std::chrono::milliseconds(50);

// Reads a datagram front to back; every read fails rather than run past the end.
class DatagramReader {
public:
    explicit DatagramReader(std::span<const std::uint8_t> bytes, std::size_t offset = 0)
        : bytes_(bytes), offset_(offset) {}

    std::size_t offset() const { return offset_; }
    bool u8(std::uint8_t& value) {
        if (bytes_.size() - offset_ < 1) return false;
        value = bytes_[offset_++];
        return true;
    }
    bool u16(std::uint16_t& value) {
        if (bytes_.size() - offset_ < 2) return false;
        value = static_cast<std::uint16_t>(bytes_[offset_] << 8 | bytes_[offset_ + 1]);
        offset_ += 2;
        return true;
    }
    bool take(std::size_t count, std::span<const std::uint8_t>& part) {
        if (bytes_.size() - offset_ < count) return false;
        part = bytes_.subspan(offset_, count);
        offset_ += count;
        return true;
    }
    bool skip(std::size_t count) {
        std::span<const std::uint8_t> ignored;
        return take(count, ignored);
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t offset_;
};

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The name as it travels: one 32-byte label holding NAME<suffix> first-level encoded, and
// the empty label that ends it (this workstation uses no scope).
Bytes EncodedName(std::string_view name, std::uint8_t suffix) {
    std::array<std::uint8_t, kNameLength> plain{};
    plain.fill(' ');
    for (std::size_t i = 0; i < name.size(); ++i) plain[i] = static_cast<std::uint8_t>(Upper(name[i]));
    plain[kNameLength - 1] = suffix;
    Bytes encoded{static_cast<std::uint8_t>(kEncodedLength)};
    for (const std::uint8_t byte : plain) {
        encoded.push_back(static_cast<std::uint8_t>('A' + (byte >> 4)));
        encoded.push_back(static_cast<std::uint8_t>('A' + (byte & 0x0F)));
    }
    encoded.push_back(0);
    return encoded;
}

void PutU16(Bytes& bytes, std::uint16_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

// Reads the name that starts at the reader's position into `labels` (its labels with their
// length bytes and the ending empty label, compression pointers followed) and leaves the
// reader after it. A pointer must point before itself, so that no chain of them can loop;
// a reserved label type, a name longer than 255 bytes or one that runs past the datagram
// makes the read fail.
bool ReadName(std::span<const std::uint8_t> datagram, DatagramReader& reader, Bytes& labels) {
    labels.clear();
    DatagramReader at = reader;
    bool jumped = false;
    for (;;) {
        const std::size_t labelStart = at.offset();
        std::uint8_t length = 0;
        if (!at.u8(length)) return false;
        if ((length & 0xC0) == 0xC0) {
            std::uint8_t low = 0;
            if (!at.u8(low)) return false;
            const std::size_t target = static_cast<std::size_t>(length & 0x3F) << 8 | low;
            if (target >= labelStart) return false;
            if (!jumped) reader = at;
            jumped = true;
            at = DatagramReader(datagram, target);
            continue;
        }
        if ((length & 0xC0) != 0) return false;
        std::span<const std::uint8_t> label;
        if (!at.take(length, label)) return false;
        if (labels.size() + 1 + length > kMaxNameBytes) return false;
        labels.push_back(length);
        labels.insert(labels.end(), label.begin(), label.end());
        if (length == 0) break;
    }
    if (!jumped) reader = at;
    return true;
}

// The address of the first unique entry of an NB record's data, or empty when there is
// none or it is an address no host can have.
std::string FirstUniqueAddress(std::span<const std::uint8_t> data) {
    DatagramReader entries(data);
    std::uint16_t flags = 0;
    std::span<const std::uint8_t> address;
    while (entries.u16(flags) && entries.take(4, address)) {
        if ((flags & kEntryGroup) != 0) continue;
        const bool unset = std::all_of(address.begin(), address.end(), [](std::uint8_t b) { return b == 0; });
        const bool everyone = std::all_of(address.begin(), address.end(), [](std::uint8_t b) { return b == 0xFF; });
        if (unset || everyone) return {};
        return std::to_string(address[0]) + '.' + std::to_string(address[1]) + '.' + std::to_string(address[2]) +
               '.' + std::to_string(address[3]);
    }
    return {};
}

// A fresh transaction id from the kernel's random source, or from the clock when that
// source cannot give one at once.
std::uint16_t RandomTransactionId() {
    std::uint16_t id = 0;
    if (::getrandom(&id, sizeof id, GRND_NONBLOCK) == static_cast<ssize_t>(sizeof id)) return id;
    const auto ticks = static_cast<std::uint64_t>(Clock::now().time_since_epoch().count());
    return static_cast<std::uint16_t>(ticks ^ (ticks >> 16) ^ (ticks >> 32));
}

// The broadcast address of every local interface that can broadcast, each once.
std::vector<sockaddr_in> BroadcastTargets() {
    std::vector<sockaddr_in> targets;
    for (const InterfaceAddress& entry : ListInterfaceAddresses()) {
        sockaddr_in target{};
        target.sin_family = AF_INET;
        target.sin_port = htons(kNameServicePort);
        if (entry.broadcast.empty() || ::inet_pton(AF_INET, entry.broadcast.c_str(), &target.sin_addr) != 1) continue;
        const bool known = std::any_of(targets.begin(), targets.end(), [&](const sockaddr_in& t) {
            return t.sin_addr.s_addr == target.sin_addr.s_addr;
        });
        if (!known) targets.push_back(target);
    }
    return targets;
}

// A UDP socket on an ephemeral port that may send to broadcast addresses, closed when it
// goes out of scope.
class QuerySocket {
public:
    QuerySocket() : fd_(::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)) {
        if (fd_ < 0) return;
        const int on = 1;
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_ANY);
        if (::setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0 ||
            ::bind(fd_, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~QuerySocket() {
        if (fd_ >= 0) ::close(fd_);
    }
    QuerySocket(const QuerySocket&) = delete;
    QuerySocket& operator=(const QuerySocket&) = delete;

    bool open() const { return fd_ >= 0; }

    // Sends to every target; an interface that cannot send now (down since it was listed)
    // does not keep the others from being asked.
    void sendToAll(const Bytes& datagram, const std::vector<sockaddr_in>& targets) const {
        for (const sockaddr_in& target : targets)
            ::sendto(fd_, datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&target),
                     sizeof target);
    }

    enum class Wait { Readable, Nothing, Failed };
    // Waits up to `millis` for a datagram to arrive.
    Wait waitReadable(int millis) const {
        pollfd waiting{fd_, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, millis);
        if (ready < 0) return errno == EINTR ? Wait::Nothing : Wait::Failed;
        // A pending socket error also wakes the poll; the next receive reads and clears it.
        return ready == 0 ? Wait::Nothing : Wait::Readable;
    }

    // The next waiting datagram's size, or -1 when none is waiting. A datagram larger than
    // the buffer is dropped (no answer to a name query comes near that size).
    ssize_t receive(std::span<std::uint8_t> buffer) const {
        for (;;) {
            const ssize_t received = ::recv(fd_, buffer.data(), buffer.size(), MSG_DONTWAIT | MSG_TRUNC);
            if (received < 0 && errno == EINTR) continue;
            if (received < 0) return -1;
            if (static_cast<std::size_t>(received) <= buffer.size()) return received;
        }
    }

private:
    int fd_;
};

}  // namespace

bool IsNetbiosName(std::string_view name) {
    if (name.empty() || name.size() > kNameLength - 1) return false;
    if (name.front() == ' ' || name.back() == ' ') return false;
    constexpr std::string_view kRefused = ".*\\/:?\"<>|";
    return std::all_of(name.begin(), name.end(), [&](char c) {
        return c >= 0x20 && c <= 0x7E && kRefused.find(c) == std::string_view::npos;
    });
}

std::vector<std::uint8_t> BuildNameQuery(std::string_view name, std::uint8_t suffix, std::uint16_t id) {
    if (!IsNetbiosName(name)) return {};
    Bytes datagram;
    PutU16(datagram, id);
    PutU16(datagram, kFlagRecursionDesired | kFlagBroadcast);  // opcode 0: query
    PutU16(datagram, 1);  // one question
    PutU16(datagram, 0);  // no answers,
    PutU16(datagram, 0);  // authority records
    PutU16(datagram, 0);  // or additional records
    const Bytes encoded = EncodedName(name, suffix);
    datagram.insert(datagram.end(), encoded.begin(), encoded.end());
    PutU16(datagram, kTypeNb);
    PutU16(datagram, kClassIn);
    return datagram;
}

std::string ParseNameQueryResponse(std::span<const std::uint8_t> datagram, std::string_view name,
                                   std::uint8_t suffix, std::uint16_t id) {
    if (!IsNetbiosName(name)) return {};
    DatagramReader reader(datagram);
    std::uint16_t answerId = 0, flags = 0, questions = 0, answers = 0;
    if (!reader.u16(answerId) || !reader.u16(flags) || !reader.u16(questions) || !reader.u16(answers) ||
        !reader.skip(kHeaderLength - 8))
        return {};
    if (answerId != id || (flags & kFlagResponse) == 0 || ((flags >> kOpcodeShift) & kOpcodeMask) != 0 ||
        (flags & kRcodeMask) != 0)
        return {};

    Bytes labels;
    // Some servers repeat the question; it is only stepped over.
    for (unsigned i = 0; i < questions; ++i)
        if (!ReadName(datagram, reader, labels) || !reader.skip(4)) return {};

    const Bytes wanted = EncodedName(name, suffix);
    for (unsigned i = 0; i < answers; ++i) {
        std::uint16_t type = 0, recordClass = 0, dataLength = 0;
        std::span<const std::uint8_t> data;
        if (!ReadName(datagram, reader, labels) || !reader.u16(type) || !reader.u16(recordClass) ||
            !reader.skip(4) /* time to live */ || !reader.u16(dataLength) || !reader.take(dataLength, data))
            return {};
        if (labels != wanted || type != kTypeNb || recordClass != kClassIn || dataLength % kEntryLength != 0)
            continue;
        return FirstUniqueAddress(data);
    }
    return {};
}

std::string QueryNetbiosName(std::string_view name, int limitMillis, const std::atomic<bool>& stop) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(limitMillis, 0));
    if (!IsNetbiosName(name) || stop.load()) return {};
    const std::vector<sockaddr_in> targets = BroadcastTargets();
    if (targets.empty()) return {};
    const QuerySocket socket;
    if (!socket.open()) return {};

    const std::uint16_t id = RandomTransactionId();
    const Bytes query = BuildNameQuery(name, kFileServerSuffix, id);
    std::array<std::uint8_t, 2048> buffer{};
    auto nextSend = Clock::now();
    while (!stop.load()) {
        const auto now = Clock::now();
        if (now >= deadline) break;
        if (now >= nextSend) {
            socket.sendToAll(query, targets);
            nextSend = now + kResendInterval;
        }
        const auto wakeAt = std::min({deadline, nextSend, now + kStopPollInterval});
        const QuerySocket::Wait waited = socket.waitReadable(MillisLeft(wakeAt));
        if (waited == QuerySocket::Wait::Failed) break;
        if (waited == QuerySocket::Wait::Nothing) continue;
        // A flood of foreign datagrams must not hold the query past its limit or its stop.
        for (ssize_t size = socket.receive(buffer); size >= 0 && !stop.load() && Clock::now() < deadline;
             size = socket.receive(buffer)) {
            const std::span<const std::uint8_t> answer(buffer.data(), static_cast<std::size_t>(size));
            std::string address = ParseNameQueryResponse(answer, name, kFileServerSuffix, id);
            if (!address.empty()) return address;
        }
    }
    return {};
}

}  // namespace ofu::platform::linux_net
