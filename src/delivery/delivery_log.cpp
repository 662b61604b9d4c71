#include "delivery/delivery_log.h"

namespace varnel::delivery::log_line {
namespace {

std::string prefix(PassMode mode) { return mode == PassMode::resend ? "重发送卡密--" : "发送卡密--"; }

}  // namespace

std::string detected(const std::string& order_number) {
  return "自动检测--订单:" + order_number + "  买家已付款,等待发货...";
}

std::string blacklisted(const std::string& buyer_nick) {
  return "自动发货--" + buyer_nick + "--在黑名单中,停止对此人发货!";
}

std::string delivered(PassMode mode, const std::string& order_number) { return prefix(mode) + order_number + "--成功"; }

std::string no_stock(PassMode mode, const std::string& item_name) {
  return prefix(mode) + item_name + ":卡密库存不足!";
}

std::string verification_required(PassMode mode, const std::string& buyer_nick) {
  return prefix(mode) + buyer_nick + " 设置了验证,发送失败!";
}

std::string message_unsent(PassMode mode, const std::string& order_number, const std::string& buyer_nick) {
  return prefix(mode) + order_number + "--已发货,但卡密消息未能发送给" + buyer_nick + ",请手工发送!";
}

std::string not_recorded(PassMode mode, const std::string& order_number) {
  return prefix(mode) + order_number + "--卡密已发出,但出售记录未能保存,已暂停自动发货!";
}

std::string unsent_and_not_recorded(PassMode mode, const std::string& order_number, const std::string& buyer_nick) {
  return prefix(mode) + order_number + "--已发货,但卡密消息未能发送给" + buyer_nick +
         ",出售记录也未能保存,已暂停自动发货!";
}

std::string im_closed(PassMode mode) { return prefix(mode) + "旺旺窗口已关闭,请重新初始化旺旺!已暂停自动发货!"; }

}  // namespace varnel::delivery::log_line
