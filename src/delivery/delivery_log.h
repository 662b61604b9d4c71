#pragma once
// The operation-log lines of the delivery engine. A resend pass writes "重发送卡密--" where a delivery from
// the queue writes "发送卡密--".

#include <string>

#include "delivery/delivery_engine.h"

namespace varnel::delivery::log_line {

inline constexpr const char* kNotLoggedIn = "开始自动发货--请登陆淘宝!";
inline constexpr const char* kImNotInitialised = "开始自动发货--请初始化旺旺!";

std::string detected(const std::string& order_number);
std::string blacklisted(const std::string& buyer_nick);
std::string delivered(PassMode mode, const std::string& order_number);
std::string no_stock(PassMode mode, const std::string& item_name);
std::string verification_required(PassMode mode, const std::string& buyer_nick);
std::string message_unsent(PassMode mode, const std::string& order_number, const std::string& buyer_nick);
std::string not_recorded(PassMode mode, const std::string& order_number);
std::string unsent_and_not_recorded(PassMode mode, const std::string& order_number, const std::string& buyer_nick);
std::string im_closed(PassMode mode);

}  // namespace varnel::delivery::log_line
