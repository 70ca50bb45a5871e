#include "appearance/desktop_colour_scheme.hpp"

#include <memory>
#include <string>
#include <utility>

#include "common/event_boundary.hpp"

namespace quillora {

namespace {

constexpr const char* PortalName = "org.freedesktop.portal.Desktop";
constexpr const char* PortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* PortalInterface = "org.freedesktop.portal.Settings";
constexpr const char* AppearanceNamespace = "org.freedesktop.appearance";
constexpr const char* ColourSchemeKey = "color-scheme";
constexpr const char* GnomeSchema = "org.gnome.desktop.interface";

// A session bus the environment names: its address, or the per-user bus of the login session.
// Without one GIO would try to start a bus of its own, which is not a reader's book to do.
bool SessionBusNamed()
{
    const char* address = g_getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address != nullptr && *address != '\0') return true;
    const char* runtime_dir = g_getenv("XDG_RUNTIME_DIR");
    if (runtime_dir == nullptr || *runtime_dir == '\0') return false;
    const GCharPtr socket(g_build_filename(runtime_dir, "bus", nullptr));
    return g_file_test(socket.get(), G_FILE_TEST_EXISTS);
}

// The portal's older Read wraps the value in one variant more than its signal does.
GVariant* Unboxed(GVariant* value)
{
    GVariant* inner = g_variant_ref(value);
    while (g_variant_is_of_type(inner, G_VARIANT_TYPE_VARIANT)) {
        GVariant* next = g_variant_get_variant(inner);
        g_variant_unref(inner);
        inner = next;
    }
    return inner;
}

}  // namespace

DesktopColourScheme::DesktopColourScheme(Listener changed) : changed_(std::move(changed))
{
    // Outside a desktop session there is no preference to follow, and GNOME's settings would
    // leave files of their own in the reader's folders.
    if (!SessionBusNamed()) return;
    WatchGnomeSetting();
    AskPortal();
}

DesktopColourScheme::~DesktopColourScheme()
{
    // Replies still on their way see the cancellation and leave this object alone.
    g_cancellable_cancel(cancellable_.get());
    if (portal_subscription_ != 0) {
        g_dbus_connection_signal_unsubscribe(bus_.get(), portal_subscription_);
    }
}

void DesktopColourScheme::WatchGnomeSetting()
{
    // Only where the schema is installed: GSettings aborts the program for a missing one.
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (source == nullptr) return;
    GSettingsSchema* schema = g_settings_schema_source_lookup(source, GnomeSchema, TRUE);
    if (schema == nullptr) return;
    // Older releases of the schema have no colour scheme yet.
    if (g_settings_schema_has_key(schema, ColourSchemeKey)) {
        gnome_ = GObjectPtr<GSettings>::Adopt(g_settings_new_full(schema, nullptr, nullptr));
    }
    g_settings_schema_unref(schema);
    if (!gnome_) return;

    gnome_changed_ = Connect<void(GSettings*, const char*)>(gnome_.get(), "changed::color-scheme",
                                                            [this](GSettings*, const char*) { GnomeSettingChanged(); });
    const GCharPtr value(g_settings_get_string(gnome_.get(), ColourSchemeKey));
    current_ = ColourSchemeFromGnome(value.get());
}

void DesktopColourScheme::GnomeSettingChanged()
{
    if (portal_answered_) return;
    const GCharPtr value(g_settings_get_string(gnome_.get(), ColourSchemeKey));
    Report(ColourSchemeFromGnome(value.get()));
}

void DesktopColourScheme::AskPortal()
{
    // The bus connection is shared by the whole program, and cancelling its making would fail
    // it for everyone waiting for it; so the reply is waited for and dropped if this is gone.
    struct Waiting {
        GObjectPtr<GCancellable> gone;
        DesktopColourScheme* watcher;
    };
    g_bus_get(
        G_BUS_TYPE_SESSION, nullptr,
        [](GObject*, GAsyncResult* result, gpointer data) {
            const std::unique_ptr<Waiting> waiting(static_cast<Waiting*>(data));
            GDBusConnection* bus = g_bus_get_finish(result, nullptr);
            // No bus after all: GNOME's setting, if any, is all there is.
            if (bus == nullptr) return;
            if (g_cancellable_is_cancelled(waiting->gone.get())) {
                g_object_unref(bus);
                return;
            }
            waiting->watcher->PortalConnected(bus);
        },
        new Waiting{cancellable_, this});
}

void DesktopColourScheme::PortalConnected(GDBusConnection* bus)
{
    bus_ = GObjectPtr<GDBusConnection>::Adopt(bus);
    // Subscribed before asking, so that no change between the answer and the subscription is missed.
    portal_subscription_ = g_dbus_connection_signal_subscribe(
        bus_.get(), PortalName, PortalInterface, "SettingChanged", PortalPath, AppearanceNamespace,
        G_DBUS_SIGNAL_FLAGS_NONE,
        [](GDBusConnection*, const char*, const char*, const char*, const char*, GVariant* parameters, gpointer data) {
            AtEventBoundary([&] {
                const char* name_space = nullptr;
                const char* key = nullptr;
                GVariant* value = nullptr;
                g_variant_get(parameters, "(&s&sv)", &name_space, &key, &value);
                if (g_strcmp0(key, ColourSchemeKey) == 0) {
                    static_cast<DesktopColourScheme*>(data)->PortalStated(value);
                }
                g_variant_unref(value);
            });
        },
        this, nullptr);

    g_dbus_connection_call(
        bus_.get(), PortalName, PortalPath, PortalInterface, "Read",
        g_variant_new("(ss)", AppearanceNamespace, ColourSchemeKey), G_VARIANT_TYPE("(v)"), G_DBUS_CALL_FLAGS_NONE, -1,
        cancellable_.get(),
        [](GObject* source, GAsyncResult* result, gpointer data) {
            GError* error = nullptr;
            GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &error);
            // Cancelled (this object is gone), no portal, or one that does not know the key:
            // GNOME's setting stands.
            g_clear_error(&error);
            if (reply == nullptr) return;
            GVariant* value = g_variant_get_child_value(reply, 0);
            AtEventBoundary([&] { static_cast<DesktopColourScheme*>(data)->PortalStated(value); });
            g_variant_unref(value);
            g_variant_unref(reply);
        },
        this);
}

void DesktopColourScheme::PortalStated(GVariant* value)
{
    GVariant* plain = Unboxed(value);
    // A value of another type is no statement about the colour scheme.
    if (g_variant_is_of_type(plain, G_VARIANT_TYPE_UINT32)) {
        portal_answered_ = true;
        Report(ColourSchemeFromPortal(g_variant_get_uint32(plain)));
    }
    g_variant_unref(plain);
}

void DesktopColourScheme::Report(ColourScheme scheme)
{
    if (scheme == current_) return;
    current_ = scheme;
    if (changed_) changed_(current_);
}

}  // namespace quillora
