#pragma once

// A session bus of the test's own: a dbus-daemon started from its program file (never a fork of
// the test, whose threads a forked copy would lack), named by DBUS_SESSION_BUS_ADDRESS while
// this lives, and ended with the test process even if that dies first.

#include <gio/gio.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>

#include "run_until.hpp"
#include "temp_files.hpp"

namespace quillora::test {

class PrivateSessionBus {
public:
    PrivateSessionBus()
    {
        // No service files: nothing on this bus starts but what the test starts itself.
        const std::string config = folder_.Write(
            "bus.conf", "<busconfig><type>session</type><listen>unix:dir=" + folder_.Path().string() +
                            "</listen><policy context='default'><allow send_destination='*' eavesdrop='true'/>"
                            "<allow eavesdrop='true'/><allow own='*'/></policy></busconfig>");
        const std::string config_option = "--config-file=" + config;
        const char* argv[] = {"dbus-daemon", config_option.c_str(), "--nofork", "--print-address", nullptr};
        int address_pipe = -1;
        GError* error = nullptr;
        if (!g_spawn_async_with_pipes(nullptr, const_cast<char**>(argv), nullptr,
                                      static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD),
                                      &EndWithParent, nullptr, &pid_, nullptr, &address_pipe, nullptr, &error)) {
            ADD_FAILURE() << "dbus-daemon did not start: " << error->message;
            g_error_free(error);
            return;
        }
        address_ = FirstLine(address_pipe);
        close(address_pipe);
        if (address_.empty()) {
            ADD_FAILURE() << "dbus-daemon named no address";
            return;
        }
        g_setenv("DBUS_SESSION_BUS_ADDRESS", address_.c_str(), TRUE);
    }
    ~PrivateSessionBus()
    {
        // The process's shared session connection would end the process when its bus goes away:
        // it is told not to, and once the bus is gone the test waits for it to be finalized, so
        // that the next test is not handed a closed one.
        GDBusConnection* shared = address_.empty() ? nullptr : g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
        if (shared != nullptr) g_dbus_connection_set_exit_on_close(shared, FALSE);
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
            g_spawn_close_pid(pid_);
        }
        if (shared != nullptr) {
            bool finalized = false;
            g_object_weak_ref(
                G_OBJECT(shared), [](gpointer done, GObject*) { *static_cast<bool*>(done) = true; }, &finalized);
            g_object_unref(shared);
            if (!RunUntil([&] { return finalized; }, std::chrono::seconds(10))) {
                ADD_FAILURE() << "something still holds the session bus connection";
            }
        }
        if (previous_address_) {
            g_setenv("DBUS_SESSION_BUS_ADDRESS", previous_address_->c_str(), TRUE);
        } else {
            g_unsetenv("DBUS_SESSION_BUS_ADDRESS");
        }
    }
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    [[nodiscard]] const std::string& Address() const { return address_; }

private:
    static void EndWithParent(gpointer) { prctl(PR_SET_PDEATHSIG, SIGTERM); }

    static std::string FirstLine(int fd)
    {
        std::string line;
        char c = 0;
        while (read(fd, &c, 1) == 1 && c != '\n') line += c;
        return line;
    }

    static std::optional<std::string> Getenv(const char* name)
    {
        const char* value = g_getenv(name);
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }

    const std::optional<std::string> previous_address_ = Getenv("DBUS_SESSION_BUS_ADDRESS");
    TempDir folder_;
    GPid pid_ = 0;
    std::string address_;
};

}  // namespace quillora::test
