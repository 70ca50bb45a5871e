#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace quillora {

// The window's non-visual components with the defaults the window description gives them.
// Each one's behaviour lives in its own unit; these hold the state the settings change.

// `Sobre`: the about box, filled from the kept about texts before each showing.
struct AboutBoxComponent {
    std::string icon_style = "isStandard";
    int app_name_font_size = 22;
};

// `gradiente`: paints the caption bar with a colour gradient while Active.
struct GradientCaptionComponent {
    bool Active = false;
    std::string FormCaption = "Título";
    std::int32_t StartColor = 0;             // toolkit colour 0x00BBGGRR
    std::string FontName;                     // empty: the theme's caption font
    int FontSize = 0;                         // points; 0: the theme's size
    std::int32_t FontColor = 0x00FFFFFF;      // clWhite
    bool Bold = true, Italic = false, Underline = false, StrikeOut = false;
};

// `animacao_form`: plays one of the opening animations on the window.
struct FormAnimationComponent {
    int last_played_effect = -1;  // -1: none has run
};

// `EventosAplicacao`: sees every event before it is dispatched.
struct ApplicationEventsComponent {
    bool installed = false;
};

// `SkinColecao`: the sixteen stored skins, SkinItem0 to SkinItem15.
struct SkinCollectionComponent {
    static constexpr int Count = 16;
    static std::string ItemName(int index) { return "SkinItem" + std::to_string(index); }
};

// `SkinData`: the skin engine; inactive with no skin loaded until the settings switch it on.
struct SkinEngineComponent {
    bool Active = false;
    int loaded_skin = -1;  // -1: "(none)"
};

// `SkinCaption`: the skin engine's caption part, switched on together with SkinData.
struct SkinCaptionComponent {
    bool Active = false;
};

}  // namespace quillora
