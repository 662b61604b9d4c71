#include "sandbox/im/sim_desktop.h"

#include <algorithm>

namespace varnel::sandbox {
namespace {

constexpr std::uint32_t kWallpaper = 0x3A6EA5;

Rect intersect(const Rect& a, const Rect& b) {
  Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

Rect offset(const Rect& r, Point by) { return {r.left + by.x, r.top + by.y, r.right + by.x, r.bottom + by.y}; }

// Thread ids of simulated processes: one thread each, numbered after the process.
std::uint32_t thread_of(std::uint32_t process_id) { return process_id + 4; }

}  // namespace

SimDesktop::SimDesktop(Size display) : display_(display) {
  const std::uint32_t explorer = start_process("explorer.exe");
  const Rect screen{0, 0, display.width, display.height};
  const WindowHandle program_manager =
      create_window(explorer, 0, {"Progman", "Program Manager", screen, kWallpaper, true});
  const WindowHandle view =
      create_window(explorer, program_manager, {"SHELLDLL_DefView", "", screen, kWallpaper, true});
  create_window(explorer, view, {"SysListView32", "FolderView", screen, kWallpaper, true});
}

std::uint32_t SimDesktop::start_process(const std::string& exe_file, MessageSink sink) {
  std::lock_guard lock(lock_);
  const std::uint32_t id = next_process_id_;
  next_process_id_ += 8;
  processes_[id] = {exe_file, std::move(sink)};
  return id;
}

void SimDesktop::set_message_sink(std::uint32_t process_id, MessageSink sink) {
  std::lock_guard lock(lock_);
  auto it = processes_.find(process_id);
  if (it != processes_.end()) it->second.sink = std::move(sink);
}

SimDesktop::Window* SimDesktop::find(WindowHandle window) {
  auto it = windows_.find(window);
  return it == windows_.end() ? nullptr : &it->second;
}

std::vector<WindowHandle>& SimDesktop::siblings_of(const Window& window) {
  return window.parent == 0 ? top_level_ : windows_.at(window.parent).children;
}

Point SimDesktop::origin_on_screen(const Window& window) {
  Point origin{window.layout.rect.left, window.layout.rect.top};
  for (WindowHandle up = window.parent; up != 0;) {
    const Window& parent = windows_.at(up);
    origin.x += parent.layout.rect.left;
    origin.y += parent.layout.rect.top;
    up = parent.parent;
  }
  return origin;
}

WindowHandle SimDesktop::create_window(std::uint32_t process_id, WindowHandle parent, const SimWindowLayout& layout) {
  WindowHandle handle = 0;
  {
    std::lock_guard lock(lock_);
    if (parent != 0 && !find(parent)) return 0;
    handle = next_handle_;
    next_handle_ += 0x1A;
    windows_[handle] = {process_id, parent, layout, {}, {}};
    if (parent == 0) {
      top_level_.insert(top_level_.begin(), handle);
    } else {
      windows_.at(parent).children.push_back(handle);
    }
  }
  notify_changed();
  return handle;
}

void SimDesktop::erase_tree(WindowHandle window) {
  const std::vector<WindowHandle> children = windows_.at(window).children;
  for (WindowHandle child : children) erase_tree(child);
  windows_.erase(window);
}

void SimDesktop::destroy_window(WindowHandle window) {
  {
    std::lock_guard lock(lock_);
    Window* w = find(window);
    if (!w) return;
    auto& siblings = siblings_of(*w);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
    erase_tree(window);
  }
  notify_changed();
}

void SimDesktop::move_window(WindowHandle window, Point top_left) {
  {
    std::lock_guard lock(lock_);
    Window* w = find(window);
    if (!w) return;
    Rect& r = w->layout.rect;
    r = {top_left.x, top_left.y, top_left.x + r.width(), top_left.y + r.height()};
  }
  notify_changed();
}

void SimDesktop::show_window(WindowHandle window, bool visible) {
  {
    std::lock_guard lock(lock_);
    Window* w = find(window);
    if (!w) return;
    w->layout.visible = visible;
  }
  notify_changed();
}

void SimDesktop::bring_to_front(WindowHandle window) {
  {
    std::lock_guard lock(lock_);
    Window* w = find(window);
    if (!w) return;
    auto& siblings = siblings_of(*w);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
    siblings.insert(siblings.begin(), window);
  }
  notify_changed();
}

void SimDesktop::add_picture(WindowHandle window, Point at, ScreenPixels picture) {
  {
    std::lock_guard lock(lock_);
    Window* w = find(window);
    if (!w) return;
    w->pictures.push_back({at, std::move(picture)});
  }
  notify_changed();
}

std::optional<Rect> SimDesktop::screen_rect(WindowHandle window) {
  std::lock_guard lock(lock_);
  Window* w = find(window);
  if (!w) return std::nullopt;
  const Point origin = origin_on_screen(*w);
  return Rect{origin.x, origin.y, origin.x + w->layout.rect.width(), origin.y + w->layout.rect.height()};
}

void SimDesktop::set_cursor_pos(Point position) {
  std::lock_guard lock(lock_);
  cursor_ = position;
}

int SimDesktop::add_change_listener(std::function<void()> listener) {
  std::lock_guard lock(listeners_lock_);
  listeners_[next_listener_] = std::move(listener);
  return next_listener_++;
}

void SimDesktop::remove_change_listener(int id) {
  std::lock_guard lock(listeners_lock_);
  listeners_.erase(id);
}

void SimDesktop::notify_changed() {
  std::lock_guard lock(listeners_lock_);
  for (auto& [id, listener] : listeners_) listener();
}

std::vector<WindowHandle> SimDesktop::enum_windows() {
  std::lock_guard lock(lock_);
  return top_level_;
}

bool SimDesktop::is_window_visible(WindowHandle window) {
  std::lock_guard lock(lock_);
  Window* w = find(window);
  if (!w) return false;
  for (; w->layout.visible; w = &windows_.at(w->parent)) {
    if (w->parent == 0) return true;
  }
  return false;
}

std::string SimDesktop::class_name(WindowHandle window) {
  std::lock_guard lock(lock_);
  Window* w = find(window);
  return w ? w->layout.class_name : std::string();
}

std::string SimDesktop::window_text(WindowHandle window) {
  std::lock_guard lock(lock_);
  Window* w = find(window);
  return w ? w->layout.text : std::string();
}

im::ThreadProcessIds SimDesktop::window_thread_process_id(WindowHandle window) {
  std::lock_guard lock(lock_);
  Window* w = find(window);
  if (!w) return {};
  return {thread_of(w->process_id), w->process_id};
}

std::vector<im::ProcessEntry> SimDesktop::processes() {
  std::lock_guard lock(lock_);
  std::vector<im::ProcessEntry> out;
  const std::uint32_t first = processes_.empty() ? 0 : processes_.begin()->first;
  for (const auto& [id, process] : processes_) out.push_back({id == first ? 0u : first, id, process.exe_file});
  return out;
}

WindowHandle SimDesktop::find_window(std::string_view class_name, std::string_view title) {
  std::lock_guard lock(lock_);
  for (WindowHandle h : top_level_) {
    const Window& w = windows_.at(h);
    if ((class_name.empty() || w.layout.class_name == class_name) && w.layout.text == title) return h;
  }
  return 0;
}

WindowHandle SimDesktop::find_window_ex(WindowHandle parent, WindowHandle child_after, std::string_view class_name) {
  std::lock_guard lock(lock_);
  if (parent != 0 && !find(parent)) return 0;
  const std::vector<WindowHandle>& children = parent == 0 ? top_level_ : windows_.at(parent).children;
  auto it = children.begin();
  if (child_after != 0) {
    it = std::find(children.begin(), children.end(), child_after);
    if (it == children.end()) return 0;
    ++it;
  }
  for (; it != children.end(); ++it) {
    if (class_name.empty() || windows_.at(*it).layout.class_name == class_name) return *it;
  }
  return 0;
}

bool SimDesktop::is_window(WindowHandle window) {
  std::lock_guard lock(lock_);
  return find(window) != nullptr;
}

bool SimDesktop::post_message(WindowHandle window, std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) {
  // Window 0 posts to the caller's own thread, where no window receives it.
  if (window == 0) return true;
  MessageSink sink;
  {
    std::lock_guard lock(lock_);
    Window* w = find(window);
    if (!w) return false;
    sink = processes_.at(w->process_id).sink;
  }
  if (sink) sink({window, message, wparam, lparam});
  return true;
}

bool SimDesktop::send_set_text(WindowHandle window, std::string_view text) {
  {
    std::lock_guard lock(lock_);
    Window* w = find(window);
    if (!w) return false;
    w->layout.text = std::string(text);
  }
  notify_changed();
  return true;
}

std::optional<Rect> SimDesktop::client_rect(WindowHandle window) {
  std::lock_guard lock(lock_);
  Window* w = find(window);
  if (!w) return std::nullopt;
  return Rect{0, 0, w->layout.rect.width(), w->layout.rect.height()};
}

std::optional<Point> SimDesktop::client_to_screen(WindowHandle window, Point client_point) {
  std::lock_guard lock(lock_);
  Window* w = find(window);
  if (!w) return std::nullopt;
  const Point origin = origin_on_screen(*w);
  return Point{origin.x + client_point.x, origin.y + client_point.y};
}

Point SimDesktop::cursor_pos() {
  std::lock_guard lock(lock_);
  return cursor_;
}

Size SimDesktop::display_size() { return display_; }

void SimDesktop::paint(ScreenPixels& out, Point capture_at, WindowHandle handle, Point parent_origin, Rect clip) {
  const Window& w = windows_.at(handle);
  if (!w.layout.visible) return;
  const Rect on_screen = offset(w.layout.rect, parent_origin);
  const Rect area = intersect(on_screen, clip);
  if (area.width() == 0 || area.height() == 0) return;
  auto put = [&](int x, int y, std::uint32_t rgb) {
    out.pixels[static_cast<size_t>(y - capture_at.y) * out.width + (x - capture_at.x)] = rgb & 0xFFFFFF;
  };
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) put(x, y, w.layout.fill);
  }
  const Point origin{on_screen.left, on_screen.top};
  for (const Picture& picture : w.pictures) {
    const Rect placed =
        offset({0, 0, picture.pixels.width, picture.pixels.height}, {origin.x + picture.at.x, origin.y + picture.at.y});
    const Rect shown = intersect(placed, area);
    for (int y = shown.top; y < shown.bottom; ++y) {
      for (int x = shown.left; x < shown.right; ++x) {
        put(x, y,
            picture.pixels.pixels[static_cast<size_t>(y - placed.top) * picture.pixels.width + (x - placed.left)]);
      }
    }
  }
  for (auto it = w.children.rbegin(); it != w.children.rend(); ++it) paint(out, capture_at, *it, origin, area);
}

ScreenPixels SimDesktop::capture_screen(int x, int y, int width, int height) {
  // The platform refuses a bitmap this large as well.
  constexpr int kLargest = 1 << 15;
  if (width <= 0 || height <= 0 || width > kLargest || height > kLargest) return {};
  ScreenPixels out{width, height, std::vector<std::uint32_t>(static_cast<size_t>(width) * height, 0)};
  const Rect wanted{x, y, x + width, y + height};
  const Rect clip = intersect(wanted, {0, 0, display_.width, display_.height});
  std::lock_guard lock(lock_);
  for (auto it = top_level_.rbegin(); it != top_level_.rend(); ++it) paint(out, {x, y}, *it, {0, 0}, clip);
  return out;
}

}  // namespace varnel::sandbox
