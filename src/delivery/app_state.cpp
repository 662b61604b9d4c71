#include "delivery/app_state.h"

namespace varnel::delivery {

std::string AppState::message_template() const {
  std::lock_guard lock(text_mutex_);
  return message_template_;
}

std::string AppState::rating_text() const {
  std::lock_guard lock(text_mutex_);
  return rating_text_;
}

void AppState::set_message_template(std::string text) {
  std::lock_guard lock(text_mutex_);
  message_template_ = std::move(text);
}

void AppState::set_rating_text(std::string text) {
  std::lock_guard lock(text_mutex_);
  rating_text_ = std::move(text);
}

}  // namespace varnel::delivery
