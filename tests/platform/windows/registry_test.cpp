// String values read from a key that the test makes under HKEY_CURRENT_USER.
#include "platform/windows/windows_api.h"
#include "platform/windows/windows_registry.h"

#include <gtest/gtest.h>

#include <string>

namespace ofu::platform {
namespace {

constexpr const char* kTestKey = "Software\\OfuPlatformTest";

class WindowsRegistryTest : public testing::Test {
protected:
    void SetUp() override {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const auto set = [key](const char* name, DWORD type, const std::string& data) {
            ::RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                             static_cast<DWORD>(data.size()));
        };
        set("", REG_SZ, std::string("default\0", 8));
        set("Browser", REG_SZ, std::string("FIREFOX\0", 8));
        set("Expanding", REG_EXPAND_SZ, std::string("%ProgramFiles%\0", 15));
        set("Unterminated", REG_SZ, "abc");
        set("Number", REG_DWORD, std::string("\x2A\0\0\0", 4));
        set("Bytes", REG_BINARY, std::string("abc\0", 4));
        ::RegCloseKey(key);
    }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }

    std::optional<std::string> Query(std::string_view name, std::size_t bufferLength = 260) {
        return registry_.QueryString(RegistryRoot::CurrentUser, kTestKey, name, bufferLength);
    }

    WindowsRegistry registry_;
};

TEST_F(WindowsRegistryTest, ReadsTheDefaultValueAndNamedStringValues) {
    EXPECT_EQ(Query(""), "default");
    EXPECT_EQ(Query("browser"), "FIREFOX");
    EXPECT_EQ(Query("Expanding"), "%ProgramFiles%");
}

TEST_F(WindowsRegistryTest, RefusesAValueThatWithItsTerminatorNeedsMoreThanTheBuffer) {
    EXPECT_EQ(Query("Browser", 8), "FIREFOX");
    EXPECT_EQ(Query("Browser", 7), std::nullopt);
    EXPECT_EQ(Query("Unterminated", 4), "abc");
    EXPECT_EQ(Query("Unterminated", 3), std::nullopt);
    EXPECT_EQ(Query("Browser", 0), std::nullopt);
}

TEST_F(WindowsRegistryTest, RefusesValuesThatAreNotStringsAndKeysOrValuesThatAreMissing) {
    EXPECT_EQ(Query("Number"), std::nullopt);
    EXPECT_EQ(Query("Bytes"), std::nullopt);
    EXPECT_EQ(Query("Missing"), std::nullopt);
    EXPECT_EQ(Query(std::string_view("Browser\0X", 9)), std::nullopt);
    EXPECT_EQ(registry_.QueryString(RegistryRoot::CurrentUser, "Software\\OfuPlatformTest\\Missing", "", 260),
              std::nullopt);
    EXPECT_EQ(registry_.QueryString(RegistryRoot::LocalMachine, kTestKey, "Browser", 260), std::nullopt);
}

}  // namespace
}  // namespace ofu::platform
