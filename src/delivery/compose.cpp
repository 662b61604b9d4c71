#include "delivery/delivery_engine.h"

namespace varnel::delivery {
namespace {

constexpr std::string_view kAccountPlaceholder = "帐号:123456789";
constexpr std::string_view kPasswordPlaceholder = "密码:123456789";

}  // namespace

std::string compose_delivery_message(const std::string& message_template, const std::string& account,
                                     const std::string& password) {
  const std::string account_text = "帐号:" + account;
  const std::string password_text = "密码:" + password;
  if (message_template.find(kAccountPlaceholder) == std::string::npos ||
      message_template.find(kPasswordPlaceholder) == std::string::npos) {
    return message_template + account_text + password_text;
  }
  // "#" is ASCII, so in UTF-8 it never occurs inside another character: splitting bytes is safe.
  std::string message;
  size_t start = 0;
  while (true) {
    const size_t end = message_template.find('#', start);
    const std::string_view piece =
        std::string_view(message_template).substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (piece == kAccountPlaceholder)
      message += account_text;
    else if (piece == kPasswordPlaceholder)
      message += password_text;
    else
      message += piece;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return message;
}

}  // namespace varnel::delivery
