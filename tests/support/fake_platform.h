// Platform services for tests: a drive table the test fills and whose connection calls it
// scripts, a Windows version and user name it chooses, a single-byte ANSI code page (Latin-1
// with '?' as the default character) so that the default-character path is seen, a registry,
// a program starter and a web check that record their calls, worker threads that run when the
// test says, and a drive C in a temporary folder.
#pragma once

#include "platform/services.h"
#include "platform/unicode.h"

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace ofu::testing {

class FakeDrives final : public platform::DriveConnections {
public:
    // Letter to remote name ("\\NAS1\Volume_1") and to a type other than free or remote.
    std::map<char, std::string> connections;
    std::map<char, platform::DriveType> types;

    struct AddCall {
        platform::NetResource resource;
        std::optional<std::string> password;
        std::optional<std::string> userName;
        unsigned flags = 0;
    };
    struct CancelCall {
        std::string localName;
        unsigned flags = 0;
        bool force = false;
    };
    std::vector<AddCall> adds;
    std::vector<CancelCall> cancels;
    // Decides each AddConnection; by default every attempt succeeds.
    std::function<platform::NetStatus(const AddCall&)> addResult = [](const AddCall&) { return platform::NetStatus::Ok; };
    // What CancelConnection answers for a letter that has a connection (a free one always
    // gives NotConnected).
    platform::NetStatus cancelResult = platform::NetStatus::Ok;
    std::optional<std::string> user = std::string("alice");

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
    platform::NetStatus AddConnection(const platform::NetResource& resource, const std::optional<std::string>& password,
                                      const std::optional<std::string>& userName, unsigned flags) override {
        adds.push_back({resource, password, userName, flags});
        const platform::NetStatus status = addResult(adds.back());
        if (status == platform::NetStatus::Ok && !resource.localName.empty())
            connections[resource.localName[0]] = resource.remoteName;
        return status;
    }
    platform::NetStatus CancelConnection(std::string_view localName, unsigned flags, bool force) override {
        cancels.push_back({std::string(localName), flags, force});
        const auto it = connections.find(localName.empty() ? '\0' : localName[0]);
        if (localName.size() != 2 || it == connections.end()) return platform::NetStatus::NotConnected;
        if (cancelResult == platform::NetStatus::Ok) connections.erase(it);
        return cancelResult;
    }
    platform::NetStatus GetUser(std::string& userName, std::size_t bufferLength) override {
        if (!user) return platform::NetStatus::NoNetwork;
        if (user->size() + 1 > bufferLength) return platform::NetStatus::MoreData;
        userName = *user;
        return platform::NetStatus::Ok;
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

class FakeInternet final : public platform::Internet {
public:
    std::vector<std::string> checked;
    // Answers of the next checks, in order; once used up, `reachable`.
    std::deque<bool> answers;
    bool reachable = true;
    bool CheckConnection(std::string_view url, unsigned) override {
        checked.emplace_back(url);
        if (answers.empty()) return reachable;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class FakeRegistry final : public platform::Registry {
public:
    // Key path to its default value.
    std::map<std::string, std::string> values;
    std::vector<std::string> reads;
    std::optional<std::string> QueryString(platform::RegistryRoot, std::string_view path, std::string_view valueName,
                                           std::size_t bufferLength) override {
        reads.emplace_back(path);
        if (!valueName.empty()) return std::nullopt;
        const auto it = values.find(std::string(path));
        if (it == values.end() || it->second.size() + 1 > bufferLength) return std::nullopt;
        return it->second;
    }
};

class FakePrograms final : public platform::Programs {
public:
    std::vector<std::string> started;  // every WinExec command line, in order
    std::vector<std::string> opened;   // every ShellExecute file
    std::function<unsigned(const std::string&)> execResult = [](const std::string&) { return 33u; };
    std::intptr_t shellResult = 42;

    unsigned WinExec(std::string_view commandLine, int) override {
        started.emplace_back(commandLine);
        return execResult(started.back());
    }
    std::intptr_t ShellExecute(std::string_view, std::string_view file, std::string_view, std::string_view,
                               int) override {
        opened.emplace_back(file);
        return shellResult;
    }
};

// Threads that run when the test says: Start only queues the body. By default each queued
// body runs at the next Sleep of the caller (a check that answers within the first second);
// a test can hold them and run them itself, early or late.
class FakeThreads final : public platform::Threads {
public:
    std::deque<std::function<void()>> pending;
    std::vector<int> sleeps;
    bool runAtSleep = true;
    // A system with no thread to spare: Start refuses and queues nothing.
    bool failStarts = false;
    // Runs before each Sleep returns, with the number of that sleep (from 1).
    std::function<void(int)> onSleep;

    bool Start(std::function<void()> body) override {
        if (failStarts) return false;
        pending.push_back(std::move(body));
        return true;
    }
    void Sleep(int milliseconds) override {
        sleeps.push_back(milliseconds);
        if (runAtSleep) RunPending();
        if (onSleep) onSleep(static_cast<int>(sleeps.size()));
    }
    void RunPending() {
        while (!pending.empty()) RunOldest();
    }
    void RunOldest() {
        auto body = std::move(pending.front());
        pending.pop_front();
        body();
    }
};

// Drive C in a fresh temporary folder.
class FakeLocalFiles final : public platform::LocalFiles {
public:
    FakeLocalFiles() {
        // A folder of its own (never the temporary folder itself, which the destructor would
        // empty).
        std::random_device seed;
        for (int attempt = 0; attempt < 100 && root.empty(); ++attempt) {
            const auto folder = std::filesystem::temp_directory_path() / ("ofu-drive-c." + std::to_string(seed()));
            std::error_code failed;
            if (std::filesystem::create_directory(folder, failed)) root = folder;
        }
    }
    ~FakeLocalFiles() override {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    FakeLocalFiles(const FakeLocalFiles&) = delete;
    FakeLocalFiles& operator=(const FakeLocalFiles&) = delete;

    std::string HostPath(std::string_view windowsPath) override {
        if (windowsPath.size() < 3 || (windowsPath.substr(0, 3) != "C:\\" && windowsPath.substr(0, 3) != "c:\\"))
            return {};
        std::string relative(windowsPath.substr(3));
        for (char& c : relative)
            if (c == '\\') c = '/';
        return (root / relative).string();
    }
    bool PrepareFolders(std::string_view windowsPath) override {
        if (failPrepare) return false;
        const std::string path = HostPath(windowsPath);
        std::error_code error;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
        return !path.empty() && !error;
    }
    std::filesystem::path root;
    bool failPrepare = false;  // as if drive C could not be written
};

// Files on Windows paths in memory: local ("C:\...") and UNC alike. A file can be created
// only in a folder that exists; '/' and '\' both separate folders.
class FakeFileSystem final : public platform::FileSystem {
public:
    std::map<std::string, std::vector<std::uint8_t>> files;
    std::set<std::string> folders;
    std::set<std::string> readOnly;        // files that cannot be opened for writing
    std::set<std::string> failingWrites;   // files whose write stores only half of the data
    std::vector<std::string> opened;       // every OpenForWriting, in order
    std::vector<std::string> copies;       // "FROM -> TO" of every CopyFile

    static std::string Key(std::string_view path) {
        std::string key(path);
        for (char& c : key)
            if (c == '/') c = '\\';
        return key;
    }
    static std::string Parent(const std::string& key) {
        const std::size_t slash = key.rfind('\\');
        return slash == std::string::npos ? std::string() : key.substr(0, slash);
    }
    void AddFolder(std::string_view path) { folders.insert(Key(path)); }

    class File final : public platform::WriteFile {
    public:
        File(FakeFileSystem& owner, std::string key) : owner_(owner), key_(std::move(key)) {}
        bool Write(std::span<const std::uint8_t> bytes) override {
            auto& stored = owner_.files[key_];
            const bool failing = owner_.failingWrites.count(key_) != 0;
            stored.insert(stored.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(
                                                                            failing ? bytes.size() / 2 : bytes.size()));
            return !failing;
        }
        bool Close() override { return true; }

    private:
        FakeFileSystem& owner_;
        std::string key_;
    };

    std::unique_ptr<platform::WriteFile> OpenForWriting(std::string_view path) override {
        const std::string key = Key(path);
        opened.push_back(key);
        if (folders.count(Parent(key)) == 0 || readOnly.count(key) != 0) return nullptr;
        files[key].clear();
        return std::make_unique<File>(*this, key);
    }
    bool Remove(std::string_view path) override { return files.erase(Key(path)) != 0; }
    bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) override {
        const std::string source = Key(from), target = Key(to);
        copies.push_back(source + " -> " + target);
        const auto it = files.find(source);
        if (it == files.end() || folders.count(Parent(target)) == 0 || readOnly.count(target) != 0) return false;
        if (failIfExists && files.count(target) != 0) return false;
        files[target] = it->second;
        return true;
    }
    bool PathExists(std::string_view path) override {
        const std::string key = Key(path);
        return files.count(key) != 0 || folders.count(key) != 0;
    }
    std::optional<std::uint64_t> FileSize(std::string_view path) override {
        const auto it = files.find(Key(path));
        if (it == files.end()) return std::nullopt;
        return it->second.size();
    }
    std::optional<std::vector<std::uint8_t>> ReadFile(std::string_view path, std::size_t maxBytes) override {
        const auto it = files.find(Key(path));
        if (it == files.end()) return std::nullopt;
        return std::vector<std::uint8_t>(it->second.begin(),
                                         it->second.begin() + static_cast<std::ptrdiff_t>(
                                                                  std::min(maxBytes, it->second.size())));
    }
    bool MakeDirectory(std::string_view path) override {
        std::string key = Key(path);
        while (!key.empty() && key.back() == '\\') key.pop_back();
        return folders.insert(key).second;
    }
    bool RemoveDirectory(std::string_view path) override {
        std::string key = Key(path);
        while (!key.empty() && key.back() == '\\') key.pop_back();
        for (const auto& [file, bytes] : files)
            if (Parent(file) == key) return false;
        return folders.erase(key) != 0;
    }
};

// Small resources of the test's choosing: by default each catalogue id that a test asks for
// is a few bytes that name it.
class FakeResources final : public platform::Resources {
public:
    std::map<std::pair<std::string, int>, std::vector<std::uint8_t>> blobs;

    void Add(std::string type, int id, std::vector<std::uint8_t> bytes) { blobs[{std::move(type), id}] = std::move(bytes); }
    std::span<const std::uint8_t> Find(std::string_view typeName, int id) override {
        std::string upper(typeName);
        for (char& c : upper)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        const auto it = blobs.find({upper, id & 0xFFFF});
        if (it == blobs.end()) return {};
        return it->second;
    }
};

struct FakePlatform {
    FakePlatform() {
        platform::InstallPlatformServices(
            {&drives, &system, &codes, &internet, &registry, &programs, &threads, &files, &disk, &resources});
    }
    ~FakePlatform() { platform::FreePlatformServices(); }
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    FakeDrives drives;
    FakeSystemInfo system;
    Latin1CodePages codes;
    FakeInternet internet;
    FakeRegistry registry;
    FakePrograms programs;
    FakeThreads threads;
    FakeLocalFiles files;
    FakeFileSystem disk;
    FakeResources resources;
};

}  // namespace ofu::testing
