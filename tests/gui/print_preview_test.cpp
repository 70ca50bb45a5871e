#include "webview/print_preview_window.hpp"

#include <gtest/gtest.h>
#include <gtk/gtkunixprint.h>
#include <poppler.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "common/error.hpp"
#include "common/event_boundary.hpp"
#include "gui_test_support.hpp"
#include "webview/page_printer.hpp"

namespace quillora {
namespace {

using test::RunUntil;
using namespace std::chrono_literals;

// Paragraphs enough for about twenty A4 pages, so that a landscape page setup gives another
// page count.
std::string LongDocument()
{
    std::string body;
    for (int i = 1; i <= 126; ++i) {
        body += "<p>Paragraph " + std::to_string(i) + ". ";
        for (int word = 0; word < 12; ++word) {
            body += "The quick brown fox jumps over the lazy dog. ";
        }
        body += "</p>";
    }
    return test::Page("Long book", body);
}

int PopplerPageCount(const std::string& pdf_path)
{
    const GCharPtr uri(g_filename_to_uri(pdf_path.c_str(), nullptr, nullptr));
    auto document = GObjectPtr<PopplerDocument>::Adopt(poppler_document_new_from_file(uri.get(), nullptr, nullptr));
    return document ? poppler_document_get_n_pages(document.get()) : -1;
}

// The widget of `root`'s tree, title bar included, that assistive technologies call `name`.
GtkWidget* FindByAccessibleName(GtkWidget* root, const std::string& name)
{
    const char* own = atk_object_get_name(gtk_widget_get_accessible(root));
    if (own != nullptr && name == own) {
        return root;
    }
    GtkWidget* found = nullptr;
    if (GTK_IS_WINDOW(root) && gtk_window_get_titlebar(GTK_WINDOW(root)) != nullptr) {
        found = FindByAccessibleName(gtk_window_get_titlebar(GTK_WINDOW(root)), name);
    }
    if (found == nullptr && GTK_IS_CONTAINER(root)) {
        GList* children = gtk_container_get_children(GTK_CONTAINER(root));
        for (GList* child = children; child != nullptr && found == nullptr; child = child->next) {
            found = FindByAccessibleName(GTK_WIDGET(child->data), name);
        }
        g_list_free(children);
    }
    return found;
}

void Click(PrintPreviewWindow& preview, const std::string& name)
{
    GtkWidget* button = FindByAccessibleName(GTK_WIDGET(preview.Window()), name);
    ASSERT_NE(button, nullptr) << "no control named " << name;
    gtk_button_clicked(GTK_BUTTON(button));
}

void PressKey(GtkWindow* window, guint keyval)
{
    GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
    event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(GTK_WIDGET(window))));
    event->key.keyval = keyval;
    event->key.time = GDK_CURRENT_TIME;
    gdk_event_set_device(event, gdk_seat_get_keyboard(gdk_display_get_default_seat(gdk_display_get_default())));
    gtk_widget_event(GTK_WIDGET(window), event);
    gdk_event_free(event);
}

// Answers the page-setup dialog, whenever one shows, as a user would: landscape, OK.
gboolean AnswerLandscape(gpointer)
{
    GList* windows = gtk_window_list_toplevels();
    for (GList* item = windows; item != nullptr; item = item->next) {
        if (GTK_IS_PAGE_SETUP_UNIX_DIALOG(item->data) && gtk_widget_get_visible(GTK_WIDGET(item->data))) {
            auto* dialog = GTK_PAGE_SETUP_UNIX_DIALOG(item->data);
            GtkPageSetup* landscape = gtk_page_setup_new();
            gtk_page_setup_set_orientation(landscape, GTK_PAGE_ORIENTATION_LANDSCAPE);
            gtk_page_setup_unix_dialog_set_page_setup(dialog, landscape);
            g_object_unref(landscape);
            gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
        }
    }
    g_list_free(windows);
    return G_SOURCE_CONTINUE;
}

// A web view in a shown window with the long document loaded, and its printer.
class PrintPreviewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetErrorReporter([this](const std::string& text) { reports.push_back(text); });
        window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        GtkWidget* view = webkit_web_view_new();
        gtk_container_add(GTK_CONTAINER(window_), view);
        gtk_widget_show_all(window_);
        const GCharPtr uri(g_filename_to_uri(folder.Write("long.html", LongDocument()).c_str(), nullptr, nullptr));
        webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), uri.get());
        ASSERT_TRUE(RunUntil([&] {
            return webkit_web_view_get_estimated_load_progress(WEBKIT_WEB_VIEW(view)) == 1.0 &&
                   !webkit_web_view_is_loading(WEBKIT_WEB_VIEW(view));
        }));
        printer = std::make_unique<PagePrinter>(WEBKIT_WEB_VIEW(view));
    }

    void TearDown() override
    {
        printer.reset();
        gtk_widget_destroy(window_);
        SetErrorReporter(nullptr);
    }

    GtkWindow* Window() const { return GTK_WINDOW(window_); }

    test::TempDir folder;
    std::unique_ptr<PagePrinter> printer;
    std::vector<std::string> reports;

private:
    GtkWidget* window_ = nullptr;
};

TEST_F(PrintPreviewTest, ShowsEveryPageTurnsThemAndFollowsThePageSetup)
{
    printer->Preview(Window());
    ASSERT_TRUE(RunUntil([&] { return printer->OpenPreview() != nullptr; }, 60s)) << ::testing::PrintToString(reports);
    PrintPreviewWindow& preview = *printer->OpenPreview();
    const std::string portrait_pdf = preview.PdfPath();
    const int portrait_pages = preview.PageCount();
    EXPECT_EQ(portrait_pages, PopplerPageCount(portrait_pdf));
    ASSERT_GT(portrait_pages, 1);

    // Only what is in view is rendered: the first page, perhaps the top of the second.
    ASSERT_TRUE(RunUntil([&] { return preview.PagesRendered() > 0; }));
    EXPECT_LE(preview.PagesRendered(), 2);

    // page -> next, next, previous, Page Down, End, next (stays) -> 1, 2, 1, 2, last, last
    EXPECT_EQ(preview.CurrentPage(), 0);
    Click(preview, "Next page");
    Click(preview, "Next page");
    Click(preview, "Previous page");
    EXPECT_EQ(preview.CurrentPage(), 1);
    PressKey(preview.Window(), GDK_KEY_Page_Down);
    EXPECT_EQ(preview.CurrentPage(), 2);
    PressKey(preview.Window(), GDK_KEY_End);
    Click(preview, "Next page");
    EXPECT_EQ(preview.CurrentPage(), portrait_pages - 1);

    // A landscape page setup chosen from the preview renders it afresh, in the same window.
    const guint answer = g_timeout_add(50, &AnswerLandscape, nullptr);
    Click(preview, "Page setup");
    g_source_remove(answer);
    ASSERT_TRUE(RunUntil([&] { return preview.PdfPath() != portrait_pdf; }, 60s));
    EXPECT_EQ(printer->OpenPreview(), &preview);
    EXPECT_NE(preview.PageCount(), portrait_pages);
    EXPECT_EQ(preview.PageCount(), PopplerPageCount(preview.PdfPath()));
    EXPECT_GT(preview.Layout().Page(0).width, preview.Layout().Page(0).height);
    EXPECT_FALSE(std::filesystem::exists(portrait_pdf));

    // Escape closes the window and removes its PDF.
    const std::string landscape_pdf = preview.PdfPath();
    PressKey(preview.Window(), GDK_KEY_Escape);
    ASSERT_TRUE(RunUntil([&] { return printer->OpenPreview() == nullptr; }));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(landscape_pdf).parent_path()));
    EXPECT_TRUE(reports.empty()) << reports.front();
}

// Printing without a dialog on a machine without printers (as CI's virtual display is) says so
// at once, instead of a failure from the engine after the call has returned.
TEST_F(PrintPreviewTest, PrintingWithoutAPrinterSaysWhatToDo)
{
    bool has_printer = false;
    gtk_enumerate_printers(
        [](GtkPrinter* found, gpointer any) -> gboolean {
            *static_cast<bool*>(any) = *static_cast<bool*>(any) || !gtk_printer_is_virtual(found);
            return FALSE;
        },
        &has_printer, nullptr, TRUE);
    if (has_printer) {
        GTEST_SKIP() << "this machine has a printer";
    }
    try {
        printer->Print();
        ADD_FAILURE() << "printed without a printer";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "There is no printer to print to. Add a printer in the system's printer "
                                   "settings and try again");
    }
    EXPECT_FALSE(RunUntil([&] { return !reports.empty(); }, 1s)) << reports.front();
}

// Not a test: the time from asking for a preview of the long document until its first page is on
// screen, split at the moment the PDF is ready. Run it with --gtest_also_run_disabled_tests.
TEST_F(PrintPreviewTest, DISABLED_MeasureTimeToFirstPage)
{
    using Clock = std::chrono::steady_clock;
    auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
    for (int round = 0; round < 7; ++round) {
        const auto start = Clock::now();
        printer->Preview(Window());
        ASSERT_TRUE(RunUntil([&] { return printer->OpenPreview() != nullptr; }, 60s));
        const auto pdf_ready = Clock::now();
        ASSERT_TRUE(RunUntil([&] { return printer->OpenPreview()->PagesRendered() > 0; }));
        const auto first_page = Clock::now();
        std::printf("pages=%d pdf_ms=%.0f first_page_ms=%.0f total_ms=%.0f\n", printer->OpenPreview()->PageCount(),
                    ms(pdf_ready - start), ms(first_page - pdf_ready), ms(first_page - start));
        gtk_window_close(printer->OpenPreview()->Window());
        ASSERT_TRUE(RunUntil([&] { return printer->OpenPreview() == nullptr; }));
    }
}

}  // namespace
}  // namespace quillora
