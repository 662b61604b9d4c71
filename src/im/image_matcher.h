#pragma once
// Finding a stored picture in what a window shows on screen.

#include <cstdint>
#include <mutex>
#include <optional>
#include <string_view>

#include "im/image_search.h"
#include "im/window_system.h"

namespace varnel::im {

struct FindImageOptions {
  int x = 0;  // top-left corner of the area, in the window's client coordinates
  int y = 0;
  std::optional<int> width;   // left out: to the right edge of the client area (a larger value is cut back)
  std::optional<int> height;  // left out: to the bottom edge
  std::optional<std::uint32_t> ignore_colour;  // 0x00BBGGRR; pixels of the picture in this colour are skipped
  int percent = 0;                             // share of the points that must match; 0 means 100
  int tolerance = 0;                           // largest accepted difference between two palette indices
};

class ImageMatcher {
 public:
  // Where `pattern` (the bytes of a BMP file) shows in `window`'s client area, as the position of the
  // pattern's anchor (its bottom-left pixel unless a colour is ignored) in client coordinates; kNotFound when
  // it does not show. Window 0, or one whose client area cannot be read, searches the whole screen, and the
  // point is then in screen coordinates. Without a pattern the one prepared by the previous call is searched
  // again (before any, nothing is found).
  Point find_image(WindowSystem& ws, std::optional<std::string_view> pattern, WindowHandle window,
                   const FindImageOptions& options = {});

 private:
  std::mutex match_lock_;
  PreparedPattern prepared_;
};

}  // namespace varnel::im
