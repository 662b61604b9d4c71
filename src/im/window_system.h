#pragma once
// The platform's window automation as the IM module uses it. Each operation stands for one Win32 call
// (named beside it), so a Win32 back end is a thin wrapper; the simulated desktop is the other back end.
// Texts are UTF-8 here; the Win32 back end converts them to and from the ANSI code page.
// Every operation may be called from any thread.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnel::im {

// A window handle. 0 is no window; find_top_window answers -1 for "none qualifies".
using WindowHandle = std::intptr_t;

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct ThreadProcessIds {
  std::uint32_t thread_id = 0;
  std::uint32_t process_id = 0;
};

struct ProcessEntry {
  std::uint32_t parent_process_id = 0;
  std::uint32_t process_id = 0;
  std::string exe_file;
};

// What the screen shows in a rectangle: rows top to bottom, each pixel 0x00RRGGBB. Parts of the
// rectangle outside the screen are black.
struct ScreenPixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // EnumWindows: every top-level window, visible or not, front to back.
  virtual std::vector<WindowHandle> enum_windows() = 0;
  // IsWindowVisible: the window and all its ancestors are shown.
  virtual bool is_window_visible(WindowHandle window) = 0;
  // GetClassNameA.
  virtual std::string class_name(WindowHandle window) = 0;
  // GetWindowTextA (for an edit control, its content).
  virtual std::string window_text(WindowHandle window) = 0;
  // GetWindowThreadProcessId; zeros for a handle that is no window.
  virtual ThreadProcessIds window_thread_process_id(WindowHandle window) = 0;
  // CreateToolhelp32Snapshot, Process32First, Process32Next: every process whose id is not 0.
  virtual std::vector<ProcessEntry> processes() = 0;

  // FindWindowA(class, title): the first top-level window of that class and exactly that title; 0 if none.
  virtual WindowHandle find_window(std::string_view class_name, std::string_view title) = 0;
  // FindWindowExA(parent, child_after, class, NULL): the first direct child of `parent` of that class after
  // `child_after` (0: from the first child). A parent of 0 searches the top-level windows, visible or not;
  // a parent or child_after that is no window gives 0.
  virtual WindowHandle find_window_ex(WindowHandle parent, WindowHandle child_after, std::string_view class_name) = 0;
  // IsWindow.
  virtual bool is_window(WindowHandle window) = 0;

  // PostMessageA: queues the message for the window's thread and returns at once. A window of 0 posts to
  // the calling thread, where no window receives it.
  virtual bool post_message(WindowHandle window, std::uint32_t message, std::uintptr_t wparam,
                            std::intptr_t lparam) = 0;
  // SendMessageA(window, WM_SETTEXT, 0, text): returns once the window's thread has replaced its text.
  virtual bool send_set_text(WindowHandle window, std::string_view text) = 0;

  // GetClientRect: left and top are 0.
  virtual std::optional<Rect> client_rect(WindowHandle window) = 0;
  // ClientToScreen.
  virtual std::optional<Point> client_to_screen(WindowHandle window, Point client_point) = 0;
  // GetCursorPos.
  virtual Point cursor_pos() = 0;
  // EnumDisplaySettingsA(ENUM_CURRENT_SETTINGS): the display's width and height.
  virtual Size display_size() = 0;
  // BitBlt from the screen's device context: whatever is shown there, covering windows included.
  // Empty for a width or height that is not positive.
  virtual ScreenPixels capture_screen(int x, int y, int width, int height) = 0;
};

}  // namespace varnel::im
