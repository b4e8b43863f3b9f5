#include "malformed_answers.h"

#include <algorithm>
#include <array>

namespace ofu::devsim {
namespace {

struct KindName {
    MalformedKind kind;
    std::string_view name;
};

constexpr std::array<KindName, 4> kKindNames{{
    {MalformedKind::kShort, "short"},
    {MalformedKind::kUnterminated, "unterminated"},
    {MalformedKind::kNameOver255, "name_over_255"},
    {MalformedKind::kNameBeyondDatagram, "name_beyond_datagram"},
}};

// Fills the field after the text's own characters with `fill`, so no zero byte remains.
void FillField(std::vector<std::uint8_t>& bytes, std::size_t offset, std::size_t width, char fill) {
    for (std::size_t i = offset; i < offset + width && i < bytes.size(); ++i) {
        if (bytes[i] == 0) bytes[i] = static_cast<std::uint8_t>(fill);
    }
}

}  // namespace

std::optional<MalformedKind> ParseMalformedKind(std::string_view text) {
    for (const auto& entry : kKindNames) {
        if (entry.name == text) return entry.kind;
    }
    return std::nullopt;
}

std::string_view MalformedKindName(MalformedKind kind) {
    for (const auto& entry : kKindNames) {
        if (entry.kind == kind) return entry.name;
    }
    return "unknown";
}

std::vector<std::uint8_t> MakeShortAnswer(std::span<const std::uint8_t> answer) {
    if (answer.empty()) return {};
    std::size_t size = answer.size() / 2;
    if (const auto layout = SearchLayoutOf(answer[0])) {
        size = layout->nameLengthOffset + 2;
    } else if (answer[0] == wire::kAnswerQuery) {
        size = wire::kQueryValueOffset - 2;
    } else if (answer[0] == wire::kAnswerSet) {
        size = wire::kKeyAddressOffset + 2;
    }
    size = std::min(size, answer.size());
    return std::vector<std::uint8_t>(answer.begin(), answer.begin() + static_cast<std::ptrdiff_t>(size));
}

std::vector<std::uint8_t> MakeUnterminatedSearchAnswer(const SearchAnswerFields& fields) {
    auto bytes = BuildSearchAnswer(fields);
    if (bytes.empty()) return bytes;
    FillField(bytes, wire::kAnswerNetmaskOffset, wire::kAnswerAddressFieldSize, '#');
    FillField(bytes, wire::kAnswerGatewayOffset, wire::kAnswerAddressFieldSize, '#');
    if (fields.form == wire::kAnswerSearchLong) {
        FillField(bytes, wire::kModelOffset, wire::kModelFieldSize, '#');
    }
    return bytes;
}

std::vector<std::uint8_t> MakeLongNameSearchAnswer(const SearchAnswerFields& fields, std::size_t nameLength) {
    SearchAnswerFields longName = fields;
    longName.name.resize(std::max<std::size_t>(nameLength, 256), 'N');
    return BuildSearchAnswer(longName);
}

std::vector<std::uint8_t> MakeNameBeyondDatagramSearchAnswer(const SearchAnswerFields& fields,
                                                             std::uint32_t extra) {
    auto bytes = BuildSearchAnswer(fields);
    const auto layout = SearchLayoutOf(fields.form);
    if (bytes.empty() || !layout) return bytes;
    PutU32(bytes, layout->nameLengthOffset, static_cast<std::uint32_t>(fields.name.size()) + extra);
    return bytes;
}

std::vector<std::uint8_t> MakeMalformedAnswer(MalformedKind kind, std::span<const std::uint8_t> answer,
                                              const SearchAnswerFields* searchFields) {
    switch (kind) {
        case MalformedKind::kShort: return MakeShortAnswer(answer);
        case MalformedKind::kUnterminated:
            return searchFields ? MakeUnterminatedSearchAnswer(*searchFields) : std::vector<std::uint8_t>{};
        case MalformedKind::kNameOver255:
            return searchFields ? MakeLongNameSearchAnswer(*searchFields) : std::vector<std::uint8_t>{};
        case MalformedKind::kNameBeyondDatagram:
            return searchFields ? MakeNameBeyondDatagramSearchAnswer(*searchFields) : std::vector<std::uint8_t>{};
    }
    return {};
}

}  // namespace ofu::devsim
