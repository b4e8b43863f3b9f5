#include "platform/windows/windows_registry.h"

#include "platform/windows/windows_api.h"
#include "platform/windows/zero_terminated.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace ofu::platform {
namespace {

using windows::ZeroTerminated;

HKEY RootKey(RegistryRoot root) { return root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

// Closes the key when the lookup ends, whichever way it ends.
class OpenKey {
public:
    OpenKey(HKEY root, const char* path) {
        if (::RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &key_) != ERROR_SUCCESS) key_ = nullptr;
    }
    ~OpenKey() {
        if (key_ != nullptr) ::RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

}  // namespace

std::optional<std::string> WindowsRegistry::QueryString(RegistryRoot root, std::string_view path,
                                                        std::string_view valueName, std::size_t bufferLength) {
    const std::optional<std::string> keyPath = ZeroTerminated(path);
    const std::optional<std::string> name = ZeroTerminated(valueName);
    if (!keyPath || !name || bufferLength == 0) return std::nullopt;
    const OpenKey key(RootKey(root), keyPath->c_str());
    if (key.get() == nullptr) return std::nullopt;

    std::vector<char> buffer(std::min<std::size_t>(bufferLength, ULONG_MAX), '\0');
    DWORD type = REG_NONE;
    DWORD size = static_cast<DWORD>(buffer.size());
    if (::RegQueryValueExA(key.get(), name->c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    // The stored value may lack its terminator; the text ends at the first zero.
    const std::string_view stored(buffer.data(), std::min<std::size_t>(size, buffer.size()));
    const std::string_view text = stored.substr(0, stored.find('\0'));
    if (text.size() + 1 > bufferLength) return std::nullopt;
    return std::string(text);
}

}  // namespace ofu::platform
