#pragma once
// The about window's picture: PNG bytes carried inside the program, and the small libpng
// layer that turns PNG bytes into an image.
#include <QImage>
#include <optional>
#include <span>

namespace quovella {

// The embedded picture: a 220 x 220 PNG, 8 bits per channel with alpha.
std::span<const unsigned char> aboutPicturePng();

// Decodes a PNG held in memory into an ARGB32 image. Bad, truncated or implausibly large data
// give nullopt; nothing is thrown and nothing is printed.
std::optional<QImage> decodePng(std::span<const unsigned char> bytes);

}  // namespace quovella
