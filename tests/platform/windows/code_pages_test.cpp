// UTF-8 to UTF-16 and UTF-16 to an ANSI code page within the callers' bounds.
#include "platform/windows/windows_code_pages.h"

#include <gtest/gtest.h>

namespace ofu::platform {
namespace {

constexpr unsigned kLatin1 = 1252;
constexpr unsigned kSimplifiedChinese = 936;

TEST(WindowsCodePages, WidenWholeCharactersOnlyWithinTheUnits) {
    WindowsCodePages codes(kLatin1);
    EXPECT_EQ(codes.Utf8ToUtf16("Volume_1", 8), u"Volume_1");
    EXPECT_EQ(codes.Utf8ToUtf16("Volume_1", 6), u"Volume");
    EXPECT_EQ(codes.Utf8ToUtf16("a\xF0\x9F\x98\x80", 2), u"a");
    EXPECT_EQ(codes.Utf8ToUtf16("a\xF0\x9F\x98\x80", 3), u"a\U0001F600");
    EXPECT_EQ(codes.Utf8ToUtf16("abc", 0), u"");
}

TEST(WindowsCodePages, WidenALongTextCutBetweenCharactersAndMalformedBytesAsReplacements) {
    WindowsCodePages codes(kLatin1);
    EXPECT_EQ(codes.Utf8ToUtf16("\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD", 1), u"\u4E2D");
    EXPECT_EQ(codes.Utf8ToUtf16(std::string(40, '\x80'), 3), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(codes.Utf8ToUtf16("\xC3(", 4), u"\uFFFD(");
}

TEST(WindowsCodePages, NeverCutADoubleByteCharacter) {
    WindowsCodePages codes(kSimplifiedChinese);
    EXPECT_EQ(codes.Utf16ToAnsi(u"\u4E2D\u6587", 4), "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(codes.Utf16ToAnsi(u"\u4E2D\u6587", 3), "\xD6\xD0");
    EXPECT_EQ(codes.Utf16ToAnsi(u"a\u4E2D", 2), "a");
    EXPECT_EQ(codes.Utf16ToAnsi(u"\u4E2D", 0), "");
    EXPECT_EQ(codes.Utf16ToAnsi(std::u16string(5000, u'\u4E2D'), 255).size(), 254u);
}

TEST(WindowsCodePages, GiveTheDefaultCharacterForOneWithoutAnEquivalent) {
    EXPECT_EQ(WindowsCodePages(kLatin1).Utf16ToAnsi(u"a\u4E2Db", 16), "a?b");
    EXPECT_EQ(WindowsCodePages(kSimplifiedChinese).Utf16ToAnsi(u"x\u0E01y", 16), "x?y");
}

}  // namespace
}  // namespace ofu::platform
