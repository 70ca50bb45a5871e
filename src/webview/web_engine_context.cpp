#include "webview/web_engine_context.hpp"

#include <unistd.h>

#include <algorithm>
#include <memory>

namespace quillora {

namespace {

constexpr std::uint64_t MiB = 1024 * 1024;
constexpr std::uint32_t SmallestLimitMiB = 1024;

std::uint64_t PhysicalMemoryBytes()
{
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long page_size = ::sysconf(_SC_PAGE_SIZE);
    return pages > 0 && page_size > 0 ? static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(page_size) : 0;
}

}  // namespace

std::uint32_t WebProcessMemoryLimitMiB(std::uint64_t physical_bytes)
{
    const std::uint64_t quarter = physical_bytes / 4 / MiB;
    return static_cast<std::uint32_t>(std::clamp<std::uint64_t>(quarter, SmallestLimitMiB, UINT32_MAX));
}

std::uint64_t WebProcessMemoryLimitBytes()
{
    return std::uint64_t{WebProcessMemoryLimitMiB(PhysicalMemoryBytes())} * MiB;
}

GObjectPtr<WebKitWebContext> MakeBookWebContext()
{
    const std::unique_ptr<WebKitMemoryPressureSettings, decltype(&webkit_memory_pressure_settings_free)> memory(
        webkit_memory_pressure_settings_new(), &webkit_memory_pressure_settings_free);
    webkit_memory_pressure_settings_set_memory_limit(memory.get(), WebProcessMemoryLimitMiB(PhysicalMemoryBytes()));
    // Each threshold must stay below the next one at every step.
    webkit_memory_pressure_settings_set_strict_threshold(memory.get(), 0.75);
    webkit_memory_pressure_settings_set_conservative_threshold(memory.get(), 0.5);
    webkit_memory_pressure_settings_set_kill_threshold(memory.get(), 1.0);
    // The engine looks every 30 seconds unless told otherwise; a page that hoards memory can take
    // gigabytes in that time. Yet each look wakes the web process and reads its whole memory map,
    // even while the page sits still: every second, that kept an idle book's web process busy.
    // Five seconds still catches a hoarding page early.
    webkit_memory_pressure_settings_set_poll_interval(memory.get(), 5.0);

    const auto website_data = GObjectPtr<WebKitWebsiteDataManager>::Adopt(webkit_website_data_manager_new_ephemeral());
    return GObjectPtr<WebKitWebContext>::Adopt(
        WEBKIT_WEB_CONTEXT(g_object_new(WEBKIT_TYPE_WEB_CONTEXT, "website-data-manager", website_data.get(),
                                        "memory-pressure-settings", memory.get(), nullptr)));
}

}  // namespace quillora
