// The runtime built without a display toolkit: it reports what its payload carries. Used by
// display-free builds (fuzzing, the authoring tool's tests on machines without GTK).
#include <cstdio>
#include <exception>

#include "book/self_path.hpp"
#include "payload/payload.hpp"
#include "payload/settings_list.hpp"

int main()
{
    try {
        const quillora::TPayload payload(quillora::ProgramPath());
        if (!payload.IsPresent()) {
            std::puts("no payload");
            return 0;
        }
        const auto settings = quillora::SettingsList::FromPayloadBytes(payload.ReadText());
        std::printf("%d lines; title: %s\n", settings.Count(), settings.Count() > 0 ? settings.Get(0).c_str() : "");
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quillora: %s\n", error.what());
        return 1;
    }
}
