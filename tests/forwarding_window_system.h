#pragma once
// A window system that passes every call on to another one; test wrappers override only the calls they
// watch.

#include "im/window_system.h"

namespace varnel::testing {

class ForwardingWindowSystem : public im::WindowSystem {
 public:
  explicit ForwardingWindowSystem(im::WindowSystem& inner) : inner_(inner) {}

  std::vector<im::WindowHandle> enum_windows() override { return inner_.enum_windows(); }
  bool is_window_visible(im::WindowHandle w) override { return inner_.is_window_visible(w); }
  std::string class_name(im::WindowHandle w) override { return inner_.class_name(w); }
  std::string window_text(im::WindowHandle w) override { return inner_.window_text(w); }
  im::ThreadProcessIds window_thread_process_id(im::WindowHandle w) override {
    return inner_.window_thread_process_id(w);
  }
  std::vector<im::ProcessEntry> processes() override { return inner_.processes(); }
  im::WindowHandle find_window(std::string_view c, std::string_view t) override { return inner_.find_window(c, t); }
  im::WindowHandle find_window_ex(im::WindowHandle parent, im::WindowHandle after, std::string_view c) override {
    return inner_.find_window_ex(parent, after, c);
  }
  bool is_window(im::WindowHandle w) override { return inner_.is_window(w); }
  bool post_message(im::WindowHandle w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) override {
    return inner_.post_message(w, m, wp, lp);
  }
  bool send_set_text(im::WindowHandle w, std::string_view text) override { return inner_.send_set_text(w, text); }
  std::optional<im::Rect> client_rect(im::WindowHandle w) override { return inner_.client_rect(w); }
  std::optional<im::Point> client_to_screen(im::WindowHandle w, im::Point p) override {
    return inner_.client_to_screen(w, p);
  }
  im::Point cursor_pos() override { return inner_.cursor_pos(); }
  im::Size display_size() override { return inner_.display_size(); }
  im::ScreenPixels capture_screen(int x, int y, int width, int height) override {
    return inner_.capture_screen(x, y, width, height);
  }

 protected:
  im::WindowSystem& inner_;
};

}  // namespace varnel::testing
