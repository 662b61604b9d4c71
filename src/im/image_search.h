#pragma once
// Finding a picture in an image of palette indices.
//
// The picture becomes an anchor pixel and a list of points relative to it; the search tries every pixel of
// the image as the anchor, bottom stored row first and each row left to right, and answers the first one at
// which enough points match. The answer is always the one of that plain scan; the search only skips work
// that cannot change it.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "im/dib_image.h"
#include "im/window_system.h"

namespace varnel::im {

inline constexpr Point kNotFound{-1, -1};

struct PatternPoint {
  int dx = 0;  // column minus the anchor's column
  int dy = 0;  // stored row minus the anchor's stored row, never negative
  std::uint32_t value = 0;
};

struct PreparedPattern {
  int anchor_value = 0;  // a palette index, or -1 when the picture is unusable
  std::vector<PatternPoint> points;
};

// The anchor is the first pixel in stored order (bottom row first, left to right) that is not of the ignored
// index; every later such pixel becomes a point, in that order.
PreparedPattern prepare_pattern(const DibImage& picture, std::optional<std::uint8_t> ignored_index);

// The same from the bytes of a BMP file and an ignored colour 0x00BBGGRR; anchor -1 when the bytes are no
// bitmap or every pixel is ignored.
PreparedPattern prepare_pattern(std::string_view bmp_bytes, std::optional<std::uint32_t> ignore_colour);

// Searches `bytes` (an image `width` x `height` in stored row order, rows padded to four bytes) for the
// pattern: a candidate is a pixel within `tolerance` of the anchor value, and it is accepted once
// `percent` of the points (0 means 100, rounded down, at least one) lie within `tolerance` of their values.
// A candidate is abandoned at the first point, in list order, that lies right of the image or outside its
// bytes. Answers the candidate's column and its row counted from the top, or kNotFound.
Point search_pattern(std::span<const std::uint8_t> bytes, int width, int height, const PreparedPattern& pattern,
                     int tolerance, int percent);

}  // namespace varnel::im
