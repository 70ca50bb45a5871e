// Applying the e-book's settings to the window, in their fixed order: later steps rely on
// earlier ones (the state of a sizeable window follows the skin, the menu file holds line 3 as
// the screen-fit test left it, the start-up action runs on a finished window).
#include <utility>

#include "actions/tool_commands.hpp"
#include "appearance/caption_font.hpp"
#include "appearance/window_placement.hpp"
#include "common/error.hpp"
#include "menu/menu_file.hpp"
#include "menu/menu_model.hpp"
#include "menu/profile_reader.hpp"
#include "payload/conversions.hpp"
#include "payload/setting_index.hpp"
#include "payload/settings_list.hpp"
#include "window/accessible_names.hpp"
#include "window/colour_scheme_follower.hpp"
#include "window/custom_menu.hpp"
#include "window/form_apresentacao.hpp"
#include "window/work_area.hpp"

namespace quillora {

void Tform_apresentacao::SetComponentVisible(const char* name, bool visible)
{
    gtk_widget_set_visible(RequireComponent(name), visible);
}

void Tform_apresentacao::ApplySettings(SettingsList& settings)
{
    using namespace setting;
    const auto flag = [&settings](int index) { return ToFlag(settings.Get(index)); };

    application_title_ = settings.Get(title);                                     // 1
    kept_.startup_action = settings.Get(startup_action);                          // 2
    kept_.menu_file_stem = MenuFile::DrawMenuFileStem();                          // 3
    gtk_window_set_title(Window(), settings.Get(title).c_str());                  // 4
    gradiente_.StartColor = ToToolkitColour(settings.Get(gradient_start_color));  // 5
    ApplyCaptionFont(settings);                                                   // 6
    if (flag(gradient_caption_on)) {                                              // 7
        gradiente_.FormCaption = settings.Get(title);
        gradiente_.Active = true;
    } else {
        gradiente_.Active = false;
    }
    gradiente_.Update();

    // 8: never larger than the work area, whatever the settings ask for.
    const WindowBox box = FittedWindowBox(PrimaryScreenSize(), PrimaryWorkArea(), ToNumber(settings.Get(window_width)),
                                          ToNumber(settings.Get(window_height)));
    gtk_window_resize(Window(), box.width, box.height);
    gtk_window_set_default_size(Window(), box.width, box.height);
    CenterWindow(box);                                                        // 9
    if (FillsScreen(settings.Get(window_width), settings.Get(window_height),  // 10
                    PrimaryScreenSize())) {
        settings.Set(start_maximized, "1");
    }
    if (!StateFollowsSkin(settings.Get(border_style))) {  // 11
        frame_.SetState(StartWindowState(settings.Get(start_maximized)));
    }
    if (const auto style = FrameStyleFor(settings.Get(border_style))) {  // 12
        frame_.SetStyle(*style);
    }
    const bool with_window_menu = flag(system_menu);  // 13
    const bool with_minimize = flag(minimize_button);
    const bool with_maximize = flag(maximize_button);
    frame_.SetButtons(FrameButtonsFrom(with_window_menu, with_minimize, with_maximize));

    kept_.home_page = settings.Get(home_page);          // 14
    ApplyButtonVisibility(settings);                    // 15-18
    kept_.internet_required = flag(internet_required);  // 19
    kept_.msg_internet_required = settings.Get(msg_internet_required);

    // 20-22: a visible button never blocks its shortcut; a hidden one blocks it on request.
    for (const ToolCommand& command : ToolCommands) {
        if (command.blocked == nullptr) continue;
        bool& block = kept_.blocking.*command.blocked;
        if (flag(command.visible_setting)) {
            gtk_widget_set_visible(ButtonOf(command.button), true);
            block = false;
        } else {
            gtk_widget_set_visible(ButtonOf(command.button), false);
            if (flag(command.block_setting)) block = true;
        }
    }

    SetComponentVisible("barra_estado", flag(status_bar_visible));  // 23

    kept_.about_title = settings.Get(about_title);  // 24
    kept_.about_app_name = settings.Get(about_app_name);
    kept_.about_version = settings.Get(about_version);
    kept_.about_description = settings.Get(about_description);
    kept_.about_web_address = settings.Get(about_web_address);
    kept_.about_email = settings.Get(about_email);
    kept_.about_copyright = settings.Get(about_copyright);
    kept_.about_app_name_size = settings.Get(about_app_name_size);

    kept_.styling.scrollbar_colors_on = flag(scrollbar_colors_on);  // 25
    for (int i = 0; i < 7; ++i) {
        kept_.styling.scrollbar_colors[static_cast<std::size_t>(i)] = settings.Get(scrollbar_face_color + i);
    }
    kept_.print_with_dialog = flag(print_with_dialog);  // 26
    kept_.styling.border_on = flag(page_border_on);
    kept_.styling.border_style = settings.Get(page_border_style);
    kept_.styling.border_color = settings.Get(page_border_color);
    kept_.blocking.block_right_click = flag(block_right_click);  // 27

    ApplyHints(settings);  // 28

    kept_.msg_home_page_missing = settings.Get(msg_home_page_missing);  // 29
    kept_.home_button_alt_page = settings.Get(home_button_alt_page);
    kept_.home_button_alt_on = settings.Get(home_button_alt_on);

    if (flag(animation_on)) {  // 30
        if (const auto effect = EffectForKind(ToNumber(settings.Get(animation_kind)))) {
            if (!animacao_form_.Play(Window(), *effect)) {
                // Closed while it played: the reader wants the book gone, not opened later.
                RequestQuit();
                throw SilentAbort();
            }
        }
    }

    if (flag(custom_menu_on)) {  // 31
        AttachCustomMenu(settings);
    }

    ApplySkin(settings);  // 32

    if (StateFollowsSkin(settings.Get(border_style))) {  // 33
        frame_.SetState(StartWindowState(settings.Get(start_maximized)));
    }
    RunStartupAction();  // 34
}

void Tform_apresentacao::AttachCustomMenu(const SettingsList& settings)
{
    // The stem drawn at the start names the file; a name already taken is drawn anew.
    bool first = true;
    menu_file_ = MenuFile::Create(settings.ToText(), DefaultTemporaryFolder(), [&] {
        return std::exchange(first, false) ? kept_.menu_file_stem : MenuFile::DrawMenuFileStem();
    });
    kept_.menu_file_stem = menu_file_->Stem();
    const auto built = BuildBoundedMenu(ProfileText::ReadFile(menu_file_->Path()));
    if (!built.overflows.empty()) {
        g_message("%s", MenuOverflowWarning(built.overflows).c_str());
    }
    custom_menu_->Build(built.bar);
}

void Tform_apresentacao::MenuItemClick(const std::string& item_name)
{
    // Read afresh at every click, as the file says now.
    const std::string action = MenuItemAction(ProfileText::ReadFile(MenuFilePath()), item_name);
    RunAction(action);
}

void Tform_apresentacao::RunStartupAction()
{
    // Run also when empty; an error ends start-up here, before the connection check and the home
    // page.
    RunAction(kept_.startup_action);
}

void Tform_apresentacao::ApplyCaptionFont(const SettingsList& settings)
{
    ApplyCaptionFontDescription(settings.Get(setting::caption_font), gradiente_.Font);
}

void Tform_apresentacao::CenterWindow(const WindowBox& box)
{
    // The box is centred on the screen already, or at the work area's edge where it was cut.
    gtk_window_move(Window(), box.x, box.y);
}

void Tform_apresentacao::ApplyButtonVisibility(const SettingsList& settings)
{
    using namespace setting;
    const auto flag = [&settings](int index) { return ToFlag(settings.Get(index)); };
    gtk_widget_set_visible(toolbar_, flag(toolbar_visible));  // 15
    for (const ToolButton button : VisibilityOrder) {         // 16-18
        const ToolCommand& command = ToolCommandOf(button);
        const bool visible = flag(command.visible_setting);
        gtk_widget_set_visible(ButtonOf(button), visible);
        if (!command.separator.empty()) {
            SetComponentVisible(std::string(command.separator).c_str(), visible);
        }
    }
}

void Tform_apresentacao::ApplyHints(const SettingsList& settings)
{
    // The hint is also what assistive technologies announce; an empty one leaves what it does.
    for (const ToolCommand& command : ToolCommands) {
        GtkWidget* tool_button = ButtonOf(command.button);
        const std::string& hint = settings.Get(command.hint_setting);
        NameToolButton(GTK_TOOL_BUTTON(tool_button), hint, std::string(command.fallback_name));
        // On the item itself (a tool item's own setter would put it on its inner button).
        gtk_widget_set_tooltip_text(tool_button, hint.c_str());
    }
}

void Tform_apresentacao::ApplySkin(const SettingsList& settings)
{
    if (!ToFlag(settings.Get(setting::skin_on))) {
        // Without a skin of the author's the window is light or dark as the reader prefers.
        colour_scheme_ = std::make_unique<ColourSchemeFollower>();
        return;
    }
    // An index past the stored skins loads none, yet the engine is still switched on.
    skin_data_.LoadSkin(ToNumber(settings.Get(setting::skin_index)));
    skin_caption_.SwitchOn();
    skin_data_.SwitchOn();
}

}  // namespace quillora
