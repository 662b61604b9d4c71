#pragma once
// A window system that passes every call on to another one and records the calls that steer the IM
// client, so tests can see what was searched and what was posted.

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "forwarding_window_system.h"

namespace varnel::testing {

struct ChildSearch {
  im::WindowHandle parent;
  im::WindowHandle after;
  std::string class_name;
  im::WindowHandle result;
};

struct Posted {
  im::WindowHandle window;
  std::uint32_t message;
  std::uintptr_t wparam;
  std::intptr_t lparam;
  friend bool operator==(const Posted&, const Posted&) = default;
};

struct Capture {
  int x, y, width, height;
  friend bool operator==(const Capture&, const Capture&) = default;
};

class RecordingWindowSystem : public ForwardingWindowSystem {
 public:
  using ForwardingWindowSystem::ForwardingWindowSystem;

  std::vector<ChildSearch> child_searches() const { return locked(child_searches_); }
  std::vector<Posted> posted() const { return locked(posted_); }
  std::vector<Capture> captures() const { return locked(captures_); }
  std::vector<std::pair<im::WindowHandle, std::string>> texts_set() const { return locked(texts_set_); }
  // Run after every post: a test passes the simulated client's wait_idle, so that the client has answered
  // before the caller goes on, whatever the machine's load.
  void set_after_post(std::function<void()> hook) { after_post_ = std::move(hook); }
  int enumerations() const { return enumerations_; }
  int process_listings() const { return process_listings_; }
  void clear() {
    std::lock_guard lock(lock_);
    child_searches_.clear();
    posted_.clear();
    captures_.clear();
    texts_set_.clear();
  }

  std::vector<im::WindowHandle> enum_windows() override {
    ++enumerations_;
    return inner_.enum_windows();
  }
  std::vector<im::ProcessEntry> processes() override {
    ++process_listings_;
    return inner_.processes();
  }
  im::WindowHandle find_window_ex(im::WindowHandle parent, im::WindowHandle after, std::string_view c) override {
    const im::WindowHandle result = inner_.find_window_ex(parent, after, c);
    std::lock_guard lock(lock_);
    child_searches_.push_back({parent, after, std::string(c), result});
    return result;
  }
  bool post_message(im::WindowHandle w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) override {
    {
      std::lock_guard lock(lock_);
      posted_.push_back({w, m, wp, lp});
    }
    const bool posted = inner_.post_message(w, m, wp, lp);
    if (after_post_) after_post_();
    return posted;
  }
  bool send_set_text(im::WindowHandle w, std::string_view text) override {
    {
      std::lock_guard lock(lock_);
      texts_set_.emplace_back(w, std::string(text));
    }
    return inner_.send_set_text(w, text);
  }
  im::ScreenPixels capture_screen(int x, int y, int width, int height) override {
    {
      std::lock_guard lock(lock_);
      captures_.push_back({x, y, width, height});
    }
    return inner_.capture_screen(x, y, width, height);
  }

 private:
  template <typename T>
  T locked(const T& value) const {
    std::lock_guard lock(lock_);
    return value;
  }

  std::function<void()> after_post_;
  std::atomic<int> enumerations_{0};
  std::atomic<int> process_listings_{0};
  mutable std::mutex lock_;
  std::vector<ChildSearch> child_searches_;
  std::vector<Posted> posted_;
  std::vector<Capture> captures_;
  std::vector<std::pair<im::WindowHandle, std::string>> texts_set_;
};

}  // namespace varnel::testing
