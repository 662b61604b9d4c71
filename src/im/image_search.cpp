#include "im/image_search.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>

#include "im/palette.h"

namespace varnel::im {
namespace {

std::int64_t floor_div(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The pattern laid out for one image width: where each point lies relative to the candidate in the bytes,
// the reach of every prefix of the list (which decides where a candidate is abandoned), and the order in
// which the points are compared (rarest value first, so that a mismatch shows early).
class SearchPlan {
 public:
  SearchPlan(const PreparedPattern& pattern, std::int64_t stride) : count_(pattern.points.size()) {
    const auto& points = pattern.points;
    max_dx_.resize(count_);
    max_offset_.resize(count_);
    min_offset_.resize(count_);
    std::map<std::uint32_t, int> frequency;
    for (size_t k = 0; k < count_; ++k) {
      const std::int64_t offset = stride * points[k].dy + points[k].dx;
      max_dx_[k] = k == 0 ? points[k].dx : std::max(max_dx_[k - 1], points[k].dx);
      max_offset_[k] = k == 0 ? offset : std::max(max_offset_[k - 1], offset);
      min_offset_[k] = k == 0 ? offset : std::min(min_offset_[k - 1], offset);
      ++frequency[points[k].value];
      checks_.push_back({offset, static_cast<std::int64_t>(points[k].value), k});
    }
    std::stable_sort(checks_.begin(), checks_.end(), [&](const Check& a, const Check& b) {
      return frequency[static_cast<std::uint32_t>(a.value)] < frequency[static_cast<std::uint32_t>(b.value)];
    });
  }

  // How many points, from the head of the list, a candidate at byte `at` in column `column` gets to compare:
  // the first point right of the image or outside [0, size) abandons it.
  size_t reachable(std::int64_t at, int column, int width, std::int64_t size) const {
    if (count_ == 0) return 0;
    const auto right = static_cast<std::int64_t>(width) - column;
    if (max_dx_.back() < right && at + max_offset_.back() < size && at + min_offset_.back() >= 0) return count_;
    const auto past_right = std::lower_bound(max_dx_.begin(), max_dx_.end(), right) - max_dx_.begin();
    const auto past_end = std::lower_bound(max_offset_.begin(), max_offset_.end(), size - at) - max_offset_.begin();
    // The prefix minima fall: the first one below -at puts the point before the first byte.
    const auto before_start =
        std::lower_bound(min_offset_.begin(), min_offset_.end(), -at - 1, std::greater<>()) - min_offset_.begin();
    return std::min(
        {static_cast<size_t>(past_right), static_cast<size_t>(past_end), static_cast<size_t>(before_start)});
  }

  // Whether at least `needed` of the first `reach` points match around `candidate`.
  bool matches(const std::uint8_t* candidate, size_t reach, std::int64_t needed, int tolerance) const {
    const auto allowed_misses = static_cast<std::int64_t>(reach) - needed;
    std::int64_t hits = 0;
    std::int64_t misses = 0;
    for (const Check& check : checks_) {
      if (check.index >= reach) continue;
      if (std::llabs(candidate[check.offset] - check.value) <= tolerance) {
        if (++hits >= needed) return true;
      } else if (++misses > allowed_misses) {
        return false;
      }
    }
    return false;
  }

 private:
  struct Check {
    std::int64_t offset;
    std::int64_t value;
    size_t index;
  };
  size_t count_;
  std::vector<int> max_dx_;
  std::vector<std::int64_t> max_offset_;
  std::vector<std::int64_t> min_offset_;
  std::vector<Check> checks_;
};

}  // namespace

PreparedPattern prepare_pattern(const DibImage& picture, std::optional<std::uint8_t> ignored_index) {
  PreparedPattern prepared{-1, {}};
  const int width = picture.width();
  const int height = picture.height();
  const auto& bytes = picture.pixel_bytes();
  int anchor_column = 0;
  int anchor_row_from_top = 0;
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      const std::uint8_t v = bytes[static_cast<size_t>(picture.stride()) * row + column];
      if (ignored_index && v == *ignored_index) continue;
      const int row_from_top = height - 1 - row;
      if (prepared.anchor_value == -1) {
        anchor_column = column;
        anchor_row_from_top = row_from_top;
        prepared.anchor_value = v;
      } else {
        prepared.points.push_back({column - anchor_column, anchor_row_from_top - row_from_top, v});
      }
    }
  }
  return prepared;
}

PreparedPattern prepare_pattern(std::string_view bmp_bytes, std::optional<std::uint32_t> ignore_colour) {
  const auto picture = DibImage::from_bmp_bytes(bmp_bytes);
  if (!picture) return {-1, {}};
  std::optional<std::uint8_t> ignored_index;
  if (ignore_colour) {
    const std::uint32_t bgr = *ignore_colour;
    const std::uint32_t rgb = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
    ignored_index = nearest_palette_index(rgb);
  }
  return prepare_pattern(*picture, ignored_index);
}

Point search_pattern(std::span<const std::uint8_t> bytes, int width, int height, const PreparedPattern& pattern,
                     int tolerance, int percent) {
  const auto count = static_cast<std::int64_t>(pattern.points.size());
  if (width <= 0 || height <= 0 || tolerance < 0 || count == 0) return kNotFound;
  const std::int64_t stride = DibImage::stride_of(width);
  const auto size = static_cast<std::int64_t>(bytes.size());
  if (size < stride * height) return kNotFound;
  // A candidate is accepted only after a matching point, so even a share of 0 needs one.
  const std::int64_t needed = std::max<std::int64_t>(1, floor_div(count * (percent == 0 ? 100 : percent), 100));
  if (needed > count) return kNotFound;

  const SearchPlan plan(pattern, stride);
  const int anchor = pattern.anchor_value;
  if (anchor + tolerance < 0 || anchor - tolerance > 255) return kNotFound;
  for (int row = 0; row < height; ++row) {
    const std::int64_t row_start = stride * row;
    const std::uint8_t* line = bytes.data() + row_start;
    for (int column = 0; column < width; ++column) {
      if (tolerance == 0) {
        const void* next = std::memchr(line + column, anchor, static_cast<size_t>(width - column));
        if (!next) break;
        column = static_cast<int>(static_cast<const std::uint8_t*>(next) - line);
      } else if (std::abs(line[column] - anchor) > tolerance) {
        continue;
      }
      const std::int64_t at = row_start + column;
      const size_t reach = plan.reachable(at, column, width, size);
      if (static_cast<std::int64_t>(reach) < needed) continue;
      if (plan.matches(bytes.data() + at, reach, needed, tolerance)) return {column, height - 1 - row};
    }
  }
  return kNotFound;
}

}  // namespace varnel::im
