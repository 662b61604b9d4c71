#include "im/image_matcher.h"

#include "im/dib_image.h"

namespace varnel::im {

Point ImageMatcher::find_image(WindowSystem& ws, std::optional<std::string_view> pattern, WindowHandle window,
                               const FindImageOptions& options) {
  std::lock_guard lock(match_lock_);
  Point corner{0, 0};
  Rect client{};
  if (window != 0) {
    if (auto c = ws.client_to_screen(window, {0, 0})) corner = *c;
    if (auto r = ws.client_rect(window)) client = *r;
  }
  int width = client.width() - options.x;
  if (options.width && *options.width <= width) width = *options.width;
  int height = client.height() - options.y;
  if (options.height && *options.height <= height) height = *options.height;

  // A width or height of 0 runs the capture to the screen's edge: window 0 thus searches the whole screen.
  const int left = corner.x + options.x;
  const int top = corner.y + options.y;
  if (width == 0 || height == 0) {
    const Size display = ws.display_size();
    if (width == 0) width = display.width - left;
    if (height == 0) height = display.height - top;
  }
  const DibImage capture = DibImage::from_screen(ws.capture_screen(left, top, width, height));

  if (pattern) prepared_ = prepare_pattern(*pattern, options.ignore_colour);
  if (prepared_.anchor_value == -1) return kNotFound;

  Point found = search_pattern(capture.pixel_bytes(), capture.width(), capture.height(), prepared_, options.tolerance,
                               options.percent);
  if (found == kNotFound) return kNotFound;
  found.x += options.x;
  found.y += options.y;
  return found;
}

}  // namespace varnel::im
