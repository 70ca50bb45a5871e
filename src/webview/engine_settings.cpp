#include "webview/engine_settings.hpp"

#include <string_view>

namespace quillora {

namespace {

std::vector<std::string>& VariablesSetForTheEngine()
{
    static std::vector<std::string> variables;
    return variables;
}

bool HardwareAccelerationAsked()
{
    const char* asked = g_getenv("QUILLORA_HARDWARE_ACCELERATION");
    return asked != nullptr && std::string_view(asked) == "on";
}

}  // namespace

void ChooseReaderEngineSettings()
{
    if (HardwareAccelerationAsked()) return;
    // Without hardware acceleration the engine never hands frames over as GPU buffers, yet its
    // first web context still sets up GL to find out whether it could, which loads and starts
    // the GL driver (a software one where there is no GPU): most of a second before the window
    // can appear. The engine offers this choice only through its environment, read when the
    // first context is made; its processes inherit it. A value the reader set is kept.
    constexpr const char* dmabuf = "WEBKIT_DISABLE_DMABUF_RENDERER";
    if (g_getenv(dmabuf) == nullptr) {
        g_setenv(dmabuf, "1", TRUE);
        VariablesSetForTheEngine().emplace_back(dmabuf);
    }
}

const std::vector<std::string>& EngineOnlyVariables()
{
    return VariablesSetForTheEngine();
}

void ChooseReaderViewSettings(WebKitSettings* settings)
{
    if (HardwareAccelerationAsked()) return;
    // Composited drawing sets up GL in the web process and draws every frame through it, in
    // software where there is no GPU; a page of text and pictures paints sooner, with less work
    // and memory, drawn directly. CSS animations and smooth scrolling still run.
    webkit_settings_set_hardware_acceleration_policy(settings, WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
}

}  // namespace quillora
