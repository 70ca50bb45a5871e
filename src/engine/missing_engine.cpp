#include "engine/missing_engine.hpp"

#include <exception>

#include "payload/payload.hpp"
#include "payload/setting_index.hpp"
#include "payload/settings_list.hpp"

namespace quillora {

namespace {

constexpr std::string_view Needed = "WebKitGTK 4.1";
constexpr std::string_view Packages =
    "libwebkit2gtk-4.1-0 (Debian, Ubuntu), webkit2gtk4.1 (Fedora) or webkit2gtk-4.1 (Arch Linux)";
constexpr const char* DefaultCaption = "Quillora";

}  // namespace

std::string MissingEngineLine(std::string_view program_name, std::string_view reason)
{
    std::string line(program_name);
    line.append(": this e-book needs ").append(Needed).append(", which cannot be loaded (");
    line.append(reason).append("); install the package ").append(Packages);
    return line;
}

std::string MissingEngineMessage(std::string_view reason)
{
    std::string text("This e-book needs ");
    text.append(Needed).append(" to show its pages, and this computer cannot load it.\n\n");
    text.append("Install the package ").append(Packages).append(", then open the e-book again.\n\n");
    text.append("Details: ").append(reason);
    return text;
}

std::string MissingEngineCaption(const std::string& program_path)
{
    try {
        const TPayload payload(program_path);
        if (!payload.IsPresent()) return DefaultCaption;
        const SettingsList settings = SettingsList::FromPayloadBytes(payload.ReadText());
        if (settings.Count() <= setting::title) return DefaultCaption;
        const std::string title = settings.Get(setting::title);
        return title.empty() ? DefaultCaption : title;
    } catch (const std::exception&) {
        // The message matters more than its caption.
        return DefaultCaption;
    }
}

}  // namespace quillora
