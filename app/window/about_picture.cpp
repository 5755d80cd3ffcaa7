#include "app/window/about_picture.h"

#include <png.h>

#include "about_picture_png.h"

namespace quovella {

namespace {

// Far beyond any picture the program carries; refuses headers that would make us allocate
// gigabytes before the data prove to be short.
constexpr png_uint_32 kMaxSide = 8192;

// Frees libpng's read state on every path out.
class PngImage {
  public:
    PngImage() { image_.version = PNG_IMAGE_VERSION; }
    ~PngImage() { png_image_free(&image_); }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;
    png_image& get() { return image_; }

  private:
    png_image image_{};
};

}  // namespace

std::span<const unsigned char> aboutPicturePng() {
    return kAboutPicturePng;
}

std::optional<QImage> decodePng(std::span<const unsigned char> bytes) {
    if (bytes.empty()) return std::nullopt;
    PngImage holder;
    png_image& png = holder.get();
    // The simplified API keeps libpng's longjmp error handling inside libpng.
    if (png_image_begin_read_from_memory(&png, bytes.data(), bytes.size()) == 0) {
        return std::nullopt;
    }
    if (png.width == 0 || png.height == 0 || png.width > kMaxSide || png.height > kMaxSide) {
        return std::nullopt;
    }
    png.format = PNG_FORMAT_RGBA;
    QImage image(static_cast<int>(png.width), static_cast<int>(png.height),
                 QImage::Format_RGBA8888);
    if (image.isNull()) return std::nullopt;
    const auto stride = static_cast<png_int_32>(image.bytesPerLine());
    if (png_image_finish_read(&png, nullptr, image.bits(), stride, nullptr) == 0) {
        return std::nullopt;
    }
    return image.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace quovella
