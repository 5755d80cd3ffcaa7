#pragma once
// Colours as the program keeps them, one 32-bit word with red in the low byte, and the
// colours it paints with, named once so the watch grid, the holdings grid and the records
// list cannot drift apart.
#include <cstdint>

namespace quovella {

using ColourWord = std::int32_t;  // 0x00BBGGRR, red in the low byte

constexpr ColourWord colourWord(int red, int green, int blue) {
    return static_cast<ColourWord>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int redOf(ColourWord c) {
    return c & 0xFF;
}
constexpr int greenOf(ColourWord c) {
    return (c >> 8) & 0xFF;
}
constexpr int blueOf(ColourWord c) {
    return (c >> 16) & 0xFF;
}

// Text of a price that rose or stayed, and of a holding not at a loss.
inline constexpr ColourWord kRisingColour = colourWord(255, 0, 0);
// Text of a price that fell, and of a holding at a loss.
inline constexpr ColourWord kFallingColour = colourWord(128, 224, 0);

// A records row whose change fell or rose: black text on these backgrounds.
inline constexpr ColourWord kFallingRowBackground = colourWord(127, 255, 0);
inline constexpr ColourWord kRisingRowBackground = colourWord(255, 99, 71);
inline constexpr ColourWord kRowText = colourWord(0, 0, 0);

// The records list's colours where no rule speaks.
inline constexpr ColourWord kDefaultListText = colourWord(22, 22, 22);
inline constexpr ColourWord kDefaultListBackground = colourWord(255, 255, 255);

// The grids' lines and background.
inline constexpr ColourWord kGridLineColour = colourWord(192, 192, 192);
inline constexpr ColourWord kGridBackground = colourWord(255, 255, 255);

// Text without a colour of its own on a background the program paints (a grid cell, a list
// row given a background): black, as a dark desktop theme's text colour is as light as
// that background.
inline constexpr ColourWord kTextOnOwnBackground = colourWord(0, 0, 0);

}  // namespace quovella
