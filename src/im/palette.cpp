#include "im/palette.h"

namespace varnel::im {
namespace {

std::array<PaletteColour, 256> make_default_palette() {
  std::array<PaletteColour, 256> p{};
  const PaletteColour low[10] = {{0, 0, 0},     {128, 0, 0},   {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
                                 {128, 0, 128}, {0, 128, 128}, {192, 192, 192}, {192, 220, 192}, {166, 202, 240}};
  const PaletteColour high[10] = {{255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},   {0, 255, 0},
                                  {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255}, {255, 255, 255}};
  for (int i = 0; i < 10; ++i) p[i] = low[i];
  for (int i = 10; i < 246; ++i) {
    p[i] = {static_cast<std::uint8_t>((i % 8) * 32), static_cast<std::uint8_t>(((i / 8) % 8) * 32),
            static_cast<std::uint8_t>((i / 64) * 64)};
  }
  for (int i = 0; i < 10; ++i) p[246 + i] = high[i];
  return p;
}

}  // namespace

const std::array<PaletteColour, 256>& default_palette() {
  static const auto palette = make_default_palette();
  return palette;
}

std::uint8_t nearest_palette_index(std::uint32_t rgb) {
  const int r = (rgb >> 16) & 0xFF;
  const int g = (rgb >> 8) & 0xFF;
  const int b = rgb & 0xFF;
  const auto& palette = default_palette();
  int best = 0;
  int best_distance = 1 << 30;
  for (int i = 0; i < 256; ++i) {
    const int dr = r - palette[i].red;
    const int dg = g - palette[i].green;
    const int db = b - palette[i].blue;
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < best_distance) {
      best_distance = distance;
      best = i;
    }
  }
  return static_cast<std::uint8_t>(best);
}

// An impossible key (bit 24 set) marks every slot empty.
PaletteReducer::PaletteReducer() {
  keys_.fill(0xFF000000u);
  values_.fill(0);
}

}  // namespace varnel::im
