// Platform services for tests: a drive table the test fills, a Windows version and user
// name it chooses, and a single-byte ANSI code page (Latin-1 with '?' as the default
// character) so that the default-character path is seen.
#pragma once

#include "platform/services.h"
#include "platform/unicode.h"

#include <map>
#include <optional>
#include <string>

namespace ofu::testing {

class FakeDrives final : public platform::DriveConnections {
public:
    // Letter to remote name ("\\NAS1\Volume_1") and to a type other than free or remote.
    std::map<char, std::string> connections;
    std::map<char, platform::DriveType> types;

    platform::NetStatus GetConnection(std::string_view drive, std::string& remoteName,
                                      std::size_t bufferLength) override {
        const auto it = connections.find(drive.empty() ? '\0' : drive[0]);
        if (it == connections.end()) return platform::NetStatus::NotConnected;
        if (it->second.size() + 1 > bufferLength) return platform::NetStatus::MoreData;
        remoteName = it->second;
        return platform::NetStatus::Ok;
    }
    platform::DriveType GetDriveType(std::string_view root) override {
        const char letter = root.empty() ? '\0' : root[0];
        if (const auto it = types.find(letter); it != types.end()) return it->second;
        return connections.count(letter) != 0 ? platform::DriveType::Remote : platform::DriveType::NoRootDir;
    }
};

class FakeSystemInfo final : public platform::SystemInfo {
public:
    std::optional<platform::OsVersion> version;
    std::optional<std::string> userName = std::string("alice");

    std::optional<platform::OsVersion> GetVersion() override { return version; }
    std::optional<std::string> GetUserName() override { return userName; }
};

class Latin1CodePages final : public platform::CodePages {
public:
    std::u16string Utf8ToUtf16(std::string_view utf8, std::size_t maxUnits) override {
        return platform::DecodeUtf8(utf8, maxUnits);
    }
    std::string Utf16ToAnsi(std::u16string_view utf16, std::size_t maxBytes) override {
        std::string out;
        for (std::size_t k = 0; k < utf16.size() && out.size() < maxBytes; ++k) {
            const char16_t unit = utf16[k];
            if (unit >= 0xD800 && unit <= 0xDBFF && k + 1 < utf16.size()) ++k;  // one character, one '?'
            out.push_back(unit <= 0xFF ? static_cast<char>(unit) : '?');
        }
        return out;
    }
};

struct FakePlatform {
    FakePlatform() { platform::InstallPlatformServices({&drives, &system, &codes}); }
    ~FakePlatform() { platform::FreePlatformServices(); }
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    FakeDrives drives;
    FakeSystemInfo system;
    Latin1CodePages codes;
};

}  // namespace ofu::testing
