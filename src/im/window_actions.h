#pragma once
// Mouse clicks and closing, as window messages posted to another program's windows.

#include <optional>

#include "im/window_system.h"

namespace varnel::im {

enum class ClickAction {
  click = 1,
  double_click = 2,
  press = 3,
  release = 4,
};

// Posts a left-button action at client point (x, y) of `window`, preceded by a mouse move. Window 0 stands
// for the desktop's icon list. A coordinate left out is taken from the cursor, relative to the window's client
// origin (or as it is on the screen when there is no window).
void post_click(WindowSystem& ws, WindowHandle window, std::optional<int> x, std::optional<int> y, ClickAction action);

// Posts WM_CLOSE to `window` when it is a window.
void close_window_if_any(WindowSystem& ws, WindowHandle window);

}  // namespace varnel::im
