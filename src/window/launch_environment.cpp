#include "window/launch_environment.hpp"

#include "webview/engine_settings.hpp"

namespace quillora {

GObjectPtr<GAppLaunchContext> LaunchContextForBookPrograms(GdkDisplay* display)
{
    auto context = GObjectPtr<GAppLaunchContext>::Adopt(
        display != nullptr ? G_APP_LAUNCH_CONTEXT(gdk_display_get_app_launch_context(display))
                           : g_app_launch_context_new());
    for (const std::string& name : EngineOnlyVariables()) {
        g_app_launch_context_unsetenv(context.get(), name.c_str());
    }
    return context;
}

std::vector<std::string> EnvironmentForBookPrograms()
{
    gchar** environment = g_get_environ();
    for (const std::string& name : EngineOnlyVariables()) {
        environment = g_environ_unsetenv(environment, name.c_str());
    }
    std::vector<std::string> result;
    for (gchar** entry = environment; *entry != nullptr; ++entry) {
        result.emplace_back(*entry);
    }
    g_strfreev(environment);
    return result;
}

}  // namespace quillora
