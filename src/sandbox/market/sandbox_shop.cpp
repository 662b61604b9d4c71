#include "sandbox/market/sandbox_shop.h"

#include "sandbox/market/form_text.h"
#include "text/encoding.h"

#include <algorithm>

namespace varnel::sandbox {
namespace {

constexpr const char* kSessionCookie = "cookie2";

ShopResponse html(std::string body, int status = 200) {
  ShopResponse r;
  r.status = status;
  r.body = std::move(body);
  return r;
}

// Form values arrive as percent-encoded GB18030; the shop compares UTF-8.
std::string form_text(const std::map<std::string, std::string, std::less<>>& form, std::string_view key) {
  auto it = form.find(key);
  return it == form.end() ? std::string() : text::gb_to_utf8(it->second);
}

}  // namespace

Person receiver_of(const std::string& order_number) {
  static const Person people[] = {
      {"张伟", "浙江省", "杭州市 西湖区", "文三路 478号 华星时代广场 A座1201", "310012", "13805710001"},
      {"王芳", "广东省", "深圳市 南山区", "科技园 高新南一道 9号", "518057", "13902550002"},
      {"李娜", "北京", "北京市 海淀区", "中关村大街 27号 中关村大厦 8层", "100080", "13601100003"},
      {"刘洋", "四川省", "成都市 武侯区", "人民南路四段 12号 6栋 2单元", "610041", "13980000004"},
      {"陈静", "上海", "上海市 浦东新区", "张江路 665号 3号楼", "201203", "13761000005"},
  };
  size_t h = std::hash<std::string>{}(order_number);
  return people[h % std::size(people)];
}

Person seller_address() { return {"赵敏", "江苏省", "南京市 鼓楼区", "中山北路 30号 发货部", "210008", "13851000000"}; }

SandboxShop::SandboxShop(SellerAccount account) : account_(std::move(account)), rng_(std::random_device{}()) {}

std::string SandboxShop::random_hex(size_t digits) {
  static constexpr char hex[] = "0123456789abcdef";
  std::string out;
  while (out.size() < digits) out.push_back(hex[rng_() % 16]);
  return out;
}

std::string SandboxShop::add_order(NewOrder order) {
  std::lock_guard lock(mutex_);
  if (order.number.empty()) {
    do {
      order.number = std::to_string(3190000000000000LL + ++next_number_);
    } while (find_order(order.number));
  }
  ShopOrder* existing = find_order(order.number);
  ShopOrder added{order.number, order.item, order.nick, order.state, order.refuse_address_once, 0};
  if (existing) {
    *existing = added;
  } else {
    orders_.push_back(added);
  }
  return order.number;
}

std::vector<ShopOrder> SandboxShop::orders() const {
  std::lock_guard lock(mutex_);
  return orders_;
}

std::optional<OrderState> SandboxShop::order_state(const std::string& number) const {
  std::lock_guard lock(mutex_);
  for (const ShopOrder& o : orders_) {
    if (o.number == number) return o.state;
  }
  return std::nullopt;
}

std::vector<std::string> SandboxShop::shipped() const {
  std::lock_guard lock(mutex_);
  return shipped_;
}

ShopOrder* SandboxShop::find_order(const std::string& number) {
  for (ShopOrder& o : orders_) {
    if (o.number == number) return &o;
  }
  return nullptr;
}

const SandboxShop::Session* SandboxShop::session_of(const ShopRequest& request) const {
  auto it = sessions_.find(cookie_value(request.cookie, kSessionCookie));
  return it == sessions_.end() ? nullptr : &it->second;
}

ShopResponse SandboxShop::handle(const ShopRequest& request) {
  const std::string& p = request.path;
  const bool post = request.method == "POST";
  if (post && p == "/member/login.jhtml") return login(request);
  if (!post && p == "/member/login_result.htm") return login_result(request);
  if (!post && p == "/member/logout.jhtml") return logout(request);
  if (post && p == "/trade/itemlist/list_sold_items.htm") return sold_items(request);
  if (!post && p == "/user/consign.htm") return consign_page(request);
  if (post && p == "/user/consign.htm") return consign(request);
  return html(pages::not_found(), 404);
}

ShopResponse SandboxShop::login(const ShopRequest& request) {
  const auto form = parse_form(request.body);
  const bool valid = form_text(form, "action") == "Authenticator" &&
                     form_text(form, "TPL_username") == account_.account &&
                     form_text(form, "TPL_password") == account_.password;
  if (!valid) return html(pages::login_failed());
  std::lock_guard lock(mutex_);
  const std::string id = random_hex(32);
  sessions_[id] = Session{random_hex(13)};
  // Like the real site: the cookie comes with a redirect to the page that greets the member.
  ShopResponse r = html({}, 302);
  r.headers.emplace_back("Set-Cookie", std::string(kSessionCookie) + "=" + id + "; Path=/; HttpOnly");
  r.headers.emplace_back("Location", "/member/login_result.htm");
  return r;
}

ShopResponse SandboxShop::login_result(const ShopRequest& request) {
  std::lock_guard lock(mutex_);
  return html(session_of(request) ? pages::login_result(account_.account) : pages::login_form());
}

ShopResponse SandboxShop::logout(const ShopRequest& request) {
  std::lock_guard lock(mutex_);
  sessions_.erase(cookie_value(request.cookie, kSessionCookie));
  return html(pages::logged_out());
}

ShopResponse SandboxShop::sold_items(const ShopRequest& request) {
  const auto form = parse_form(request.body);
  std::lock_guard lock(mutex_);
  if (!session_of(request)) return html(pages::login_form());
  std::vector<ListedOrder> listed;
  if (form_text(form, "sellerNumID") == account_.seller_id && form_text(form, "event_submit_do_query") == "1") {
    for (auto it = orders_.rbegin(); it != orders_.rend(); ++it)
      listed.push_back({it->number, it->item, it->nick, it->state});
  }
  return html(pages::sold_items(account_.account, listed));
}

ShopResponse SandboxShop::consign_page(const ShopRequest& request) {
  const std::string number = text::gb_to_utf8(parse_form(request.query)["trade_id"]);
  std::lock_guard lock(mutex_);
  const Session* session = session_of(request);
  if (!session) return html(pages::login_form());
  const ShopOrder* order = find_order(number);
  if (!order) return html(pages::unknown_order());
  return html(pages::consign_form({order->number, order->item, order->nick, order->state}, session->token,
                                  receiver_of(order->number), seller_address()));
}

ShopResponse SandboxShop::consign(const ShopRequest& request) {
  const std::string number = text::gb_to_utf8(parse_form(request.query)["trade_id"]);
  const auto form = parse_form(request.body);
  std::lock_guard lock(mutex_);
  const Session* session = session_of(request);
  if (!session) return html(pages::login_form());
  if (form_text(form, "_tb_token_") != session->token) return html(pages::consign_error("页面已过期，请刷新后重试。"));
  ShopOrder* order = find_order(number);
  if (!order || form_text(form, "orderId") != number) return html(pages::unknown_order());
  if (form_text(form, "action") != "user/consign_action" || form_text(form, "event_submit_do_dummy") != "1") {
    return html(pages::consign_error("请选择发货方式。"));
  }
  if (order->state != OrderState::paid) return html(pages::consign_error("该订单当前状态不能发货。"));
  ++order->consign_attempts;
  const Person receiver = receiver_of(order->number);
  const bool address_ok =
      form_text(form, "_fmw.r._0.p") == receiver.province && form_text(form, "_fmw.r._0.c") == receiver.name;
  if (!address_ok || (order->refuse_address_once && order->consign_attempts == 1)) {
    return html(pages::consign_refused_address());
  }
  order->state = OrderState::shipped;
  shipped_.push_back(order->number);
  return html(pages::consign_done(order->number));
}

}  // namespace varnel::sandbox
