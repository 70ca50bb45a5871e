#pragma once

#include <gio/gio.h>

#include <functional>

#include "appearance/colour_scheme.hpp"
#include "common/gobject_ptr.hpp"
#include "common/signal_connection.hpp"

namespace quillora {

// Watches the reader's light-or-dark preference while the book is open. The settings portal
// (org.freedesktop.portal.Settings, which every desktop's portal serves) is asked first; until it
// answers, or where there is none, GNOME's own `color-scheme` setting stands in. Nothing here
// waits: the portal is asked over the session bus without blocking, and only a bus the
// environment names is used. Outside a desktop session (no such bus) nothing is read and the
// toolkit's own settings stand.
class DesktopColourScheme {
public:
    using Listener = std::function<void(ColourScheme)>;

    // `changed` is called on the main loop whenever the preference changes after construction.
    explicit DesktopColourScheme(Listener changed);
    ~DesktopColourScheme();
    DesktopColourScheme(const DesktopColourScheme&) = delete;
    DesktopColourScheme& operator=(const DesktopColourScheme&) = delete;

    ColourScheme Current() const { return current_; }
    // Whether the settings portal has stated the preference (then GNOME's setting no longer counts).
    bool FromPortal() const { return portal_answered_; }

private:
    void WatchGnomeSetting();
    void GnomeSettingChanged();
    void AskPortal();
    void PortalConnected(GDBusConnection* bus);
    void PortalStated(GVariant* value);
    void Report(ColourScheme scheme);

    Listener changed_;
    ColourScheme current_ = ColourScheme::NoPreference;
    bool portal_answered_ = false;
    GObjectPtr<GCancellable> cancellable_ = GObjectPtr<GCancellable>::Adopt(g_cancellable_new());
    GObjectPtr<GSettings> gnome_;
    SignalConnection gnome_changed_;
    GObjectPtr<GDBusConnection> bus_;
    guint portal_subscription_ = 0;
};

}  // namespace quillora
