#pragma once
// The default 256-colour palette that captures and pictures are reduced to before they are compared.

#include <array>
#include <cstdint>

namespace varnel::im {

struct PaletteColour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
};

const std::array<PaletteColour, 256>& default_palette();

// The index of the palette entry nearest to a colour 0x00RRGGBB (squared distance in RGB; the lowest index
// among equally near entries). The screen and the pictures go through this one mapping.
std::uint8_t nearest_palette_index(std::uint32_t rgb);

// The same mapping for many pixels: screens hold few distinct colours, so answers are cached.
class PaletteReducer {
 public:
  PaletteReducer();
  std::uint8_t index_of(std::uint32_t rgb) {
    rgb &= 0xFFFFFF;
    const std::uint32_t slot = (rgb * 2654435761u) >> (32 - kCacheBits);
    if (keys_[slot] != rgb) {
      keys_[slot] = rgb;
      values_[slot] = nearest_palette_index(rgb);
    }
    return values_[slot];
  }

 private:
  static constexpr int kCacheBits = 12;
  std::array<std::uint32_t, 1u << kCacheBits> keys_;
  std::array<std::uint8_t, 1u << kCacheBits> values_;
};

}  // namespace varnel::im
