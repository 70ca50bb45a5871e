#include <gtest/gtest.h>
#include <gtkmm/label.h>
#include <gtkmm/menubar.h>
#include <gtkmm/progressbar.h>
#include <gtkmm/toolbar.h>
#include <gtkmm/toolbutton.h>

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

    Gtk::ProgressBar& Progress() { return *window->ComponentAs<Gtk::ProgressBar>("progresso"); }
    std::string TitlePanel() { return window->ComponentAs<Gtk::Label>("barra_estado_panel1")->get_text(); }
    bool Enabled(const char* name) { return window->Component(name)->get_sensitive(); }

    // Starts the window on an e-book and waits for its home page to finish loading.
    void OpenBook(const EBookFixture& book)
    {
        bool loaded = false;
        EventConnection watch = window->Web().signal_document_complete.Connect(
            [&loaded](const std::string&) { loaded = true; });
        AtEventBoundary([&] { window->FormCreate(book.ProgramPath()); });
        window->show();
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
    EXPECT_EQ(window->get_title(), "Título");
    for (const auto& button : Buttons) {
        auto* item = window->ComponentAs<Gtk::ToolButton>(button.name);
        ASSERT_NE(item, nullptr) << button.name;
        EXPECT_EQ(item->get_tooltip_text(), button.hint) << button.name;
        EXPECT_EQ(item->get_icon_name(), button.image) << button.name;
        EXPECT_TRUE(item->get_visible()) << button.name;
        EXPECT_TRUE(item->get_sensitive()) << button.name;
    }
    // Tool-bar order: the description's, with the two separators in their places.
    auto* toolbar = window->ComponentAs<Gtk::Toolbar>("toolbar");
    ASSERT_EQ(toolbar->get_n_items(), 12);
    const char* order[] = {"b_home", "sep1", "b_volta", "b_proximo", "b_refresh", "b_stop",
                           "bot_selectall", "botao_copiar", "bt_imprimir", "bt_sair", "sep2", "b_about"};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(toolbar->get_nth_item(i), window->Component(order[i])) << order[i];
    }
    for (const char* name : {"Web", "barra_estado", "progresso", "Menu_Normal"}) {
        EXPECT_NE(window->Component(name), nullptr) << name;
    }
    EXPECT_FALSE(Progress().get_visible());
    EXPECT_FALSE(window->Component("Menu_Normal")->get_visible()) << "an empty menu takes no room";
    EXPECT_TRUE(window->Component("barra_estado")->get_visible());
    EXPECT_FALSE(window->SkinData.Active());
    EXPECT_EQ(window->SkinData.LoadedSkin(), -1);
    EXPECT_FALSE(window->gradiente.Active);
    EXPECT_EQ(window->SkinColecao.Count, 16);
}

TEST_F(WindowTest, HiddenControlsTakeNoRoom)
{
    window->show();
    Gtk::Widget& web = *window->Component("Web");
    Gtk::Widget& home = *window->Component("b_home");
    Gtk::Widget& back = *window->Component("b_volta");
    ASSERT_TRUE(RunUntil([&] { return web.get_allocated_height() > 1; }));
    const int home_x = home.get_allocation().get_x();
    const int web_top = web.get_allocation().get_y();
    const int web_height = web.get_allocated_height();
    // The buttons are 36 x 30.
    Gtk::Widget* home_button = window->ComponentAs<Gtk::ToolButton>("b_home")->get_child();
    EXPECT_EQ(home_button->get_allocated_width(), 36);
    EXPECT_EQ(home_button->get_allocated_height(), 30);
    EXPECT_EQ(window->Component("toolbar")->get_allocated_height(), 36);

    // Hiding b_home with its separator moves b_volta to the left edge of the tool bar.
    home.hide();
    window->Component("sep1")->hide();
    EXPECT_TRUE(RunUntil([&] { return back.get_allocation().get_x() == home_x; }));

    // Without tool bar and status bar the browser takes the whole client area.
    window->Component("toolbar")->hide();
    window->Component("barra_estado")->hide();
    EXPECT_TRUE(RunUntil([&] {
        return web.get_allocation().get_y() < web_top && web.get_allocated_height() > web_height;
    }));
    EXPECT_EQ(web.get_allocated_height(), window->Component("client_area")->get_allocated_height());
}

TEST_F(WindowTest, WithoutPayloadNothingIsAppliedAndNoPageLoads)
{
    test::TempDir folder;
    const std::string runtime = folder.Write("book", "no payload here");
    AtEventBoundary([&] { window->FormCreate(runtime); });
    EXPECT_TRUE(reports.empty());
    EXPECT_FALSE(window->QuitRequested());
    EXPECT_EQ(window->get_title(), "Título");
    EXPECT_FALSE(window->Web().HasDocument());
}

TEST_F(WindowTest, HomePageLoadsAndItsTitleShowsInTheStatusBar)
{
    EBookFixture book(PlainSettings());
    book.WritePage("index.html", Page("Início do atlas", "<p>Olá</p>"));
    EXPECT_FALSE(Progress().get_visible()) << "hidden before the first load";
    OpenBook(book);
    EXPECT_TRUE(RunUntil([&] { return TitlePanel() == "Início do atlas"; }));
    EXPECT_EQ(window->get_title(), "Atlas") << "the caption keeps the book's title";
    EXPECT_TRUE(RunUntil([&] { return !Progress().get_visible(); })) << "hidden after the load";
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
    const guint closer = g_timeout_add(100, [](gpointer) -> gboolean {
        for (GList* w = gtk_window_list_toplevels(); w != nullptr; w = w->next) {
            if (GTK_IS_MESSAGE_DIALOG(w->data) && gtk_widget_get_visible(GTK_WIDGET(w->data))) {
                gtk_dialog_response(GTK_DIALOG(w->data), GTK_RESPONSE_OK);
            }
        }
        return G_SOURCE_CONTINUE;
    }, nullptr);
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
    EXPECT_EQ(window->get_title(), "Atlas") << "steps before the failure stay applied";
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
