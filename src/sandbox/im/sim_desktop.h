#pragma once
// A simulated desktop: windows of several simulated processes with classes, texts, a z-order and pixels,
// offered through the same window-system interface as the real platform. Messages posted to a window go to
// the message sink of the window's process (that process's own thread); set-text is answered at once.
// Thread-safe: every operation may be called from any thread.

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "im/window_system.h"

namespace varnel::sandbox {

using im::Point;
using im::Rect;
using im::ScreenPixels;
using im::Size;
using im::WindowHandle;

struct PostedMessage {
  WindowHandle window = 0;
  std::uint32_t message = 0;
  std::uintptr_t wparam = 0;
  std::intptr_t lparam = 0;
};
using MessageSink = std::function<void(const PostedMessage&)>;

struct SimWindowLayout {
  std::string class_name;
  std::string text;
  Rect rect;                      // in the parent's client coordinates; on the screen for a top-level window
  std::uint32_t fill = 0xFFFFFF;  // 0x00RRGGBB
  bool visible = true;
};

class SimDesktop : public im::WindowSystem {
 public:
  // Starts with the shell's desktop window (Progman, its view and icon list) behind everything.
  explicit SimDesktop(Size display = {1920, 1080});

  // A new process; messages posted to its windows go to `sink` (none: they are dropped).
  std::uint32_t start_process(const std::string& exe_file, MessageSink sink = {});
  void set_message_sink(std::uint32_t process_id, MessageSink sink);

  // A new window of the process: a top-level window (parent 0) goes in front of all others, a child after
  // its siblings. 0 when the parent is no window.
  WindowHandle create_window(std::uint32_t process_id, WindowHandle parent, const SimWindowLayout& layout);
  // Removes the window and everything inside it; its handles stay invalid.
  void destroy_window(WindowHandle window);
  void move_window(WindowHandle window, Point top_left);
  void show_window(WindowHandle window, bool visible);
  void bring_to_front(WindowHandle window);
  // A picture drawn over the window's fill with its top-left corner at `at` in client coordinates.
  void add_picture(WindowHandle window, Point at, ScreenPixels picture);
  // The window's rectangle on the screen.
  std::optional<Rect> screen_rect(WindowHandle window);
  void set_cursor_pos(Point position);

  // Called, on whatever thread made the change, after every change that shows. A listener must not change
  // the desktop itself.
  int add_change_listener(std::function<void()> listener);
  void remove_change_listener(int id);

  std::vector<WindowHandle> enum_windows() override;
  bool is_window_visible(WindowHandle window) override;
  std::string class_name(WindowHandle window) override;
  std::string window_text(WindowHandle window) override;
  im::ThreadProcessIds window_thread_process_id(WindowHandle window) override;
  std::vector<im::ProcessEntry> processes() override;
  WindowHandle find_window(std::string_view class_name, std::string_view title) override;
  WindowHandle find_window_ex(WindowHandle parent, WindowHandle child_after, std::string_view class_name) override;
  bool is_window(WindowHandle window) override;
  bool post_message(WindowHandle window, std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) override;
  bool send_set_text(WindowHandle window, std::string_view text) override;
  std::optional<Rect> client_rect(WindowHandle window) override;
  std::optional<Point> client_to_screen(WindowHandle window, Point client_point) override;
  Point cursor_pos() override;
  Size display_size() override;
  ScreenPixels capture_screen(int x, int y, int width, int height) override;

 private:
  struct Picture {
    Point at;
    ScreenPixels pixels;
  };
  struct Window {
    std::uint32_t process_id = 0;
    WindowHandle parent = 0;
    SimWindowLayout layout;
    std::vector<Picture> pictures;
    std::vector<WindowHandle> children;  // topmost first, as FindWindowEx visits them
  };
  struct Process {
    std::string exe_file;
    MessageSink sink;
  };

  void notify_changed();
  Window* find(WindowHandle window);
  std::vector<WindowHandle>& siblings_of(const Window& window);
  Point origin_on_screen(const Window& window);
  void erase_tree(WindowHandle window);
  void paint(ScreenPixels& out, Point capture_at, WindowHandle window, Point parent_origin, Rect clip);

  const Size display_;
  std::mutex lock_;
  std::map<WindowHandle, Window> windows_;
  std::vector<WindowHandle> top_level_;  // front to back
  std::map<std::uint32_t, Process> processes_;
  WindowHandle next_handle_ = 0x000A0012;
  std::uint32_t next_process_id_ = 1204;
  Point cursor_{0, 0};

  std::mutex listeners_lock_;
  std::map<int, std::function<void()>> listeners_;
  int next_listener_ = 1;
};

}  // namespace varnel::sandbox
