#pragma once

#include "actions/action_host.hpp"

namespace quillora {

class Tform_apresentacao;

// The main window as the action language sees it: each command of a page, a menu item or the
// start-up action reaches the window's widgets, its browser and the desktop through here.
class WindowActionHost final : public ActionHost {
public:
    explicit WindowActionHost(Tform_apresentacao& window) : window_(window) {}

    void ShowMessage(const std::string& caption, const std::string& text) override;
    void SetCaption(const std::string& caption) override;
    void CloseWindow() override;
    void MaximizeWindow() override;
    void MinimizeApplication() override;

    [[nodiscard]] std::string HomePage() const override;
    [[nodiscard]] std::string ExecutableFolder() const override;
    void Navigate(const std::string& target) override;
    void StopLoading() override;
    void PrintPreview() override;
    void PageSetup() override;

    void ClickButton(ToolButton button) override;
    [[nodiscard]] bool IsButtonEnabled(ToolButton button) const override;
    void SetButtonEnabled(ToolButton button, bool enabled) override;

    [[nodiscard]] bool IsBarVisible(Bar bar) const override;
    void SetBarVisible(Bar bar, bool visible) override;

    void OpenUri(const std::string& uri) override;
    void OpenFile(const std::string& path, const std::string& parameters) override;

    void ChangeMenuItem(const MenuAddress& address, MenuItemChange change, const std::string& caption) override;
    void DisableReferencedMenuItem(const std::string& name) override;

private:
    Tform_apresentacao& window_;
};

}  // namespace quillora
