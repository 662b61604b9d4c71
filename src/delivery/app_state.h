#pragma once
// The one process-wide record shared by the window thread and the delivery passes.

#include <atomic>
#include <mutex>
#include <string>

namespace varnel::delivery {

class AppState {
 public:
  // Set once by the operator login, before any worker exists.
  std::string operator_account;

  std::atomic<bool> running{false};            // delivery is switched on; mirrors the start button
  std::atomic<bool> detection_enabled{false};  // a finished detection pass re-arms its timer
  std::atomic<bool> delivery_enabled{false};   // delivery and resend passes work and re-arm
  std::mutex delivery_lock;                    // held by every pass for its whole work

  // The templates are saved on the window thread while a pass may be composing a message.
  std::string message_template() const;
  std::string rating_text() const;
  void set_message_template(std::string text);
  void set_rating_text(std::string text);

 private:
  mutable std::mutex text_mutex_;
  std::string message_template_;
  std::string rating_text_;
};

}  // namespace varnel::delivery
