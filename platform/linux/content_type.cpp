#include "platform/linux/content_type.h"

#include <fcntl.h>
#include <gio/gio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

namespace ofu::platform::desktop {
namespace {

// What GIO's sniffing looks at (its own readers take the first few kilobytes too).
constexpr std::size_t kSniffBytes = 4096;

struct GFreeText {
    void operator()(gchar* text) const { g_free(text); }
};
using GText = std::unique_ptr<gchar, GFreeText>;

std::string TakeText(gchar* text) {
    const GText owned(text);
    return owned ? std::string(owned.get()) : std::string();
}

// The first bytes of a regular file; nothing for anything else (a FIFO would block).
std::string FirstBytes(const std::string& path) {
    std::string data;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return data;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        data.resize(kSniffBytes);
        std::size_t filled = 0;
        while (filled < data.size()) {
            const ssize_t got = ::read(fd, data.data() + filled, data.size() - filled);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            filled += static_cast<std::size_t>(got);
        }
        data.resize(filled);
    }
    ::close(fd);
    return data;
}

}  // namespace

std::string GuessMimeType(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return "inode/directory";
    const std::string data = FirstBytes(path);
    gboolean uncertain = FALSE;
    const std::string type = TakeText(g_content_type_guess(path.c_str(), reinterpret_cast<const guchar*>(data.data()),
                                                           data.size(), &uncertain));
    if (type.empty()) return "application/octet-stream";
    const std::string mime = TakeText(g_content_type_get_mime_type(type.c_str()));
    return mime.empty() ? "application/octet-stream" : mime;
}

std::string FileUri(const std::string& absolutePath) {
    return TakeText(g_filename_to_uri(absolutePath.c_str(), nullptr, nullptr));
}

std::string PathOfFileUri(const std::string& uri) {
    return TakeText(g_filename_from_uri(uri.c_str(), nullptr, nullptr));
}

}  // namespace ofu::platform::desktop
