#pragma once

#include <webkit2/webkit2.h>

#include <cstdint>

#include "common/gobject_ptr.hpp"

namespace quillora {

// The engine's context for one window. The program keeps no state between runs, so website
// data (local storage, cookies, caches) lives in memory only and goes with the context: nothing
// is written under the user's data or cache folders, and no two books or runs share anything.
// The page's web process gets a memory limit (WebProcessMemoryLimitMiB) past which the engine
// ends it, so that a page cannot take the desktop down with it.
[[nodiscard]] GObjectPtr<WebKitWebContext> MakeBookWebContext();

// What a page's web process may use on a machine with `physical_bytes` of memory: a quarter of
// it, and never less than 1 GiB, which an ordinary page needs to be shown at all. The engine
// starts freeing caches at half of the limit, works harder at three quarters and ends the
// process when it goes past the limit.
[[nodiscard]] std::uint32_t WebProcessMemoryLimitMiB(std::uint64_t physical_bytes);
// That limit on this machine, in bytes. The program's own process holds the web processes to it
// too (WebProcessWatchdog), for a page whose script never lets the engine look.
[[nodiscard]] std::uint64_t WebProcessMemoryLimitBytes();

}  // namespace quillora
