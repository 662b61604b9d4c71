#pragma once
// The simulated desktop as the engine sees it, with a hook after the calls that steer the IM client, so a
// test can make the client go away (or the operator act) at an exact step of a delivery.

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "forwarding_window_system.h"

namespace varnel::testing {

struct WsCall {
  enum Kind { post, set_text, is_window } kind;
  im::WindowHandle window = 0;
  std::uint32_t message = 0;
};

class HookedWindowSystem : public ForwardingWindowSystem {
 public:
  using ForwardingWindowSystem::ForwardingWindowSystem;

  // Runs on the caller's thread after the call has been passed on.
  void set_hook(std::function<void(const WsCall&)> hook) {
    std::lock_guard lock(mutex_);
    hook_ = std::move(hook);
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

 private:
  void after(const WsCall& call) {
    std::function<void(const WsCall&)> hook;
    {
      std::lock_guard lock(mutex_);
      hook = hook_;
    }
    if (hook) hook(call);
  }

  std::mutex mutex_;
  std::function<void(const WsCall&)> hook_;
};

}  // namespace varnel::testing
