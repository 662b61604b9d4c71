#include "market/sold_items.h"

#include "market/http_engine.h"
#include "market/url_text.h"
#include "text/encoding.h"
#include "text/gbk_search.h"

#include <algorithm>

namespace varnel::market {
namespace {

constexpr size_t npos = std::string_view::npos;

// The next occurrence of one marker for search positions that never move backwards. The last answer
// stays valid while it lies at or after the new position, so every byte of the page is scanned at most
// once per marker, even when blocks overlap or markers are missing.
class ForwardFinder {
 public:
  ForwardFinder(std::string_view page, std::string marker) : page_(page), marker_(std::move(marker)) {}

  size_t next(size_t from) {
    if (!searched_ || (found_ != npos && found_ < from)) {
      found_ = text::gbk_find(page_, marker_, from);
      searched_ = true;
    }
    return found_;
  }
  size_t size() const { return marker_.size(); }

 private:
  std::string_view page_;
  std::string marker_;
  size_t found_ = npos;
  bool searched_ = false;
};

// ASCII needs no conversion; order numbers and many nicks are ASCII, and this keeps a page of a
// thousand orders well inside its time budget.
std::string decode(std::string_view gb_bytes) {
  if (std::all_of(gb_bytes.begin(), gb_bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    return std::string(gb_bytes);
  }
  return text::gb_to_utf8(gb_bytes);
}

// One field of a block [begin, end): the text between its markers, both inside the block.
class FieldCutter {
 public:
  FieldCutter(std::string_view page, std::string_view left, std::string_view right)
      : page_(page), left_(page, gb(left)), right_(page, gb(right)) {}

  std::string cut(size_t begin, size_t end) {
    size_t at = left_.next(begin);
    if (at == npos || at + left_.size() > end) return {};
    size_t from = at + left_.size();
    size_t stop = right_.next(from);
    if (stop == npos || stop + right_.size() > end) return {};
    return decode(page_.substr(from, stop - from));
  }

 private:
  std::string_view page_;
  ForwardFinder left_;
  ForwardFinder right_;
};

// The first character boundary at or after `pos`.
size_t boundary_from(std::string_view page, size_t pos) {
  size_t at = 0;
  while (at < pos && at < page.size()) at += text::gbk_char_length(page, at);
  return at;
}

}  // namespace

std::string sold_items_query_body(std::string_view seller_id) {
  std::string body =
      "event_submit_do_query=1&isArchive=false&isArchiveDefault=0&user_type=1&pageNum=1&order=desc"
      "&order_type=orderList&isQueryMore=false&select_shop_name=&isOwnOfficialShop=false&sellerNumID=";
  body += seller_id;
  body +=
      "&auctionTitle=&bizOrderTimeBegin=&bizOrderHourBegin=00&bizOrderMinBegin=00&bizOrderTimeEnd="
      "&bizOrderHourEnd=00&bizOrderMinEnd=00&buyerNick=&auctionStatus=PAID&commentStatus=ALL&bizOrderId="
      "&logisticsService=ALL&tradeDissension=ALL&queryTag=0&shopName=All&action=itemlist%2FQueryAction&fromTag=true";
  return body;
}

std::string query_sold_items(const Endpoints& endpoints, const Timing& timing, const std::atomic<bool>* cancel) {
  HttpOptions options;
  options.cancel = cancel;
  options.method = "POST";
  options.body = sold_items_query_body(endpoints.seller_id);
  options.ca_file = endpoints.ca_file;
  std::string reply = http_fetch(
      endpoint_address(endpoints, endpoints.trade_host, "/trade/itemlist/list_sold_items.htm"), options, timing);
  reply.resize(text::until_nul(reply).size());
  return reply;
}

std::vector<SoldOrder> cut_sold_items(std::string_view reply) {
  const std::string_view page = text::until_nul(reply);
  ForwardFinder block_start(page, gb("<!--start 子订单list  start-->"));
  ForwardFinder block_end(page, gb("<!--end 子订单list  end-->"));
  FieldCutter status(page, "<strong class=\"J_TradeStatus status todo h\">", "</strong>");
  FieldCutter number(page, "<tr id=\"item", "\" class=");
  FieldCutter item(page, "查看宝贝详情\" target=\"_blank\">", "</a>");
  FieldCutter nick(page, "J_WangWang\" data-nick=\"", "\" data-display");

  std::vector<SoldOrder> orders;
  // Each search for the next block starts one marker length after the previous find, the first one
  // after the page's first marker length: a block starting within those first bytes is not seen.
  size_t from = boundary_from(page, block_start.size());
  for (int n = 1;; ++n) {
    const size_t at = block_start.next(from);
    if (at == npos) break;
    const size_t begin = at + block_start.size();
    size_t end = block_end.next(begin);
    if (end == npos) end = begin;  // no end marker: an empty block
    SoldOrder order;
    order.position = n;
    order.status = status.cut(begin, end);
    order.order_number = number.cut(begin, end);
    order.item_name = item.cut(begin, end);
    order.buyer_nick = nick.cut(begin, end);
    orders.push_back(std::move(order));
    from = begin;
  }
  return orders;
}

}  // namespace varnel::market
