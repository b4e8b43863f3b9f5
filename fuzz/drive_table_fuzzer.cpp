// The per-user drive-connection table reader on arbitrary file contents. The reader takes a
// path only, so each input is written to one file in a folder of this process's own (under
// TMPDIR, removed at exit). Whatever the file holds, the table read has only letters that
// can be connected with valid remote names, each from a whole line of the file; and writing
// that table and reading it back gives the same table.
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

bool HasLine(std::string_view file, std::string_view line) {
    for (std::size_t at = file.find(line); at != std::string_view::npos; at = file.find(line, at + 1)) {
        const bool startsLine = at == 0 || file[at - 1] == '\n';
        if (startsLine && at + line.size() < file.size() && file[at + line.size()] == '\n') return true;
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
    for (const auto& [letter, remote] : table) {
        OFU_FUZZ_CHECK(letter >= 'A' && letter <= 'Z' && letter != 'C');
        OFU_FUZZ_CHECK(ParseRemoteName(remote).has_value());
        const std::string lower{static_cast<char>(letter - 'A' + 'a'), ':', '\t'};
        const std::string upper{letter, ':', '\t'};
        OFU_FUZZ_CHECK(HasLine(content, upper + remote) || HasLine(content, lower + remote));
    }

    const fs::path copy = Folder() / "written";
    OFU_FUZZ_CHECK(SaveTable(copy, table));
    OFU_FUZZ_CHECK(LoadTable(copy) == table);
    return 0;
}
