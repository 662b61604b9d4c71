#pragma once
// An image reduced to default-palette indices, one byte a pixel, in the bitmap's stored row order: the
// bottom row first, each row padded with zero bytes to a multiple of four.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "im/window_system.h"

namespace varnel::im {

class DibImage {
 public:
  DibImage() = default;  // no image: 0 x 0, no bytes

  static DibImage from_screen(const ScreenPixels& shown);
  // A picture from the bytes of a BMP file at any of its depths; nothing when the bytes are no bitmap.
  static std::optional<DibImage> from_bmp_bytes(std::string_view bytes);

  int width() const { return width_; }
  int height() const { return height_; }
  // Bytes a stored row takes.
  int stride() const { return stride_of(width_); }
  const std::vector<std::uint8_t>& pixel_bytes() const { return bytes_; }

  static int stride_of(int width) { return width + (4 - width % 4) % 4; }

 private:
  DibImage(int width, int height);

  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace varnel::im
