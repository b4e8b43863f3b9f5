// Broken variants of well-formed answers, for testing how the utility copes with devices
// that send garbage. Each function returns a complete datagram.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "answer_builders.h"

namespace ofu::devsim {

enum class MalformedKind {
    kShort,               // the datagram ends inside the last field the utility reads
    kUnterminated,        // netmask, gateway (and model) fill their fields with no terminator
    kNameOver255,         // a name longer than the 255 characters a device record holds
    kNameBeyondDatagram,  // the name length counts bytes past the datagram's end
};

std::optional<MalformedKind> ParseMalformedKind(std::string_view text);
std::string_view MalformedKindName(MalformedKind kind);  // "short", "unterminated", ...

// Search answers (2, 7, 8) are cut inside the name length field, query answers (4) two
// bytes before the value, set answers (6) inside the address bytes of the key; any other
// datagram is cut to half its size.
std::vector<std::uint8_t> MakeShortAnswer(std::span<const std::uint8_t> answer);

std::vector<std::uint8_t> MakeUnterminatedSearchAnswer(const SearchAnswerFields& fields);

// The name is padded with 'N' to nameLength characters (at least 256).
std::vector<std::uint8_t> MakeLongNameSearchAnswer(const SearchAnswerFields& fields,
                                                   std::size_t nameLength = 300);

// The name length field says `extra` bytes more than the datagram holds.
std::vector<std::uint8_t> MakeNameBeyondDatagramSearchAnswer(const SearchAnswerFields& fields,
                                                             std::uint32_t extra = 64);

// The malformed variant of a kind for an answer; empty when the kind does not apply to
// the answer's type (only "short" applies to query and set answers).
std::vector<std::uint8_t> MakeMalformedAnswer(MalformedKind kind, std::span<const std::uint8_t> answer,
                                              const SearchAnswerFields* searchFields);

}  // namespace ofu::devsim
