// Private folders and environment variables for the desktop-service tests: nothing they do
// reaches the user's real settings or applications.
#pragma once

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>

namespace ofu::testing {

// Sets variables for one test and puts every old value back at its end.
class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    ~ScopedEnvironment() {
        for (const auto& [name, value] : saved_) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    }
    void Set(const std::string& name, const std::string& value) {
        Save(name);
        ::setenv(name.c_str(), value.c_str(), 1);
    }
    void Unset(const std::string& name) {
        Save(name);
        ::unsetenv(name.c_str());
    }

private:
    void Save(const std::string& name) {
        if (saved_.count(name) != 0) return;
        const char* value = std::getenv(name.c_str());
        saved_[name] = value == nullptr ? std::nullopt : std::optional<std::string>(value);
    }
    std::map<std::string, std::optional<std::string>> saved_;
};

// A fresh folder under /tmp, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/ofu-desktop-test.XXXXXX";
        if (::mkdtemp(pattern) != nullptr) path = pattern;
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
    // Writes `text` to the file at `relative` (folders made as needed) and returns its path.
    std::string Write(const std::string& relative, const std::string& text, mode_t mode = 0644) const {
        const std::filesystem::path file = path / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
        ::chmod(file.c_str(), mode);
        return file.string();
    }
    std::filesystem::path path;
};

}  // namespace ofu::testing
