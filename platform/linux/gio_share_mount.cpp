#include "platform/linux/gio_share_mount.h"

#include <gio/gio.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

namespace ofu::platform::linux_drives {
namespace {

// How long a cancelled call is given to report back before it is left behind.
constexpr int kCancelGraceMillis = 1000;

// Whether GIO would find a session bus without launching one: an address in
// DBUS_SESSION_BUS_ADDRESS (an "autolaunch:" address would start a bus), or the bus socket in
// XDG_RUNTIME_DIR that GDBus uses when the variable is unset. Without either, GIO's first call
// could start a bus of its own (D-Bus autolaunch on X11).
bool SessionBusAddressKnown() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address != nullptr && address[0] != '\0')
        return std::strstr(address, "autolaunch:") == nullptr;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || runtime[0] != '/') return false;
    const std::string socket = std::string(runtime) + "/bus";
    struct stat info{};
    return ::stat(socket.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

// A main context of our own, the thread's default while this object lives, so that the
// callbacks of the calls started meanwhile are dispatched only here and only while we wait.
class PrivateLoop {
public:
    PrivateLoop() : context_(g_main_context_new()) { g_main_context_push_thread_default(context_); }
    ~PrivateLoop() {
        g_main_context_pop_thread_default(context_);
        g_main_context_unref(context_);
    }
    PrivateLoop(const PrivateLoop&) = delete;
    PrivateLoop& operator=(const PrivateLoop&) = delete;

    // Dispatches events until `finished()` holds or `limitMillis` have passed.
    bool RunUntil(const std::function<bool()>& finished, int limitMillis) {
        bool expired = false;
        GSource* timer = g_timeout_source_new(static_cast<guint>(limitMillis > 0 ? limitMillis : 0));
        g_source_set_callback(
            timer,
            [](gpointer flag) -> gboolean {
                *static_cast<bool*>(flag) = true;
                return G_SOURCE_REMOVE;
            },
            &expired, nullptr);
        g_source_attach(timer, context_);
        while (!finished() && !expired) g_main_context_iteration(context_, TRUE);
        g_source_destroy(timer);
        g_source_unref(timer);
        return finished();
    }

private:
    GMainContext* context_;
};

// The state of one asynchronous call, shared by the caller and the callback: a call that
// outlives its time limit and ignores its cancellation may still report back later, so the
// state lives as long as either side needs it.
struct CallState {
    bool done = false;
    bool ok = false;
    GError* error = nullptr;
    // Mount only: the credentials and the password requests seen.
    ShareCredentials credentials;
    int asks = 0;
    bool refused = false;

    ~CallState() {
        if (error != nullptr) g_error_free(error);
    }
};
using SharedState = std::shared_ptr<CallState>;

// A reference to the state for a callback's user data; the callback takes it back.
gpointer Hold(const SharedState& state) { return new SharedState(state); }
SharedState Release(gpointer data) {
    std::unique_ptr<SharedState> holder(static_cast<SharedState*>(data));
    return *holder;
}

void OnMounted(GObject* source, GAsyncResult* result, gpointer data) {
    const SharedState state = Release(data);
    state->ok = g_file_mount_enclosing_volume_finish(G_FILE(source), result, &state->error) != FALSE;
    state->done = true;
}

void OnUnmounted(GObject* source, GAsyncResult* result, gpointer data) {
    const SharedState state = Release(data);
    state->ok = g_mount_unmount_with_operation_finish(G_MOUNT(source), result, &state->error) != FALSE;
    state->done = true;
}

void OnAskPassword(GMountOperation* operation, const char* /*message*/, const char* /*defaultUser*/,
                   const char* defaultDomain, GAskPasswordFlags flags, gpointer data) {
    CallState& state = **static_cast<SharedState*>(data);
    const ShareCredentials& credentials = state.credentials;
    // GVFS's SMB backend cannot offer an empty password for a named user (its client library
    // then sends no credentials and fails with "Invalid argument"). The share check has already
    // accepted that user without a password, which a server does by mapping the user to its
    // guest account, so the mount is made as that guest: anonymously.
    const bool anonymous = credentials.user.empty() || credentials.password.empty();
    // GVFS asks again, with the same text, when the server refused the answer.
    if (++state.asks > 1 || (anonymous && (flags & G_ASK_PASSWORD_ANONYMOUS_SUPPORTED) == 0)) {
        state.refused = true;
        g_mount_operation_reply(operation, G_MOUNT_OPERATION_ABORTED);
        return;
    }
    if (anonymous) {
        g_mount_operation_set_anonymous(operation, TRUE);
    } else {
        g_mount_operation_set_username(operation, credentials.user.c_str());
        g_mount_operation_set_domain(operation, credentials.workgroup.empty()
                                                    ? (defaultDomain != nullptr ? defaultDomain : "")
                                                    : credentials.workgroup.c_str());
        g_mount_operation_set_password(operation, credentials.password.c_str());
        g_mount_operation_set_password_save(operation, G_PASSWORD_SAVE_NEVER);
    }
    g_mount_operation_reply(operation, G_MOUNT_OPERATION_HANDLED);
}

void FreeHeldState(gpointer data, GClosure*) { delete static_cast<SharedState*>(data); }

// Waits for the call; past the limit it is cancelled and given a moment to report.
void Await(PrivateLoop& loop, const SharedState& state, GCancellable* cancellable, int limitMillis) {
    const auto finished = [&state] { return state->done; };
    if (loop.RunUntil(finished, limitMillis)) return;
    g_cancellable_cancel(cancellable);
    loop.RunUntil(finished, kCancelGraceMillis);
}

GFile* ShareRoot(const RemoteName& name) { return g_file_new_for_uri(SmbUrl(name, false).c_str()); }

bool Contains(std::string_view message, const char* text) {
    return text != nullptr && text[0] != '\0' && message.find(text) != std::string_view::npos;
}

// The message holds the error text of one of `errors`, in English or in this process's
// language.
bool MentionsAny(std::string_view message, std::initializer_list<std::pair<int, const char*>> errors) {
    for (const auto& [number, english] : errors) {
        if (Contains(message, english) || Contains(message, std::strerror(number))) return true;
    }
    return false;
}

// The share's mount, or null; `absent` tells a share that is not mounted from a failed lookup.
// The lookup is synchronous on purpose: GVFS answers a repeated asynchronous lookup from its
// cache through an idle callback on the process's global main context, which nobody
// dispatches while we wait (the call would never finish). The synchronous one answers from
// the cache at once, or asks the GVFS daemon over D-Bus (bounded by D-Bus's reply time-out).
GMount* FindMount(const RemoteName& name, bool& absent) {
    GFile* root = ShareRoot(name);
    GError* error = nullptr;
    GMount* mount = g_file_find_enclosing_mount(root, nullptr, &error);
    absent = mount == nullptr && g_error_matches(error, G_IO_ERROR, G_IO_ERROR_NOT_FOUND);
    if (error != nullptr) g_error_free(error);
    g_object_unref(root);
    return mount;
}

}  // namespace

bool GvfsAvailable() {
    if (!SessionBusAddressKnown()) return false;
    GVfs* vfs = g_vfs_get_default();
    if (vfs == nullptr || !g_vfs_is_active(vfs) || std::strcmp(G_OBJECT_TYPE_NAME(vfs), "GDaemonVfs") != 0)
        return false;
    const gchar* const* schemes = g_vfs_get_supported_uri_schemes(vfs);
    for (std::size_t i = 0; schemes != nullptr && schemes[i] != nullptr; ++i) {
        if (std::strcmp(schemes[i], "smb") == 0) return true;
    }
    return false;
}

NetStatus StatusOfMountFailure(int ioErrorCode, std::string_view message) {
    switch (ioErrorCode) {
        case G_IO_ERROR_ALREADY_MOUNTED: return NetStatus::Ok;
        case G_IO_ERROR_PERMISSION_DENIED: return NetStatus::AccessDenied;
        case G_IO_ERROR_NOT_FOUND: return NetStatus::BadNetName;
        case G_IO_ERROR_HOST_NOT_FOUND:
        case G_IO_ERROR_HOST_UNREACHABLE:
        case G_IO_ERROR_NETWORK_UNREACHABLE:
        case G_IO_ERROR_CONNECTION_REFUSED:
        case G_IO_ERROR_TIMED_OUT:
            return NetStatus::BadNetPath;
        default: break;
    }
    if (MentionsAny(message, {{EACCES, "Permission denied"}, {EPERM, "Operation not permitted"}}) ||
        Contains(message, "Anonymous access denied"))
        return NetStatus::AccessDenied;
    if (MentionsAny(message, {{ENOENT, "No such file or directory"}, {ENODEV, "No such device"}}))
        return NetStatus::BadNetName;
    if (MentionsAny(message, {{ECONNREFUSED, "Connection refused"},
                              {EHOSTUNREACH, "No route to host"},
                              {ENETUNREACH, "Network is unreachable"},
                              {ETIMEDOUT, "Connection timed out"},
                              {EINVAL, "Invalid argument"}}))
        return NetStatus::BadNetPath;
    return NetStatus::Failed;
}

MountOutcome MountShare(const RemoteName& name, const ShareCredentials& credentials, int limitMillis) {
    PrivateLoop loop;
    auto state = std::make_shared<CallState>();
    state->credentials = credentials;
    GFile* root = ShareRoot(name);
    GMountOperation* operation = g_mount_operation_new();
    GCancellable* cancellable = g_cancellable_new();
    const gulong handler = g_signal_connect_data(operation, "ask-password", G_CALLBACK(OnAskPassword), Hold(state),
                                                 FreeHeldState, GConnectFlags{});
    g_file_mount_enclosing_volume(root, G_MOUNT_MOUNT_NONE, operation, cancellable, OnMounted, Hold(state));
    Await(loop, state, cancellable, limitMillis);
    g_signal_handler_disconnect(operation, handler);
    g_object_unref(cancellable);
    g_object_unref(operation);
    g_object_unref(root);

    MountOutcome outcome;
    if (state->refused) {
        outcome.status = NetStatus::AccessDenied;
    } else if (!state->done) {
        outcome.status = NetStatus::Failed;
    } else if (state->ok) {
        outcome = {NetStatus::Ok, true};
    } else if (state->error != nullptr && state->error->domain == G_IO_ERROR) {
        outcome.status = state->error->code == G_IO_ERROR_CANCELLED
                             ? NetStatus::Failed
                             : StatusOfMountFailure(state->error->code, state->error->message);
    }
    return outcome;
}

NetStatus UnmountShare(const RemoteName& name, bool force, int limitMillis) {
    PrivateLoop loop;
    bool absent = false;
    GMount* mount = FindMount(name, absent);
    if (mount == nullptr) return absent ? NetStatus::Ok : NetStatus::Failed;
    auto state = std::make_shared<CallState>();
    GCancellable* cancellable = g_cancellable_new();
    g_mount_unmount_with_operation(mount, force ? G_MOUNT_UNMOUNT_FORCE : G_MOUNT_UNMOUNT_NONE, nullptr, cancellable,
                                   OnUnmounted, Hold(state));
    Await(loop, state, cancellable, limitMillis);
    g_object_unref(cancellable);
    g_object_unref(mount);
    if (!state->done) return NetStatus::Failed;
    if (state->ok) return NetStatus::Ok;
    // Gone meanwhile: what was asked for.
    const bool gone = state->error != nullptr && (g_error_matches(state->error, G_IO_ERROR, G_IO_ERROR_NOT_MOUNTED) ||
                                                  g_error_matches(state->error, G_IO_ERROR, G_IO_ERROR_NOT_FOUND));
    return gone ? NetStatus::Ok : NetStatus::Failed;
}

std::string MountedFolder(const RemoteName& name) {
    bool absent = false;
    GMount* mount = FindMount(name, absent);
    if (mount == nullptr) return {};
    GFile* root = g_mount_get_root(mount);
    char* path = g_file_get_path(root);
    g_object_unref(root);
    g_object_unref(mount);
    if (path == nullptr) return {};
    std::string folder(path);
    g_free(path);
    for (const std::string& part : name.folders) folder += "/" + part;
    return folder;
}

}  // namespace ofu::platform::linux_drives
