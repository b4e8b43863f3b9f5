// The per-user drive-connection table reader on arbitrary file contents. The reader takes a
// path only, so each input is written to one file in a folder of this process's own (under
// TMPDIR, removed at exit). Whatever the file holds, the table read has only letters that
// can be connected with valid remote names, each from a line of the file, and mount records
// only with a process and an absolute folder; and writing that table and reading it back
// gives the same table.
#include "fuzz/support/fuzz_input.h"
#include "platform/linux/drive_table_file.h"
#include "platform/linux/remote_name.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace ofu::platform::linux_drives;

// Trivially destructible, so that the exit handler can still read it.
char folderName[4096];

void RemoveFolder() {
    std::error_code error;
    fs::remove_all(folderName, error);
}

const fs::path& Folder() {
    static const fs::path folder = [] {
        const char* base = std::getenv("TMPDIR");
        std::snprintf(folderName, sizeof folderName, "%s/ofu-drive-table-fuzz.XXXXXX", base && *base ? base : "/tmp");
        if (::mkdtemp(folderName) == nullptr) ofu::fuzz::CheckFailed("mkdtemp", __FILE__, __LINE__);
        std::atexit(RemoveFolder);
        return fs::path(folderName);
    }();
    return folder;
}

// Whether a line of `file` begins with `start` followed by a tab or its end.
bool HasLineStarting(std::string_view file, std::string_view start) {
    for (std::size_t at = file.find(start); at != std::string_view::npos; at = file.find(start, at + 1)) {
        const bool startsLine = at == 0 || file[at - 1] == '\n';
        const std::size_t after = at + start.size();
        if (startsLine && after < file.size() && (file[after] == '\n' || file[after] == '\t')) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content = ofu::fuzz::AsText({data, size});
    const fs::path input = Folder() / "drive-connections";
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
    }
    const ConnectionTable table = LoadTable(input);
    for (const auto& [letter, connection] : table) {
        OFU_FUZZ_CHECK(letter >= 'A' && letter <= 'Z' && letter != 'C');
        OFU_FUZZ_CHECK(ParseRemoteName(connection.remoteName).has_value());
        OFU_FUZZ_CHECK(connection.mount.empty() || (connection.mount.pid > 0 && connection.mount.folder[0] == '/'));
        const std::string lower{static_cast<char>(letter - 'A' + 'a'), ':', '\t'};
        const std::string upper{letter, ':', '\t'};
        OFU_FUZZ_CHECK(HasLineStarting(content, upper + connection.remoteName) ||
                       HasLineStarting(content, lower + connection.remoteName));
    }

    const fs::path copy = Folder() / "written";
    OFU_FUZZ_CHECK(SaveTable(copy, table));
    OFU_FUZZ_CHECK(LoadTable(copy) == table);
    return 0;
}
