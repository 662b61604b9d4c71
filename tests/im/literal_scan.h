#pragma once
// The plain scan that the image search must answer exactly like: every pixel is a candidate, every candidate
// that passes the anchor test is compared with the points in list order until it is found or abandoned.
// Kept as the reference for the search's tests and as the baseline of its benchmark.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "im/image_search.h"

namespace varnel::testing {

inline im::Point literal_scan(std::span<const std::uint8_t> p, int w, int h, const im::PreparedPattern& pattern,
                              int tolerance, int percent) {
  const auto n = static_cast<std::int64_t>(pattern.points.size());
  std::int64_t needed = n * (percent == 0 ? 100 : percent);
  needed = needed >= 0 ? needed / 100 : -((-needed + 99) / 100);
  const std::int64_t stride = w + (4 - w % 4) % 4;
  const auto size = static_cast<std::int64_t>(p.size());
  for (int i = 1; i <= h; ++i) {
    for (int j = 1; j <= w; ++j) {
      const int v = p[(i - 1) * stride + (j - 1)];
      if (std::abs(v - pattern.anchor_value) > tolerance) continue;
      std::int64_t count = 0;
      for (const im::PatternPoint& point : pattern.points) {
        const std::int64_t column = (j - 1) + point.dx;
        if (column >= w) break;
        const std::int64_t position = stride * (i - 1 + point.dy) + column;
        // A position before the first byte abandons the candidate too (it would read outside the image).
        if (position >= size || position < 0) break;
        if (std::llabs(p[position] - static_cast<std::int64_t>(point.value)) <= tolerance) {
          ++count;
          if (count >= needed) return {j - 1, h - i};
        }
      }
    }
  }
  return im::kNotFound;
}

}  // namespace varnel::testing
