// ofu-payload-stand-ins FOLDER: writes the stand-in of every catalogue row into FOLDER as
// <id>.bin, the same bytes on every run. Exits 1 (naming the payload) when a row cannot be made
// or a file cannot be written, 2 on a wrong command line.
#include "resources/payloads/stand_in_payloads.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <system_error>

namespace {

namespace fs = std::filesystem;

// Writes through a temporary file and a rename, so that an interrupted run leaves no file that
// looks complete.
void WriteWhole(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    fs::path partial = path;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) throw std::runtime_error("cannot write " + partial.string());
    }
    std::error_code error;
    fs::rename(partial, path, error);
    if (error) throw std::runtime_error("cannot rename " + partial.string() + ": " + error.message());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: ofu-payload-stand-ins FOLDER\n";
        return 2;
    }
    const fs::path folder = argv[1];
    std::error_code error;
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder)) {
        std::cerr << "ofu-payload-stand-ins: cannot create the folder " << folder.string() << "\n";
        return 1;
    }
    for (const ofu::PayloadEntry& row : ofu::PayloadCatalogue()) {
        try {
            WriteWhole(folder / ofu::payloads::PayloadFileName(row), ofu::payloads::MakeStandIn(row));
        } catch (const std::exception& e) {
            std::cerr << "ofu-payload-stand-ins: payload " << row.type << " " << row.id << ": " << e.what() << "\n";
            return 1;
        }
    }
    return 0;
}
