#include "platform/linux/drive_connection_store.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

namespace ofu::platform::linux_drives {

std::filesystem::path DefaultTablePath() {
    std::filesystem::path base;
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && state[0] == '/') {
        base = state;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
        base = std::filesystem::path(home) / ".local" / "state";
    } else {
        base = std::filesystem::temp_directory_path();
    }
    return base / "ostrel-ferrow-utility" / "drive-connections";
}

char DriveLetterOf(std::string_view drive) {
    if (drive.size() < 2 || drive[1] != ':') return 0;
    if (drive.size() > 2 && !(drive.size() == 3 && (drive[2] == '\\' || drive[2] == '/'))) return 0;
    const char letter = drive[0];
    if (letter >= 'a' && letter <= 'z') return static_cast<char>(letter - 'a' + 'A');
    if (letter >= 'A' && letter <= 'Z') return letter;
    return 0;
}

ConnectionTable LoadTable(const std::filesystem::path& path) {
    ConnectionTable table;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        const char letter = DriveLetterOf(std::string_view(line).substr(0, tab));
        std::string remote = line.substr(tab + 1);
        if (letter == 0 || remote.empty()) continue;
        table[letter] = std::move(remote);
    }
    return table;
}

bool SaveTable(const std::filesystem::path& path, const ConnectionTable& table) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    const std::filesystem::path temporary = path.string() + ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        for (const auto& [letter, remote] : table) {
            // A remote name with a line break would corrupt the table: refuse it.
            if (remote.find_first_of("\r\n\t") != std::string::npos) return false;
            out << letter << ":\t" << remote << "\n";
        }
        if (!out) return false;
    }
    std::filesystem::rename(temporary, path, error);
    return !error;
}

NetStatus DriveConnectionStore::GetConnection(std::string_view drive, std::string& remoteName,
                                              std::size_t bufferLength) {
    const char letter = DriveLetterOf(drive);
    if (letter == 0) return NetStatus::Failed;
    const ConnectionTable table = LoadTable(path_);
    const auto it = table.find(letter);
    if (it == table.end()) return NetStatus::NotConnected;
    if (it->second.size() + 1 > bufferLength) return NetStatus::MoreData;
    remoteName = it->second;
    return NetStatus::Ok;
}

DriveType DriveConnectionStore::GetDriveType(std::string_view root) {
    const char letter = DriveLetterOf(root);
    if (letter == 0) return DriveType::NoRootDir;
    if (letter == 'C') return DriveType::Fixed;
    const ConnectionTable table = LoadTable(path_);
    return table.count(letter) != 0 ? DriveType::Remote : DriveType::NoRootDir;
}

NetStatus DriveConnectionStore::AddConnection(const NetResource&, const std::optional<std::string>&,
                                              const std::optional<std::string>&, unsigned) {
    return NetStatus::Failed;
}

NetStatus DriveConnectionStore::CancelConnection(std::string_view, unsigned, bool) { return NetStatus::NotConnected; }

NetStatus DriveConnectionStore::GetUser(std::string&, std::size_t) { return NetStatus::Failed; }

}  // namespace ofu::platform::linux_drives
