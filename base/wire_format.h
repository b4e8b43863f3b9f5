// Bytes of the device management protocol: the group, the port, the opcodes, subcodes,
// answer types and every offset that requests and answers are laid out at. Both sides
// (the utility and the device simulator) take their numbers from here.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ofu::wire {

inline constexpr const char* kGroupAddress = "224.0.0.1";
inline constexpr std::uint16_t kPort = 13579;

// Every datagram is read into a buffer of this size; one more byte holds the terminator
// stored after the received bytes.
inline constexpr std::size_t kDatagramBufferSize = 4096;

// Request opcodes (byte 0 of a request).
enum Opcode : std::uint8_t {
    kOpSearch = 1,
    kOpQuery = 3,
    kOpSet = 5,
};

// Answer types (byte 0 of an answer).
enum AnswerType : std::uint8_t {
    kAnswerSearchShort = 2,
    kAnswerQuery = 4,
    kAnswerSet = 6,
    kAnswerSearchMatched = 7,
    kAnswerSearchLong = 8,
};

// Query subcodes (opcode 3).
enum QuerySubcode : std::uint8_t {
    kQueryVolumes = 3,
    kQueryLogin = 4,
    kQueryWorkgroup = 6,
    kQueryCodepage = 9,
    kQueryIdeOk = 11,
    kQueryShareName = 12,
    kQueryBtFirmware = 15,
    kQueryDomain = 18,
    kQuerySsl = 19,
};

// Set subcodes (opcode 5).
enum SetSubcode : std::uint8_t {
    kSetStaticAddress = 1,
    kSetDhcp = 2,
    kSetParam5 = 5,
    kSetWorkgroup = 7,
    kSetCodepage = 8,
    kSetAccessMode = 10,
    kSetInstallControl = 13,
    kSetAddOnName = 14,
};

// Request header and device part.
inline constexpr std::size_t kOpcodeOffset = 0;
inline constexpr std::size_t kClientIdOffset = 1;
inline constexpr std::size_t kClientIdSize = 6;
inline constexpr std::size_t kRequesterBlockSize = 10;  // ClientId and four zero bytes
inline constexpr std::size_t kSearchRequestSize = 11;
inline constexpr std::size_t kDeviceKeyOffset = 11;
inline constexpr std::size_t kDeviceKeySize = 10;
inline constexpr std::size_t kDeviceIdSize = 6;
inline constexpr std::size_t kKeyAddressOffset = 17;  // the address bytes of the key
inline constexpr std::size_t kSubcodeOffset = 21;

// Query and login requests.
inline constexpr std::size_t kValueLengthOffset = 24;
inline constexpr std::size_t kQueryRequestSize = 28;
inline constexpr std::size_t kLoginTextOffset = 28;
inline constexpr std::uint8_t kLoginSeparator1 = 0x55;
inline constexpr std::uint8_t kLoginSeparator2 = 0xAA;

// Set and DHCP requests.
inline constexpr std::size_t kSetNetmaskOffset = 24;
inline constexpr std::size_t kSetGatewayOffset = 40;
inline constexpr std::size_t kSetAddressFieldSize = 16;
inline constexpr std::size_t kSetPayloadLengthOffset = 56;
inline constexpr std::size_t kSetPayloadOffset = 60;
inline constexpr std::size_t kDhcpRequestSize = 60;

// Answers.
inline constexpr std::size_t kAnswerDhcpOffset = 21;
inline constexpr std::size_t kAnswerNetmaskOffset = 24;
inline constexpr std::size_t kAnswerGatewayOffset = 40;
inline constexpr std::size_t kAnswerAddressFieldSize = 16;
inline constexpr std::size_t kMatchByte1Offset = 56;
inline constexpr std::size_t kMatchByte2Offset = 57;
inline constexpr std::size_t kModelOffset = 68;
inline constexpr std::size_t kModelFieldSize = 32;
inline constexpr std::size_t kQueryValueOffset = 28;
inline constexpr std::size_t kLoginResultOffset = 28;

// Name length and name offsets of the three search answer forms.
struct SearchAnswerLayout {
    std::size_t nameLengthOffset;
    std::size_t nameOffset;
};
inline constexpr SearchAnswerLayout kShortFormLayout{56, 60};
inline constexpr SearchAnswerLayout kMatchedFormLayout{68, 72};
inline constexpr SearchAnswerLayout kLongFormLayout{100, 104};

}  // namespace ofu::wire
