#pragma once

// A stand-in for the desktop's settings portal, on a private session bus, that states a colour
// scheme: for tests of following the reader's light-or-dark preference without the reader's own
// desktop having a say.

#include <gio/gio.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "private_session_bus.hpp"

namespace quillora::test {

// org.freedesktop.portal.Desktop on its own connection to `bus`, serving the Settings interface
// with one value, org.freedesktop.appearance color-scheme.
class SettingsPortal {
public:
    // How Read wraps its value: portals before the interface's second version box it twice.
    enum class Boxing { Twice, Once };

    SettingsPortal(const PrivateSessionBus& bus, std::uint32_t colour_scheme, Boxing boxing = Boxing::Twice)
        : colour_scheme_(colour_scheme)
        , boxing_(boxing)
    {
        GError* error = nullptr;
        connection_ = g_dbus_connection_new_for_address_sync(
            bus.Address().c_str(),
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, &error);
        if (connection_ == nullptr) {
            ADD_FAILURE() << "no connection to the private bus: " << error->message;
            g_error_free(error);
            return;
        }
        GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(Introspection, nullptr);
        static const GDBusInterfaceVTable vtable = {&SettingsPortal::MethodCall, nullptr, nullptr, {}};
        registration_ =
            g_dbus_connection_register_object(connection_, Path, node->interfaces[0], &vtable, this, nullptr, nullptr);
        g_dbus_node_info_unref(node);
        GVariant* reply = g_dbus_connection_call_sync(
            connection_, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
            g_variant_new("(su)", Name, 4u /* DBUS_NAME_FLAG_DO_NOT_QUEUE */), G_VARIANT_TYPE("(u)"),
            G_DBUS_CALL_FLAGS_NONE, -1, nullptr, &error);
        if (reply == nullptr) {
            ADD_FAILURE() << "the portal's name was not granted: " << error->message;
            g_error_free(error);
            return;
        }
        g_variant_unref(reply);
    }
    ~SettingsPortal()
    {
        if (connection_ == nullptr) return;
        g_dbus_connection_unregister_object(connection_, registration_);
        g_dbus_connection_close_sync(connection_, nullptr, nullptr);
        g_object_unref(connection_);
    }
    SettingsPortal(const SettingsPortal&) = delete;
    SettingsPortal& operator=(const SettingsPortal&) = delete;

    // The reader changes the preference: the portal says so to everyone on the bus.
    void Change(std::uint32_t colour_scheme, const char* key = "color-scheme")
    {
        colour_scheme_ = colour_scheme;
        g_dbus_connection_emit_signal(
            connection_, nullptr, Path, Interface, "SettingChanged",
            g_variant_new("(ssv)", "org.freedesktop.appearance", key, g_variant_new_uint32(colour_scheme)), nullptr);
        g_dbus_connection_flush_sync(connection_, nullptr, nullptr);
    }

    // How many times the portal was asked.
    [[nodiscard]] int Reads() const { return reads_; }

private:
    static constexpr const char* Name = "org.freedesktop.portal.Desktop";
    static constexpr const char* Path = "/org/freedesktop/portal/desktop";
    static constexpr const char* Interface = "org.freedesktop.portal.Settings";
    static constexpr const char* Introspection =
        "<node><interface name='org.freedesktop.portal.Settings'>"
        "<method name='Read'><arg type='s' direction='in'/><arg type='s' direction='in'/>"
        "<arg type='v' direction='out'/></method>"
        "<signal name='SettingChanged'><arg type='s'/><arg type='s'/><arg type='v'/></signal>"
        "</interface></node>";

    static void MethodCall(GDBusConnection*, const char*, const char*, const char*, const char*, GVariant* parameters,
                           GDBusMethodInvocation* invocation, gpointer data)
    {
        auto& portal = *static_cast<SettingsPortal*>(data);
        ++portal.reads_;
        const char* name_space = nullptr;
        const char* key = nullptr;
        g_variant_get(parameters, "(&s&s)", &name_space, &key);
        if (g_strcmp0(name_space, "org.freedesktop.appearance") != 0 || g_strcmp0(key, "color-scheme") != 0) {
            g_dbus_method_invocation_return_dbus_error(invocation, "org.freedesktop.portal.Error.NotFound",
                                                       "Requested setting not found");
            return;
        }
        GVariant* value = g_variant_new_uint32(portal.colour_scheme_);
        if (portal.boxing_ == Boxing::Twice) value = g_variant_new_variant(value);
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(v)", value));
    }

    std::uint32_t colour_scheme_;
    Boxing boxing_;
    GDBusConnection* connection_ = nullptr;
    guint registration_ = 0;
    int reads_ = 0;
};

}  // namespace quillora::test
