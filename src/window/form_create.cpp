// Start-up of an e-book: the payload, the settings, the internet requirement and the home page.
#include <vector>

#include "book/page_path.hpp"
#include "book/self_path.hpp"
#include "common/error.hpp"
#include "common/event_boundary.hpp"
#include "common/gobject_ptr.hpp"
#include "common/signal_connection.hpp"
#include "payload/conversions.hpp"
#include "payload/payload.hpp"
#include "payload/setting_index.hpp"
#include "payload/settings_list.hpp"
#include "webview/web_browser.hpp"
#include "window/first_frame.hpp"
#include "window/form_apresentacao.hpp"
#include "window/internet_check.hpp"
#include "window/message_boxes.hpp"

namespace quillora {

namespace {
constexpr const char* MessageCaption = "Quillora";
}

void Tform_apresentacao::FormCreate(const std::string& program_path)
{
    executable_folder_ = FolderOf(program_path);

    // The container lives for this call only; it holds no open file between its operations.
    const TPayload payload(program_path);
    // A book that may be run but not read tells the reader so, not just the error's number.
    const auto reading_own_file = [&program_path](const auto& read) {
        try {
            return read();
        } catch (const IoError& error) {
            throw IoError(OwnFileErrorText(program_path, error), error.Code());
        }
    };
    if (!reading_own_file([&] { return payload.IsPresent(); })) {
        return;  // a bare runtime: the window as described, with an empty browser
    }
    // The book's pages may read the book's own files, and no other. When that cannot be set up
    // the reader hears why and the book opens all the same, its pages without file access.
    AtEventBoundary([&] {
        web_->SetBookFolder(executable_folder_);
        web_->AllowFileAccessWithin(executable_folder_);
    });

    {
        // The raw text goes as soon as the list holds it, before applying can copy the list again.
        SettingsList settings = SettingsList::FromPayloadBytes(reading_own_file([&payload] {
            std::string text(static_cast<std::size_t>(payload.DataLength()), '\0');
            payload.ReadInto(text);
            return text;
        }));
        ApplySettings(settings);
    }  // the settings list is discarded before the connection check and the home page

    if (kept_.internet_required) {
        const ConnectionOutcome outcome = CheckInternet();
        if (outcome != ConnectionOutcome::Connected) {
            if (outcome == ConnectionOutcome::Unreachable) {
                ShowWarningBox(Window(), MessageCaption, kept_.msg_internet_required);
            } else {
                gtk_widget_hide(Widget());  // the reader closed the window: the program ends without a word
            }
            RequestQuit();
            return;
        }
    }
    OpenHomePage();
}

ConnectionOutcome Tform_apresentacao::CheckInternet()
{
    // The check lets the main loop run, so the reader may close the window meanwhile: that
    // abandons the check, and the caller ends the program.
    const auto abandon = GObjectPtr<GCancellable>::Adopt(g_cancellable_new());
    const SignalConnection close_watch = Connect<gboolean(GtkWidget*, GdkEvent*)>(
        Window(), "delete-event", [&abandon](GtkWidget*, GdkEvent*) -> gboolean {
            g_cancellable_cancel(abandon.get());
            return TRUE;  // the caller hides the window once the check has ended
        });
    return AwaitConnection(ProbeAddress(), abandon.get());
}

void Tform_apresentacao::OpenHomePage()
{
    const std::string page = PagePathOf(kept_.home_page, executable_folder_);
    if (RegularFileExists(page)) {
        // Loading the first page sets up the engine's first web process, which holds the main
        // thread for a while: the reader sees the window first. An opening animation has shown
        // the window already, and a disappearing one leaves it hidden on purpose.
        const bool animated = animacao_form_.LeftVisibility();
        if (!animated && !ShowFirstFrame(Window())) {
            RequestQuit();  // closed before its page was asked for
            return;
        }
        web_->Navigate(page);
    } else {
        ShowWarningBox(Window(), MessageCaption, kept_.msg_home_page_missing);
        RequestQuit();
    }
}

}  // namespace quillora
