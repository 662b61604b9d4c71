#include "im/dib_image.h"

#include <QByteArray>
#include <QImage>

#include "im/palette.h"

namespace varnel::im {

DibImage::DibImage(int width, int height)
    : width_(width), height_(height), bytes_(static_cast<size_t>(stride_of(width)) * height, 0) {}

DibImage DibImage::from_screen(const ScreenPixels& shown) {
  if (shown.width <= 0 || shown.height <= 0 || shown.pixels.size() != static_cast<size_t>(shown.width) * shown.height) {
    return {};
  }
  DibImage image(shown.width, shown.height);
  PaletteReducer reducer;
  const int stride = image.stride();
  for (int y = 0; y < shown.height; ++y) {
    const std::uint32_t* from = shown.pixels.data() + static_cast<size_t>(y) * shown.width;
    std::uint8_t* to = image.bytes_.data() + static_cast<size_t>(shown.height - 1 - y) * stride;
    for (int x = 0; x < shown.width; ++x) to[x] = reducer.index_of(from[x]);
  }
  return image;
}

std::optional<DibImage> DibImage::from_bmp_bytes(std::string_view bytes) {
  QImage decoded;
  if (!decoded.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()), "BMP")) {
    return std::nullopt;
  }
  // Like drawing the bitmap, this ignores an alpha channel.
  const QImage rgb = decoded.convertToFormat(QImage::Format_RGB32);
  ScreenPixels shown{rgb.width(), rgb.height(), {}};
  shown.pixels.reserve(static_cast<size_t>(rgb.width()) * rgb.height());
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x) shown.pixels.push_back(line[x] & 0xFFFFFF);
  }
  DibImage image = from_screen(shown);
  if (image.width() == 0) return std::nullopt;
  return image;
}

}  // namespace varnel::im
