#pragma once

// An ActionHost for the interpreter's tests and fuzzer: it records every call that changes
// something, in order, as "Member(arguments)", keeps the state that the queries read, and throws
// an Error from the member named in `fail_on` (after recording the call).

#include <array>
#include <string>
#include <vector>

#include "actions/action_host.hpp"
#include "common/error.hpp"

namespace quillora::test {

inline constexpr const char* RecordingHostFailure = "refused by the test host";

class RecordingActionHost : public ActionHost {
public:
    std::vector<std::string> calls;
    std::string fail_on;
    std::string home_page = "C:\\Quillora\\pages\\index.html";
    std::string executable_folder = "/opt/atlas/";
    std::array<bool, 10> enabled{true, true, true, true, true, true, true, true, true, true};
    std::array<bool, 2> visible{true, true};

    void ShowMessage(const std::string& caption, const std::string& text) override
    {
        Record("ShowMessage", caption + ", " + text);
    }
    void SetCaption(const std::string& caption) override { Record("SetCaption", caption); }
    void CloseWindow() override { Record("CloseWindow"); }
    void MaximizeWindow() override { Record("MaximizeWindow"); }
    void MinimizeApplication() override { Record("MinimizeApplication"); }
    std::string HomePage() const override { return home_page; }
    std::string ExecutableFolder() const override { return executable_folder; }
    void Navigate(const std::string& target) override { Record("Navigate", target); }
    void StopLoading() override { Record("StopLoading"); }
    void PrintPreview() override { Record("PrintPreview"); }
    void PageSetup() override { Record("PageSetup"); }
    void ClickButton(ToolButton button) override { Record("ClickButton", Name(button)); }
    bool IsButtonEnabled(ToolButton button) const override { return enabled.at(Index(button)); }
    void SetButtonEnabled(ToolButton button, bool on) override
    {
        Record("SetButtonEnabled", std::string(Name(button)) + (on ? ", on" : ", off"));
        enabled.at(Index(button)) = on;
    }
    bool IsBarVisible(Bar bar) const override { return visible.at(static_cast<std::size_t>(bar)); }
    void SetBarVisible(Bar bar, bool on) override
    {
        Record("SetBarVisible", std::string(bar == Bar::Status ? "Status" : "Tool") + (on ? ", on" : ", off"));
        visible.at(static_cast<std::size_t>(bar)) = on;
    }
    void OpenUri(const std::string& uri) override { Record("OpenUri", uri); }
    void OpenFile(const std::string& path, const std::string& parameters) override
    {
        Record("OpenFile", path + ", " + parameters);
    }
    void ChangeMenuItem(const MenuAddress& address, MenuItemChange change, const std::string& caption) override
    {
        static constexpr std::array<const char*, 4> changes{"Disable", "Enable", "Rename", "Delete"};
        std::string text = changes.at(static_cast<std::size_t>(change));
        for (const int number : address) {
            text += ", " + std::to_string(number);
        }
        Record("ChangeMenuItem", change == MenuItemChange::Rename ? text + ", " + caption : text);
    }
    void DisableReferencedMenuItem(const std::string& name) override { Record("DisableReferencedMenuItem", name); }

private:
    static std::size_t Index(ToolButton button) { return static_cast<std::size_t>(button); }
    static const char* Name(ToolButton button)
    {
        static constexpr std::array<const char*, 10> names{"Home",      "Back", "Forward", "Refresh", "Stop",
                                                           "SelectAll", "Copy", "Print",   "Exit",    "About"};
        return names.at(Index(button));
    }

    void Record(const std::string& member, const std::string& arguments = "")
    {
        calls.push_back(member + "(" + arguments + ")");
        if (member == fail_on) {
            throw Error(RecordingHostFailure);
        }
    }
};

}  // namespace quillora::test
