#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/event_boundary.hpp"
#include "ebook_fixture.hpp"
#include "gui_test_support.hpp"
#include "webview/web_browser.hpp"
#include "window/form_apresentacao.hpp"

namespace quillora {
namespace {

using test::EBookFixture;
using test::Page;
using test::PlainSettings;
using test::RunUntil;

struct ButtonDescription {
    const char* name;
    const char* hint;
    const char* image;
};
constexpr ButtonDescription Buttons[] = {
    {"b_home", "Página Principal", "quillora-home"},
    {"b_volta", "Voltar", "quillora-back"},
    {"b_proximo", "Avançar", "quillora-forward"},
    {"b_refresh", "Atualizar", "quillora-refresh"},
    {"b_stop", "Parar", "quillora-stop"},
    {"bot_selectall", "Selecionar Tudo", "quillora-select-all"},
    {"botao_copiar", "Copiar Texto Selecionado", "quillora-copy"},
    {"bt_imprimir", "Imprimir", "quillora-print"},
    {"bt_sair", "Sair", "quillora-exit"},
    {"b_about", "Sobre", "quillora-about"},
};

class WindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        SetErrorReporter([this](const std::string& text) { reports.push_back(text); });
        window = Tform_apresentacao::Create();
        ASSERT_TRUE(window);
    }
    void TearDown() override
    {
        window.reset();
        SetErrorReporter(nullptr);
    }

    GtkProgressBar* Progress() { return GTK_PROGRESS_BAR(window->Component("progresso")); }
    std::string TitlePanel() { return gtk_label_get_text(GTK_LABEL(window->Component("barra_estado_panel1"))); }
    bool Enabled(const char* name) { return gtk_widget_get_sensitive(window->Component(name)); }

    // Starts the window on an e-book and waits for its home page to finish loading.
    void OpenBook(const EBookFixture& book)
    {
        bool loaded = false;
        EventConnection watch =
            window->Web().signal_document_complete.Connect([&loaded](const std::string&) { loaded = true; });
        AtEventBoundary([&] { window->FormCreate(book.ProgramPath()); });
        gtk_widget_show(window->Widget());
        const bool finished = RunUntil([&] { return loaded; });
        watch.Disconnect();
        ASSERT_TRUE(reports.empty()) << reports.front();
        ASSERT_TRUE(finished);
    }

    std::unique_ptr<Tform_apresentacao> window;
    std::vector<std::string> reports;
};

TEST_F(WindowTest, BareWindowHasEveryComponentHintAndImage)
{
    EXPECT_EQ(test::TitleOf(window->Window()), "Título");
    for (const auto& button : Buttons) {
        GtkWidget* item = window->Component(button.name);
        ASSERT_TRUE(item != nullptr && GTK_IS_TOOL_BUTTON(item)) << button.name;
        EXPECT_EQ(test::TooltipOf(item), button.hint) << button.name;
        EXPECT_STREQ(gtk_tool_button_get_icon_name(GTK_TOOL_BUTTON(item)), button.image) << button.name;
        EXPECT_TRUE(gtk_widget_get_visible(item)) << button.name;
        EXPECT_TRUE(gtk_widget_get_sensitive(item)) << button.name;
    }
    // Tool-bar order: the description's, with the two separators in their places.
    GtkToolbar* toolbar = GTK_TOOLBAR(window->Component("toolbar"));
    ASSERT_EQ(gtk_toolbar_get_n_items(toolbar), 12);
    const char* order[] = {"b_home",        "sep1",         "b_volta",     "b_proximo", "b_refresh", "b_stop",
                           "bot_selectall", "botao_copiar", "bt_imprimir", "bt_sair",   "sep2",      "b_about"};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(GTK_WIDGET(gtk_toolbar_get_nth_item(toolbar, i)), window->Component(order[i])) << order[i];
    }
    for (const char* name : {"Web", "barra_estado", "progresso", "Menu_Normal"}) {
        EXPECT_NE(window->Component(name), nullptr) << name;
    }
    EXPECT_FALSE(gtk_widget_get_visible(GTK_WIDGET(Progress())));
    EXPECT_FALSE(gtk_widget_get_visible(window->Component("Menu_Normal"))) << "an empty menu takes no room";
    EXPECT_TRUE(gtk_widget_get_visible(window->Component("barra_estado")));
    EXPECT_FALSE(window->Skin().Active());
    EXPECT_EQ(window->Skin().LoadedSkin(), -1);
    EXPECT_FALSE(window->Caption().Active);
}

TEST_F(WindowTest, HiddenControlsTakeNoRoom)
{
    gtk_widget_show(window->Widget());
    GtkWidget* web = window->Component("Web");
    GtkWidget* home = window->Component("b_home");
    GtkWidget* back = window->Component("b_volta");
    const auto x_of = [](GtkWidget* widget) {
        GtkAllocation box;
        gtk_widget_get_allocation(widget, &box);
        return box.x;
    };
    const auto y_of = [](GtkWidget* widget) {
        GtkAllocation box;
        gtk_widget_get_allocation(widget, &box);
        return box.y;
    };
    ASSERT_TRUE(RunUntil([&] { return gtk_widget_get_allocated_height(web) > 1; }));
    const int home_x = x_of(home);
    const int web_top = y_of(web);
    const int web_height = gtk_widget_get_allocated_height(web);
    // The buttons are 36 x 30.
    GtkWidget* home_button = gtk_bin_get_child(GTK_BIN(home));
    EXPECT_EQ(gtk_widget_get_allocated_width(home_button), 36);
    EXPECT_EQ(gtk_widget_get_allocated_height(home_button), 30);
    EXPECT_EQ(gtk_widget_get_allocated_height(window->Component("toolbar")), 36);

    // Hiding b_home with its separator moves b_volta to the left edge of the tool bar.
    gtk_widget_hide(home);
    gtk_widget_hide(window->Component("sep1"));
    EXPECT_TRUE(RunUntil([&] { return x_of(back) == home_x; }));

    // Without tool bar and status bar the browser takes the whole client area.
    gtk_widget_hide(window->Component("toolbar"));
    gtk_widget_hide(window->Component("barra_estado"));
    EXPECT_TRUE(RunUntil([&] { return y_of(web) < web_top && gtk_widget_get_allocated_height(web) > web_height; }));
    EXPECT_EQ(gtk_widget_get_allocated_height(web), gtk_widget_get_allocated_height(window->Component("client_area")));
}

TEST_F(WindowTest, WithoutPayloadNothingIsAppliedAndNoPageLoads)
{
    test::TempDir folder;
    const std::string runtime = folder.Write("book", "no payload here");
    AtEventBoundary([&] { window->FormCreate(runtime); });
    EXPECT_TRUE(reports.empty());
    EXPECT_FALSE(window->QuitRequested());
    EXPECT_EQ(test::TitleOf(window->Window()), "Título");
    EXPECT_FALSE(window->Web().HasDocument());
}

TEST_F(WindowTest, HomePageLoadsAndItsTitleShowsInTheStatusBar)
{
    EBookFixture book(PlainSettings());
    book.WritePage("index.html", Page("Início do atlas", "<p>Olá</p>"));
    EXPECT_FALSE(gtk_widget_get_visible(GTK_WIDGET(Progress()))) << "hidden before the first load";
    OpenBook(book);
    EXPECT_TRUE(RunUntil([&] { return TitlePanel() == "Início do atlas"; }));
    EXPECT_EQ(test::TitleOf(window->Window()), "Atlas") << "the caption keeps the book's title";
    EXPECT_TRUE(RunUntil([&] { return !gtk_widget_get_visible(GTK_WIDGET(Progress())); })) << "hidden after the load";
}

TEST_F(WindowTest, BackAndForwardFollowTheHistory)
{
    EBookFixture book(PlainSettings());
    book.WritePage("index.html", Page("One", "<a id=next href='two.html'>two</a>"));
    book.WritePage("two.html", Page("Two", "<a id=next href='three.html'>three</a>"));
    book.WritePage("three.html", Page("Three", ""));
    EXPECT_TRUE(Enabled("b_volta")) << "enabled until the first command-state event";
    EXPECT_TRUE(Enabled("b_proximo"));
    OpenBook(book);
    for (const char* title : {"Two", "Three"}) {
        test::EvaluateScript(window->Web().View(), "document.getElementById('next').click(); return '';");
        ASSERT_TRUE(RunUntil([&] { return TitlePanel() == title; })) << title;
    }
    EXPECT_TRUE(RunUntil([&] { return Enabled("b_volta") && !Enabled("b_proximo"); }));
    window->Web().GoBack();
    ASSERT_TRUE(RunUntil([&] { return TitlePanel() == "Two"; }));
    EXPECT_TRUE(RunUntil([&] { return Enabled("b_volta") && Enabled("b_proximo"); }));
}

TEST_F(WindowTest, MissingHomePageWarnsAndAsksToEnd)
{
    auto settings = PlainSettings();
    settings[setting::home_page] = "C:\\Books\\Atlas\\pages\\missing.html";
    settings[setting::custom_menu_on] = "-1";
    settings.insert(settings.end(), {"[GERAL]", "MENU_0=Book", "[MENU]", "ITENS_0=Home"});
    EBookFixture book(settings);
    // The warning is modal; answer it as soon as it is up.
    const guint closer = g_timeout_add(
        100,
        [](gpointer) -> gboolean {
            GList* toplevels = gtk_window_list_toplevels();
            for (GList* w = toplevels; w != nullptr; w = w->next) {
                if (GTK_IS_MESSAGE_DIALOG(w->data) && gtk_widget_get_visible(GTK_WIDGET(w->data))) {
                    gtk_dialog_response(GTK_DIALOG(w->data), GTK_RESPONSE_OK);
                }
            }
            g_list_free(toplevels);
            return G_SOURCE_CONTINUE;
        },
        nullptr);
    AtEventBoundary([&] { window->FormCreate(book.ProgramPath()); });
    g_source_remove(closer);
    EXPECT_TRUE(reports.empty());
    EXPECT_TRUE(window->QuitRequested());
    EXPECT_FALSE(window->Web().HasDocument());
    // The program ends with the window: the menu's file goes with it.
    const std::string menu_file = window->MenuFilePath();
    EXPECT_TRUE(std::filesystem::exists(menu_file));
    window.reset();
    EXPECT_FALSE(std::filesystem::exists(menu_file));
}

TEST_F(WindowTest, AMalformedFlagStopsApplyingAndKeepsWhatWasApplied)
{
    auto settings = PlainSettings();
    settings[setting::toolbar_visible] = "yes";
    EBookFixture book(settings);
    book.WritePage("index.html", Page("One", ""));
    EXPECT_FALSE(AtEventBoundary([&] { window->FormCreate(book.ProgramPath()); }));
    ASSERT_EQ(reports, std::vector<std::string>{"'yes' is not a valid boolean value."});
    EXPECT_EQ(test::TitleOf(window->Window()), "Atlas") << "steps before the failure stay applied";
    EXPECT_EQ(window->ApplicationTitle(), "Atlas");
    EXPECT_FALSE(window->QuitRequested());
    EXPECT_FALSE(window->Web().HasDocument()) << "no page after a failed start-up";
}

TEST_F(WindowTest, AStoredHomePathWithOneComponentIsAnIndexError)
{
    auto settings = PlainSettings();
    settings[setting::home_page] = "index.html";
    EBookFixture book(settings);
    EXPECT_FALSE(AtEventBoundary([&] { window->FormCreate(book.ProgramPath()); }));
    EXPECT_EQ(reports, std::vector<std::string>{"List index out of bounds (-1)"});
}

}  // namespace
}  // namespace quillora
