#include "platform/linux/share_mount/session_watch.h"

#include <gio/gio.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>
#include <thread>

namespace ofu::share_mount {
namespace {

void OnClosed(GDBusConnection*, gboolean, GError*, gpointer loop) {
    ::kill(::getpid(), SIGTERM);
    g_main_loop_quit(static_cast<GMainLoop*>(loop));
}

}  // namespace

bool WatchSessionEnd() {
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address == nullptr || address[0] == '\0') return true;

    // The thread, and the bus worker thread GLib starts from it, inherit this mask.
    sigset_t termination;
    sigemptyset(&termination);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP, SIGPIPE}) sigaddset(&termination, signal);
    sigset_t previous;
    ::pthread_sigmask(SIG_BLOCK, &termination, &previous);

    GError* error = nullptr;
    GMainContext* context = g_main_context_new();
    g_main_context_push_thread_default(context);
    GDBusConnection* bus = g_dbus_connection_new_for_address_sync(
        address,
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, &error);
    g_main_context_pop_thread_default(context);
    if (bus == nullptr) {
        g_clear_error(&error);
        g_main_context_unref(context);
        ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
        return false;
    }
    g_dbus_connection_set_exit_on_close(bus, FALSE);
    bool started = true;
    try {
        std::thread([bus, context] {
        g_main_context_push_thread_default(context);
        GMainLoop* loop = g_main_loop_new(context, FALSE);
        g_signal_connect(bus, "closed", G_CALLBACK(OnClosed), loop);
        if (g_dbus_connection_is_closed(bus)) {
            ::kill(::getpid(), SIGTERM);
        } else {
            g_main_loop_run(loop);
        }
        g_main_loop_unref(loop);
        }).detach();
    } catch (const std::system_error&) {
        started = false;  // no thread to spare: the mount lives until it is unmapped
    }
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return started;
}

}  // namespace ofu::share_mount
