#include "im/window_actions.h"

#include "im/window_messages.h"

namespace varnel::im {
namespace {

WindowHandle desktop_icon_list(WindowSystem& ws) {
  const WindowHandle program_manager = ws.find_window("Progman", "Program Manager");
  const WindowHandle shell_view = ws.find_window_ex(program_manager, 0, "SHELLDLL_DefView");
  return ws.find_window_ex(shell_view, 0, "SysListView32");
}

}  // namespace

void post_click(WindowSystem& ws, WindowHandle window, std::optional<int> x, std::optional<int> y, ClickAction action) {
  const WindowHandle target = window != 0 ? window : desktop_icon_list(ws);
  if (!x || !y) {
    Point cursor = ws.cursor_pos();
    if (target != 0) {
      const Point origin = ws.client_to_screen(target, {0, 0}).value_or(Point{0, 0});
      cursor = {cursor.x - origin.x, cursor.y - origin.y};
    }
    if (!x) x = cursor.x;
    if (!y) y = cursor.y;
  }
  const std::intptr_t at = point_lparam(*x, *y);
  // The mouse move carries the right-button flag, as the IM client has always been sent it.
  ws.post_message(target, kWmMouseMove, kMkRButton, at);
  switch (action) {
    case ClickAction::click:
      ws.post_message(target, kWmLButtonDown, kMkLButton, at);
      ws.post_message(target, kWmLButtonUp, 0, at);
      break;
    case ClickAction::double_click:
      ws.post_message(target, kWmLButtonDown, kMkLButton, at);
      ws.post_message(target, kWmLButtonUp, 0, at);
      ws.post_message(target, kWmLButtonDblClk, 0, at);
      break;
    case ClickAction::press:
      ws.post_message(target, kWmLButtonDown, kMkLButton, at);
      break;
    case ClickAction::release:
      ws.post_message(target, kWmLButtonUp, 0, at);
      break;
  }
}

void close_window_if_any(WindowSystem& ws, WindowHandle window) {
  if (ws.is_window(window)) ws.post_message(window, kWmClose, 0, 0);
}

}  // namespace varnel::im
