// ofu-resource-script [--client] OUT.rc
//
// Writes the windowed program's Windows resource script to OUT.rc and the two files that it
// pulls in beside it: OUT.ico (icon 128 from the embedded PNG renders) and OUT.manifest. With
// --client, the script of the console client ofu.exe and its OUT.ico. A file whose content is
// unchanged is left alone, so that the resource compiler does not run again.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "resources/icon_images.h"
#include "resources/rc/resource_script.h"
#include "resources/resource_ids.h"

namespace {

bool WriteIfChanged(const std::filesystem::path& path, const std::string& content) {
    {
        std::ifstream existing(path, std::ios::binary);
        if (existing) {
            const std::string old((std::istreambuf_iterator<char>(existing)), std::istreambuf_iterator<char>());
            if (old == content) return true;
        }
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "ofu-resource-script: cannot write %s\n", path.string().c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const bool client = argc == 3 && std::string(argv[1]) == "--client";
    if (argc != 2 && !client) {
        std::fprintf(stderr, "usage: ofu-resource-script [--client] OUT.rc\n");
        return 2;
    }
    const char* const out = argv[argc - 1];
    std::error_code error;
    const std::filesystem::path script = std::filesystem::absolute(out, error);
    if (error) {
        std::fprintf(stderr, "ofu-resource-script: bad path %s\n", out);
        return 2;
    }
    std::filesystem::path icon = script;
    icon.replace_extension(".ico");
    std::filesystem::path manifest = script;
    manifest.replace_extension(".manifest");

    const auto images = ofu::ui::FindIconImages(ofu::ui::kApplicationIconId);
    if (images.empty()) {
        std::fprintf(stderr, "ofu-resource-script: no renders of icon %d\n", ofu::ui::kApplicationIconId);
        return 1;
    }
    const std::vector<unsigned char> iconBytes = ofu::rc::IconFile(images);
    if (!WriteIfChanged(icon, std::string(iconBytes.begin(), iconBytes.end()))) return 1;
    if (client) {
        return WriteIfChanged(script, ofu::rc::ResourceScript(ofu::rc::Program::Client, icon.generic_string())) ? 0 : 1;
    }
    const bool written =
        WriteIfChanged(manifest, ofu::rc::Manifest()) &&
        WriteIfChanged(script, ofu::rc::ResourceScript(ofu::rc::Program::Window, icon.generic_string(),
                                                       manifest.generic_string()));
    return written ? 0 : 1;
}
