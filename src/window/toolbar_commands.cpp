// The click handlers of the ten tool-bar buttons. The action language runs the same members.
#include "appearance/about_texts.hpp"
#include "book/page_path.hpp"
#include "payload/conversions.hpp"
#include "webview/web_browser.hpp"
#include "window/form_apresentacao.hpp"
#include "window/tool_buttons.hpp"

namespace quillora {

ClickMember ClickMemberOf(ToolButton button)
{
    // In the order of ToolButton, as ToolCommands.
    static constexpr std::array<ClickMember, ToolCommandCount> Members = {
        &Tform_apresentacao::b_homeClick,       &Tform_apresentacao::b_voltaClick,
        &Tform_apresentacao::b_proximoClick,    &Tform_apresentacao::b_refreshClick,
        &Tform_apresentacao::b_stopClick,       &Tform_apresentacao::bot_selectallClick,
        &Tform_apresentacao::botao_copiarClick, &Tform_apresentacao::bt_imprimirClick,
        &Tform_apresentacao::bt_sairClick,      &Tform_apresentacao::b_aboutClick,
    };
    return Members[static_cast<std::size_t>(button)];
}

void Tform_apresentacao::ConnectToolButtons()
{
    for (const ToolCommand& command : ToolCommands) {
        widget_events_.push_back(Connect<void(GtkToolButton*)>(
            ButtonOf(command.button), "clicked",
            [this, click = ClickMemberOf(command.button)](GtkToolButton*) { (this->*click)(); }));
    }
}

void Tform_apresentacao::b_homeClick()
{
    // The switch is converted at every click: a bad one is reported each time, and nothing loads.
    const bool alternative = ToFlag(kept_.home_button_alt_on);
    const std::string& page =
        alternative && !kept_.home_button_alt_page.empty() ? kept_.home_button_alt_page : kept_.home_page;
    // Unlike at start-up, a missing page is left to the browser.
    web_->Navigate(PagePathOf(page, executable_folder_));
}

void Tform_apresentacao::b_voltaClick()
{
    web_->GoBack();
}

void Tform_apresentacao::b_proximoClick()
{
    web_->GoForward();
}

void Tform_apresentacao::b_refreshClick()
{
    // A styled page is loaded afresh as a new navigation, so that it is styled again.
    if (kept_.styling.scrollbar_colors_on || kept_.styling.border_on) {
        web_->Navigate(last_page_address_);
    } else {
        web_->Refresh();
    }
}

void Tform_apresentacao::b_stopClick()
{
    web_->Stop();
}

void Tform_apresentacao::bot_selectallClick()
{
    try {
        web_->ExecWB(OleCmdId::SelectAll, OleCmdExecOpt::PromptUser);
    } catch (const std::exception&) {
        // Selecting all in a page that cannot be selected is not worth a message.
    }
}

void Tform_apresentacao::botao_copiarClick()
{
    try {
        web_->ExecWB(OleCmdId::Copy, OleCmdExecOpt::PromptUser);
    } catch (const std::exception&) {
        // Nor is copying with nothing selected.
    }
}

void Tform_apresentacao::bt_imprimirClick()
{
    web_->ExecWB(OleCmdId::Print, kept_.print_with_dialog ? OleCmdExecOpt::PromptUser : OleCmdExecOpt::DontPromptUser);
}

void Tform_apresentacao::bt_sairClick()
{
    // The ordinary close path: the main loop ends and the closing handler runs.
    gtk_window_close(Window());
}

void Tform_apresentacao::b_aboutClick()
{
    // A name size that is no whole number stops the filling there, and no box is shown.
    FillAboutFields(sobre_.Fields(), kept_);
    sobre_.ShowModal(application_title_);
}

}  // namespace quillora
