#include "text/gbk_search.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace varnel::text {

size_t gbk_char_length(std::string_view s, size_t i) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  if (c < 0x81 || c == 0xFF || i + 1 >= s.size()) return 1;
  unsigned char c2 = static_cast<unsigned char>(s[i + 1]);
  if (c2 >= 0x30 && c2 <= 0x39 && i + 3 < s.size()) return 4;
  return 2;
}

namespace {

// Finds candidates with a fast byte search, then walks character boundaries forward to the candidate;
// the walk only ever moves forward, so the whole search stays linear in the haystack.
template <typename Find>
size_t aligned_find(std::string_view hay, std::string_view needle, size_t from, Find find) {
  if (from > hay.size()) return std::string_view::npos;
  size_t boundary = from;
  size_t pos = find(from);
  while (pos != std::string_view::npos) {
    while (boundary < pos) boundary += gbk_char_length(hay, boundary);
    if (boundary == pos) return pos;
    pos = find(pos + 1);
  }
  return std::string_view::npos;
}

}  // namespace

size_t gbk_find(std::string_view hay, std::string_view needle, size_t from) {
  return aligned_find(hay, needle, from, [&](size_t at) { return hay.find(needle, at); });
}

size_t gbk_find_nocase(std::string_view hay, std::string_view needle, size_t from) {
  auto lower = [](std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) {
      return c < 0x80 ? static_cast<char>(std::tolower(c)) : static_cast<char>(c);
    });
    return out;
  };
  // Lower-casing only touches ASCII bytes, so positions and lead bytes are unchanged.
  std::string h = lower(hay), n = lower(needle);
  std::string_view hv(h);
  return aligned_find(hay, needle, from, [&](size_t at) { return hv.find(n, at); });
}

}  // namespace varnel::text
