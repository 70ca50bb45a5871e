#pragma once

namespace quillora {

// The page's zoom levels, 30 % to 300 % in the steps readers know from browsers. A level is a
// factor (1.0 is 100 %).
inline constexpr double ZoomMinimum = 0.3;
inline constexpr double ZoomMaximum = 3.0;

// The next step above or below `level`; a level between two steps goes to the nearer one in
// that direction, and the ends stay where they are.
double ZoomIn(double level);
double ZoomOut(double level);

// The level as the status bar shows it: "Zoom 125 %".
int ZoomPercent(double level);

}  // namespace quillora
