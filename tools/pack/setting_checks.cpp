#include "setting_checks.hpp"

#include <optional>
#include <tuple>

#include "action_check.hpp"
#include "common/error.hpp"
#include "payload/conversions.hpp"
#include "stored_path.hpp"

namespace quillora::pack {
namespace {

namespace fs = std::filesystem;

constexpr int AnimationKinds = 14;
// The largest screens in common use (8K UHD). The e-book never opens a window larger than the
// screen's work area, so a larger size is not refused, only pointed out: it is a typing slip or
// meant for a screen that no reader has.
constexpr int LargestScreenWidth = 7680;
constexpr int LargestScreenHeight = 4320;
constexpr int StoredSkins = 16;

std::optional<bool> TryFlag(const std::string& text)
{
    try {
        return ToFlag(text);
    } catch (const quillora::Error&) {
        return std::nullopt;
    }
}

// Web colours reach the page's style as they stand; keep them to the characters that colours
// are written with, so that no value can carry anything else into the page.
bool LooksLikeWebColour(const std::string& text)
{
    for (const char c : text) {
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '#' ||
                             c == '(' || c == ')' || c == ',' || c == '.' || c == '%' || c == ' ' || c == '-';
        if (!allowed) {
            return false;
        }
    }
    return true;
}

// The n-th comma-separated field (from 1), or the empty text.
std::string Field(const std::string& text, int n)
{
    std::size_t start = 0;
    for (int i = 1; i < n; ++i) {
        start = text.find(',', start);
        if (start == std::string::npos) {
            return "";
        }
        ++start;
    }
    return text.substr(start, text.find(',', start) - start);
}

class SettingChecker {
public:
    SettingChecker(SettingValues& settings, const fs::path& source_folder, const std::string& file,
                   Diagnostics& diagnostics)
        : settings_(settings)
        , source_folder_(source_folder)
        , file_(file)
        , diagnostics_(diagnostics)
    {}

    std::vector<PageFolder> Run(bool has_menu)
    {
        for (int index = 0; index < SettingCount; ++index) {
            CheckKind(index);
        }
        CheckRanges();
        CheckCaptionFont();
        CheckWindowTexts();
        CheckPages();
        CheckMenuSwitch(has_menu);
        CheckStartupAction();
        return std::move(folders_);
    }

private:
    // Problems with a value the source leaves out point at the setting and say so.
    void Report(bool error, int index, std::string message)
    {
        const int line = settings_.lines[static_cast<std::size_t>(index)];
        if (line == 0) {
            message += " (the default value)";
        }
        const auto subject = SettingSubject(SettingAt(index).name);
        if (error) {
            diagnostics_.Error(file_, line, subject, std::move(message));
        } else {
            diagnostics_.Warning(file_, line, subject, std::move(message));
        }
    }
    void Error(int index, std::string message) { Report(true, index, std::move(message)); }
    void Warning(int index, std::string message) { Report(false, index, std::move(message)); }

    // Some values are read only while another setting is on (or off). A value that cannot
    // convert there does no harm while it is not read, so it is only a warning.
    bool IsRead(int index) const
    {
        const auto switch_is = [&](int other, bool wanted) {
            const auto value = TryFlag(settings_[other]);
            return !value || *value == wanted;
        };
        switch (index) {
        case setting::animation_kind: return switch_is(setting::animation_on, true);
        case setting::skin_index: return switch_is(setting::skin_on, true);
        case setting::block_ctrl_a: return switch_is(setting::select_all_button_visible, false);
        case setting::block_ctrl_c: return switch_is(setting::copy_button_visible, false);
        case setting::block_ctrl_p: return switch_is(setting::print_button_visible, false);
        default: return true;
        }
    }

    // The hint says how to write the value; a number whose form is right but whose size is not
    // gets none, since the conversion's own message already gives the range.
    void ReportConversion(int index, const std::string& failure, std::string_view hint)
    {
        const bool form_is_right = failure.find(" is out of range: ") != std::string::npos;
        std::string message = form_is_right ? failure : failure + " (" + std::string(hint) + ")";
        if (IsRead(index)) {
            Error(index, std::move(message));
        } else {
            Warning(index, message + "; not read while its switch is off");
        }
    }

    void CheckKind(int index)
    {
        const std::string& value = settings_[index];
        try {
            switch (SettingAt(index).kind) {
            case SettingKind::Flag: ToFlag(value); break;
            case SettingKind::Number: ToNumber(value); break;
            case SettingKind::ToolkitColour: ToToolkitColour(value); break;
            case SettingKind::PageColour:
                if (!LooksLikeWebColour(value)) {
                    Error(index, "'" + value + "' is not a web colour such as #C0C0C0 or silver");
                }
                break;
            default: break;
            }
        } catch (const quillora::Error& failure) {
            switch (SettingAt(index).kind) {
            case SettingKind::Flag: ReportConversion(index, failure.what(), "write -1 for on or 0 for off"); break;
            case SettingKind::Number: ReportConversion(index, failure.what(), "write a whole number"); break;
            default:
                ReportConversion(index, failure.what(),
                                 "write a colour name such as clNavy or a number such as $800000");
                break;
            }
        }
    }

    std::optional<std::int32_t> Number(int index) const
    {
        std::int32_t value = 0;
        if (!TryToNumber(settings_[index], value)) {
            return std::nullopt;
        }
        return value;
    }

    void CheckRanges()
    {
        for (const int index : {setting::window_width, setting::window_height, setting::about_app_name_size}) {
            if (const auto value = Number(index); value && *value < 1) {
                Error(index, "must be at least 1");
            }
        }
        for (const auto& [index, largest, what] : {std::tuple{setting::window_width, LargestScreenWidth, "wider"},
                                                   std::tuple{setting::window_height, LargestScreenHeight, "taller"}}) {
            if (const auto value = Number(index); value && *value > largest) {
                Warning(index, std::to_string(*value) + " pixels is " + what + " than any common screen (" +
                                   std::to_string(largest) + "); the window opens no larger than the screen");
            }
        }
        if (IsRead(setting::animation_kind)) {
            if (const auto kind = Number(setting::animation_kind); kind && (*kind < 0 || *kind >= AnimationKinds)) {
                Warning(setting::animation_kind, "no animation runs; the animations are numbered 0 to 13");
            }
        }
        if (IsRead(setting::skin_index)) {
            if (const auto skin = Number(setting::skin_index); skin && *skin < 0) {
                Error(setting::skin_index,
                      "the skins are numbered 0 to 15; a negative number stops the e-book's start");
            } else if (skin && *skin >= StoredSkins) {
                Warning(setting::skin_index, "no skin is loaded; the skins are numbered 0 to 15");
            }
        }
    }

    // caption_font: name, size, colour, style; the runtime converts the size and the colour
    // whenever the field is not empty.
    void CheckCaptionFont()
    {
        const std::string& font = settings_[setting::caption_font];
        if (font.empty()) {
            return;
        }
        try {
            ToNumber(Field(font, 2));
        } catch (const quillora::Error& failure) {
            Error(setting::caption_font, "the size (second field) " + std::string(failure.what()) +
                                             "; write name,size,colour,style such as Arial,12,clWhite,Negrito");
            return;
        }
        try {
            ToToolkitColour(Field(font, 3));
        } catch (const quillora::Error&) {
            Error(setting::caption_font,
                  "the colour (third field) '" + Field(font, 3) +
                      "' is not a colour; write name,size,colour,style such as Arial,12,clWhite,Negrito");
        }
    }

    void CheckWindowTexts()
    {
        const std::string& maximized = settings_[setting::start_maximized];
        if (maximized != "0" && maximized != "1") {
            Warning(setting::start_maximized,
                    "'" + maximized + "' opens the window maximized; write 1 for maximized or 0 for normal");
        }
        const std::string& border = settings_[setting::border_style];
        if (border != "0" && border != "1" && border != "2") {
            Warning(setting::border_style,
                    "'" + border + "' keeps the default frame; write 0 (fixed), 1 (none) or 2 (sizeable)");
        }
        if (!LooksLikeWebColour(settings_[setting::page_border_style])) {
            Error(setting::page_border_style,
                  "'" + settings_[setting::page_border_style] + "' is not a border style such as solid or ridge");
        }
    }

    std::optional<ResolvedPage> ResolvePage(int index)
    {
        auto resolved = ResolvePagePath(settings_[index], source_folder_);
        if (const auto* problem = std::get_if<std::string>(&resolved)) {
            Error(index, "'" + settings_[index] + "' " + *problem);
            return std::nullopt;
        }
        auto page = std::get<ResolvedPage>(std::move(resolved));
        std::error_code error;
        const auto folder_status = fs::status(page.local_folder, error);
        const auto status = fs::status(page.LocalFile(), error);
        if (!fs::exists(folder_status)) {
            Error(index, "page folder not found: " + page.local_folder.string());
        } else if (!fs::is_directory(folder_status)) {
            Error(index, "the page folder " + page.local_folder.string() + " is not a folder");
        } else if (!fs::exists(status)) {
            Error(index, "page not found: " + page.LocalFile().string());
        } else if (fs::is_directory(status)) {
            Error(index, page.LocalFile().string() + " is a folder, not a page");
        }
        settings_.values[static_cast<std::size_t>(index)] = page.stored;
        AddFolder(index, page);
        return page;
    }

    void AddFolder(int index, const ResolvedPage& page)
    {
        for (const auto& folder : folders_) {
            if (folder.name == page.folder_name) {
                std::error_code error;
                if (!fs::equivalent(folder.source, page.local_folder, error) &&
                    folder.source.lexically_normal() != page.local_folder.lexically_normal()) {
                    Error(index,
                          "its folder " + page.local_folder.string() +
                              " has the same name as the folder of home_page; both cannot lie beside the e-book");
                }
                return;
            }
        }
        folders_.push_back({page.local_folder, page.folder_name});
    }

    void CheckPages()
    {
        if (settings_[setting::home_page].empty()) {
            Error(setting::home_page, "the e-book needs a home page, such as pages/index.html");
        } else {
            ResolvePage(setting::home_page);
        }
        if (!settings_[setting::home_button_alt_page].empty()) {
            ResolvePage(setting::home_button_alt_page);
        } else if (TryFlag(settings_[setting::home_button_alt_on]).value_or(false)) {
            Warning(setting::home_button_alt_on, "home_button_alt_page is empty, so the home button opens home_page");
        }
    }

    void CheckMenuSwitch(bool has_menu)
    {
        const auto on = TryFlag(settings_[setting::custom_menu_on]);
        if (on && *on && !has_menu) {
            Warning(setting::custom_menu_on, "the source has no [[menu]] block, so the menu bar stays empty");
        } else if (on && !*on && has_menu) {
            Warning(setting::custom_menu_on, "the [[menu]] block is not shown while the custom menu is off");
        }
    }

    void CheckStartupAction()
    {
        for (const auto& word : UnknownCommandWords(settings_[setting::startup_action])) {
            Warning(setting::startup_action,
                    "unknown command " + word + CommandWordHint(word) + "; the e-book passes over it");
        }
    }

    SettingValues& settings_;
    const fs::path& source_folder_;
    const std::string& file_;
    Diagnostics& diagnostics_;
    std::vector<PageFolder> folders_;
};

}  // namespace

std::vector<PageFolder> CheckSettings(SettingValues& settings, const fs::path& source_folder, const std::string& file,
                                      bool has_menu, Diagnostics& diagnostics)
{
    return SettingChecker(settings, source_folder, file, diagnostics).Run(has_menu);
}

}  // namespace quillora::pack
