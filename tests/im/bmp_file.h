#pragma once
// BMP files of small test pictures, at 8, 24 or 32 bits per pixel, stored bottom-up or top-down.

#include <cstdint>
#include <map>
#include <string>

#include "im/window_system.h"

namespace varnel::testing {

inline void put_le(std::string& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

inline std::string bmp_file(const im::ScreenPixels& picture, int bits = 32, bool top_down = false) {
  std::map<std::uint32_t, int> palette;
  if (bits == 8) {
    for (std::uint32_t c : picture.pixels) palette.emplace(c, static_cast<int>(palette.size()));
  }
  const int row_bytes = ((picture.width * bits + 31) / 32) * 4;
  const int table_bytes = bits == 8 ? 256 * 4 : 0;
  const int offset = 54 + table_bytes;
  std::string out = "BM";
  put_le(out, offset + row_bytes * picture.height, 4);
  put_le(out, 0, 4);
  put_le(out, offset, 4);
  put_le(out, 40, 4);
  put_le(out, picture.width, 4);
  put_le(out, static_cast<std::uint32_t>(top_down ? -picture.height : picture.height), 4);
  put_le(out, 1, 2);
  put_le(out, bits, 2);
  for (std::uint32_t v : {0u, 0u, 3780u, 3780u, bits == 8 ? 256u : 0u, 0u}) put_le(out, v, 4);
  if (bits == 8) {
    std::string table(256 * 4, '\0');
    for (const auto& [colour, index] : palette) {
      table[index * 4] = static_cast<char>(colour & 0xFF);
      table[index * 4 + 1] = static_cast<char>((colour >> 8) & 0xFF);
      table[index * 4 + 2] = static_cast<char>((colour >> 16) & 0xFF);
    }
    out += table;
  }
  for (int r = 0; r < picture.height; ++r) {
    const int y = top_down ? r : picture.height - 1 - r;
    std::string row;
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t c = picture.pixels[static_cast<size_t>(y) * picture.width + x];
      if (bits == 8) {
        row.push_back(static_cast<char>(palette.at(c)));
      } else {
        put_le(row, c & 0xFFFFFF, bits / 8);
      }
    }
    row.resize(row_bytes, '\0');
    out += row;
  }
  return out;
}

}  // namespace varnel::testing
