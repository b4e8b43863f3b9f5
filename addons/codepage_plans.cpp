#include "addons/codepage_plans.h"

#include "base/ascii_case.h"

#include <algorithm>
#include <array>

namespace ofu {
namespace {

constexpr std::uint16_t k950One[] = {151, 153, 155, 156};
constexpr std::uint16_t k950Two[] = {151, 174, 192, 156};
constexpr std::uint16_t k936One[] = {157, 158, 159, 160};
constexpr std::uint16_t k936Two[] = {157, 175, 190, 160};
constexpr std::uint16_t k850One[] = {143, 145, 148};
constexpr std::uint16_t k850Two[] = {143, 179, 187, 148};
constexpr std::uint16_t k949One[] = {165, 166, 167, 168};
constexpr std::uint16_t k949Two[] = {165, 176, 191, 168};
constexpr std::uint16_t k866One[] = {169, 170, 185, 171, 184};
constexpr std::uint16_t k866Two[] = {169, 177, 183, 188, 194, 171, 184};
constexpr std::uint16_t k932One[] = {161, 162, 163, 172, 164};
constexpr std::uint16_t k932Two[] = {161, 173, 178, 189, 193, 164};

// 865, 852 and 857 are set on the device without files.
constexpr std::array<CodepagePlan, 9> kPlans = {{
    {"Traditional Chinese", "950", k950One, k950Two},
    {"Simplified Chinese", "936", k936One, k936Two},
    {"Western European", "850", k850One, k850Two},
    {"Northern European", "865", {}, {}},
    {"Central European", "852", {}, {}},
    {"Turkish", "857", {}, {}},
    {"Korean Hangul", "949", k949One, k949Two},
    {"Cyrillic", "866", k866One, k866Two},
    {"Japanese SJIS", "932", k932One, k932Two},
}};

}  // namespace

std::span<const CodepagePlan> CodepagePlans() { return kPlans; }

const CodepagePlan* CodepagePlanAt(int index) {
    if (index < 0 || index >= static_cast<int>(kPlans.size())) return nullptr;
    return &kPlans[static_cast<std::size_t>(index)];
}

int FindCodepagePlan(std::string_view language) {
    for (std::size_t k = 0; k < kPlans.size(); ++k)
        if (kPlans[k].codepageName == language || EqualsIgnoringAsciiCase(kPlans[k].entry, language))
            return static_cast<int>(k);
    return -1;
}

}  // namespace ofu
