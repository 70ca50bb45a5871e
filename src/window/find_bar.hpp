#pragma once

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <string>
#include <vector>

#include "common/signal_connection.hpp"

namespace quillora {

// The find bar below the page: it looks for the entry's text in the page as the reader types
// (any letter case, wrapping at the end), highlights every match, shows how many there are, and
// steps through them. It takes no room while closed; closing it clears the highlights and gives
// the keyboard back to the page.
class FindBar {
public:
    // `builder` holds the bar's widgets (find_bar, find_entry, find_previous, find_next,
    // find_count, find_close); `view` is the page.
    FindBar(GtkBuilder* builder, WebKitWebView* view);
    ~FindBar();
    FindBar(const FindBar&) = delete;
    FindBar& operator=(const FindBar&) = delete;

    void Open();
    // Open the bar looking for `text` (what the whole-book search found on the page).
    void Open(const std::string& text);
    void Close();
    [[nodiscard]] bool IsOpen() const;
    // Open the bar when closed; step to the next or previous match of its text.
    void Next();
    void Previous();
    // What the bar says about the matches ("3 matches", "No matches", or nothing).
    [[nodiscard]] std::string CountText() const;

private:
    static void OnSearchChanged(GtkSearchEntry* entry, gpointer self);
    static void OnFoundText(WebKitFindController* controller, guint count, gpointer self);
    static void OnFailedToFind(WebKitFindController* controller, gpointer self);
    static void OnModeChanged(GObject* bar, GParamSpec* property, gpointer self);

    void Search();
    void ShowCount(guint count);

    GtkSearchBar* bar_;
    GtkEntry* entry_;
    GtkLabel* count_;
    WebKitWebView* view_;
    WebKitFindController* finder_;
    std::vector<SignalConnection> connections_;
};

}  // namespace quillora
