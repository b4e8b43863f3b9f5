#include "protocol/bounded_text.h"

#include <gtest/gtest.h>

#include <string>

namespace ofu {
namespace {

TEST(BoundedText, KeepsAtMostWidthMinusOneCharactersAndAlwaysTerminates) {
    BoundedText<8> text;
    EXPECT_TRUE(text.empty());
    text = "1234567890";
    EXPECT_EQ(text.view(), "1234567");
    EXPECT_EQ(text.field()[7], '\0');

    text = "ab";
    EXPECT_EQ(text.view(), "ab");
    // A shorter text leaves no remains of the longer one behind it.
    for (std::size_t k = 2; k < 8; ++k) EXPECT_EQ(text.field()[k], '\0') << k;
}

TEST(BoundedText, StopsAtEmbeddedZeroAndSurvivesSelfAssignment) {
    BoundedText<16> text(std::string_view("abc\0def", 7));
    EXPECT_EQ(text.view(), "abc");
    text = text.view();
    EXPECT_EQ(text.view(), "abc");
    BoundedText<4> narrow;
    narrow = text;  // across widths, still bounded
    EXPECT_EQ(narrow.view(), "abc");
    narrow = BoundedText<16>("abcdef");
    EXPECT_EQ(narrow.view(), "abc");
}

}  // namespace
}  // namespace ofu
