// The configuration of one simulated device: what it answers and which faults it injects.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "byte_text.h"
#include "malformed_answers.h"

namespace ofu::devsim {

inline constexpr const char* kAdminUserName = "admin";

enum class AnswerDestination { kGroup, kUnicast };

// The answers of successive queries of one kind: entry k answers the (k+1)th query, the last
// entry every later one; nullopt means no answer at all. Empty: the single value answers.
using AnswerSequence = std::vector<std::optional<std::string>>;
inline constexpr std::size_t kMaxSequenceEntries = 64;

// The longest restart silence a config may ask for.
inline constexpr int kMaxRestartSilenceMs = 600000;

struct FaultConfig {
    int delayMs = 0;                   // every answer leaves this much later
    double dropProbability = 0.0;      // each answer datagram is lost with this probability
    std::uint64_t seed = 1;            // seed of the drop decisions
    int duplicates = 0;                // extra copies of each answer, sent after it
    int foreignClientAnswers = 0;      // copies with another ClientId, sent before it
    int otherTypeAnswers = 0;          // copies with another answer type, sent before it
    std::vector<MalformedKind> malformed;  // broken variants, sent before it
    bool malformedReplacesAnswer = false;  // send only the broken variants
    // The device answers this many queries and set requests for its key, then none: a device
    // that falls silent in the middle of a run. Searches are always answered. -1: no limit.
    int answerLimit = -1;
};

// How the lab's smbd serves a volume's share: the account it asks for (none: a guest share),
// and the faults of a disk that refuses writes.
struct ShareAccount {
    std::string user;      // 1 to 32 of [A-Za-z0-9_.-], starting with a letter; empty: guest
    std::string password;  // 1 to 64 printable ASCII characters; empty with an empty user
    bool readOnly = false;  // the share takes no writes
    int sizeKib = 0;        // above 0: the share's add-on folders (or the share) hold this much
    bool operator==(const ShareAccount&) const = default;
};

// The smallest and largest size a lab share may be limited to.
inline constexpr int kMinShareSizeKib = 16;
inline constexpr int kMaxShareSizeKib = 1024 * 1024;

struct DeviceConfig {
    std::string name;
    std::string ip;  // dotted; the device's address at start
    std::string netmask = "255.255.255.0";
    std::string gateway;
    bool dhcp = false;
    DeviceIdBytes deviceId{};
    std::uint8_t answerForm = 8;  // 2, 7 or 8
    std::uint8_t matchByte1 = 3;
    std::uint8_t matchByte2 = 3;
    std::string model;
    std::vector<std::string> volumes;
    std::string workgroup = "WORKGROUP";
    std::string codepage = "850";
    std::string ideOk = "1";
    std::string shareName = "HDD_a";
    std::string btFirmware = "1";
    AnswerSequence ideOkSequence;       // replace ideOk, codepage, btFirmware and shareName
    AnswerSequence codepageSequence;    // when not empty
    AnswerSequence btFirmwareSequence;
    AnswerSequence shareNameSequence;
    std::string domain;
    std::string ssl = "0";
    std::string adminPassword;
    std::string dhcpAddress;  // dotted; the address its DHCP client obtains; empty: keep ip
    AnswerDestination answerTo = AnswerDestination::kGroup;
    std::string link = "dev1";  // "dev1", "dev2" or "both"
    FaultConfig faults;
    // After an answered codepage or add-on set request the device restarts: it answers
    // nothing for this long, then answers with the codepage that was set.
    int restartSilenceMs = 0;
    // The lab's real servers for the device; the simulator itself does not use these.
    std::map<std::string, ShareAccount> shares;  // volume -> account; other volumes are guest shares
    bool smbServer = true;                       // the lab runs an smbd (when there are volumes)
    std::string smbProtocol = "modern";          // "NT1": its smbd speaks SMB1 (NT1) only
    std::vector<int> smbPorts{445};              // its smbd's ports: 445 and/or 139
    bool webServer = true;                       // the lab runs a web server
    bool addOnFolders = true;                    // the lab gives the share_name share its add-on folders
    // The lab gives the address no host: the device answers the protocol, but connections to
    // it go unanswered, as to a device unplugged after it was found.
    bool silentHost = false;
};

// Empty when the configuration is usable, otherwise one message naming the device and the
// field, such as: device "NAS1": field "ip": "10.77.1.300" is not a dotted IPv4 address.
std::string ValidateDeviceConfig(const DeviceConfig& config);

// Whether a device of this link is served by a simulator started for `link` ("dev1" or
// "dev2"); an empty filter serves every device.
bool ServesLink(const DeviceConfig& config, const std::string& link);

}  // namespace ofu::devsim
