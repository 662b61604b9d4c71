#pragma once
// The simulated desktop as the engine sees it, with a hook after the calls that steer the IM client, so a
// test can make the client go away (or the operator act) at an exact step of a delivery.

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "im/window_system.h"

namespace varnel::testing {

struct WsCall {
  enum Kind { post, set_text, is_window } kind;
  im::WindowHandle window = 0;
  std::uint32_t message = 0;
};

class HookedWindowSystem : public im::WindowSystem {
 public:
  explicit HookedWindowSystem(im::WindowSystem& inner) : inner_(inner) {}

  // Runs on the caller's thread after the call has been passed on.
  void set_hook(std::function<void(const WsCall&)> hook) {
    std::lock_guard lock(mutex_);
    hook_ = std::move(hook);
  }

  std::vector<im::WindowHandle> enum_windows() override { return inner_.enum_windows(); }
  bool is_window_visible(im::WindowHandle w) override { return inner_.is_window_visible(w); }
  std::string class_name(im::WindowHandle w) override { return inner_.class_name(w); }
  std::string window_text(im::WindowHandle w) override { return inner_.window_text(w); }
  im::ThreadProcessIds window_thread_process_id(im::WindowHandle w) override {
    return inner_.window_thread_process_id(w);
  }
  std::vector<im::ProcessEntry> processes() override { return inner_.processes(); }
  im::WindowHandle find_window(std::string_view class_name, std::string_view title) override {
    return inner_.find_window(class_name, title);
  }
  im::WindowHandle find_window_ex(im::WindowHandle parent, im::WindowHandle after, std::string_view cls) override {
    return inner_.find_window_ex(parent, after, cls);
  }
  bool is_window(im::WindowHandle w) override {
    const bool result = inner_.is_window(w);
    after({WsCall::is_window, w, 0});
    return result;
  }
  bool post_message(im::WindowHandle w, std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) override {
    const bool result = inner_.post_message(w, message, wparam, lparam);
    after({WsCall::post, w, message});
    return result;
  }
  bool send_set_text(im::WindowHandle w, std::string_view text) override {
    const bool result = inner_.send_set_text(w, text);
    after({WsCall::set_text, w, 0});
    return result;
  }
  std::optional<im::Rect> client_rect(im::WindowHandle w) override { return inner_.client_rect(w); }
  std::optional<im::Point> client_to_screen(im::WindowHandle w, im::Point p) override {
    return inner_.client_to_screen(w, p);
  }
  im::Point cursor_pos() override { return inner_.cursor_pos(); }
  im::Size display_size() override { return inner_.display_size(); }
  im::ScreenPixels capture_screen(int x, int y, int width, int height) override {
    return inner_.capture_screen(x, y, width, height);
  }

 private:
  void after(const WsCall& call) {
    std::function<void(const WsCall&)> hook;
    {
      std::lock_guard lock(mutex_);
      hook = hook_;
    }
    if (hook) hook(call);
  }

  im::WindowSystem& inner_;
  std::mutex mutex_;
  std::function<void(const WsCall&)> hook_;
};

}  // namespace varnel::testing
