#pragma once
// Sold-items pages built the way the marketplace writes them, for the cutting tests and the benchmark.

#include "market/url_text.h"

#include <string>

namespace varnel::testing {

// One order block, GB18030.
inline std::string sold_block(const std::string& number, const std::string& status, const std::string& item,
                              const std::string& nick) {
  return market::gb("<!--start 子订单list  start-->\n<tbody><tr id=\"item" + number +
                    "\" class=\"order-hd\"><td><a href=\"//item.example/" + number +
                    "\" title=\"查看宝贝详情\" target=\"_blank\">" + item +
                    "</a></td><td><strong class=\"J_TradeStatus status todo h\">" + status +
                    "</strong></td><td><span class=\"J_WangWang\" data-nick=\"" + nick +
                    "\" data-display=\"inline\"></span></td></tr></tbody>\n<!--end 子订单list  end-->\n");
}

inline std::string sold_page(const std::string& blocks) {
  return market::gb("<html><head><title>已卖出的宝贝</title></head><body><div id=\"list\">\n") + blocks +
         "</div></body></html>";
}

}  // namespace varnel::testing
