#include "platform/linux/linux_file_system.h"

namespace ofu::platform {

std::unique_ptr<WriteFile> LinuxFileSystem::OpenForWriting(std::string_view) { return nullptr; }
bool LinuxFileSystem::Remove(std::string_view) { return false; }
bool LinuxFileSystem::CopyFile(std::string_view, std::string_view, bool) { return false; }
bool LinuxFileSystem::PathExists(std::string_view) { return false; }
std::optional<std::uint64_t> LinuxFileSystem::FileSize(std::string_view) { return std::nullopt; }
std::optional<std::vector<std::uint8_t>> LinuxFileSystem::ReadFile(std::string_view, std::size_t) {
    return std::nullopt;
}
bool LinuxFileSystem::MakeDirectory(std::string_view) { return false; }
bool LinuxFileSystem::RemoveDirectory(std::string_view) { return false; }

}  // namespace ofu::platform
