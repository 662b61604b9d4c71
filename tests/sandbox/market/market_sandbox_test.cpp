#include "sandbox/market/market_sandbox.h"

#include "market/consignment.h"
#include "market/endpoints.h"
#include "market/http_engine.h"
#include "market/market_login.h"
#include "market/sold_items.h"
#include "market/url_text.h"
#include "temp_dir.h"
#include "text/encoding.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>

namespace varnel::sandbox {
namespace {

using market::SoldOrder;

struct Sandbox : ::testing::Test {
  Sandbox() {
    timing.http_timeout_ms = 2000;
    endpoints.login_host = endpoints.trade_host = endpoints.logistics_host = shop.host();
    endpoints.seller_id = shop.seller_id();
  }
  bool login() { return market::market_login(shop.account(), shop.password(), endpoints, timing); }
  std::vector<SoldOrder> paid() {
    std::vector<SoldOrder> out;
    for (SoldOrder& o : market::cut_sold_items(market::query_sold_items(endpoints, timing))) {
      if (o.status == market::kPaidStatus) out.push_back(std::move(o));
    }
    return out;
  }
  std::string consign_page(const std::string& number) {
    return market::http_fetch(market::consign_page_address(number, endpoints), {}, timing);
  }
  bool ship(const std::string& number) {
    return market::consign_dummy(number, consign_page(number), endpoints, timing);
  }
  size_t posts_to(const std::string& path) {
    size_t n = 0;
    for (const RecordedRequest& r : shop.requests()) n += r.method == "POST" && r.target.starts_with(path);
    return n;
  }

  MarketSandbox shop;
  market::Endpoints endpoints;
  Timing timing;
};

TEST_F(Sandbox, LoginNeedsTheRightPassword) {
  ASSERT_TRUE(shop.running());
  EXPECT_FALSE(market::market_login(shop.account(), shop.password() + "x", endpoints, timing));
  EXPECT_FALSE(market::market_login(shop.account() + " ", shop.password(), endpoints, timing));
  EXPECT_TRUE(login());
  const RecordedRequest r = shop.requests().back();
  EXPECT_EQ(r.method, "GET");  // the login's redirect, followed with the new cookie
  EXPECT_EQ(r.target, "/member/login_result.htm");
  EXPECT_NE(r.header("Cookie").find("cookie2="), std::string::npos);
}

TEST_F(Sandbox, SoldItemsNeedTheSessionAndListEveryState) {
  shop.add_paid_order("1001", "游戏点卡 50元", "买家甲");
  shop.add_order({"1002", "会员月卡", "buyer_b", OrderState::shipped});
  shop.add_order({"1003", "会员月卡", "buyer_c", OrderState::closed});
  shop.add_paid_order("1004", "会员月卡", "buyer_d");
  EXPECT_TRUE(market::cut_sold_items(market::query_sold_items(endpoints, timing)).empty());  // not logged in

  ASSERT_TRUE(login());
  const std::vector<SoldOrder> expected = {
      {1, "买家已付款", "1004", "会员月卡", "buyer_d"},
      {2, "交易关闭", "1003", "会员月卡", "buyer_c"},
      {3, "卖家已发货", "1002", "会员月卡", "buyer_b"},
      {4, "买家已付款", "1001", "游戏点卡 50元", "买家甲"},
  };
  EXPECT_EQ(market::cut_sold_items(market::query_sold_items(endpoints, timing)), expected);
  const RecordedRequest query = shop.requests().back();
  EXPECT_EQ(query.body, market::sold_items_query_body(shop.seller_id()));
  EXPECT_EQ(query.header("User-Agent"), market::kUserAgent);

  // Another seller's ID finds nothing.
  endpoints.seller_id = "11111111";
  EXPECT_TRUE(market::cut_sold_items(market::query_sold_items(endpoints, timing)).empty());
}

TEST_F(Sandbox, ConsignmentShipsThePaidOrder) {
  shop.add_paid_order("2001", "点卡", "n1");
  ASSERT_TRUE(login());
  const std::string page = consign_page("2001");
  EXPECT_EQ(market::cut_consign_fields(page).order_id, "2001");
  EXPECT_EQ(market::cut_consign_fields(page).sender_country_id, "1");
  EXPECT_EQ(text::gb_to_utf8(market::cut_consign_fields(page).receiver_name), receiver_of("2001").name);
  EXPECT_TRUE(market::consign_dummy("2001", page, endpoints, timing));
  EXPECT_EQ(shop.order_state("2001"), OrderState::shipped);
  EXPECT_EQ(shop.shipped(), std::vector<std::string>{"2001"});
  EXPECT_TRUE(paid().empty());
  // A second consignment of the shipped order is not confirmed.
  EXPECT_FALSE(ship("2001"));
  EXPECT_EQ(shop.shipped().size(), 1u);
}

TEST_F(Sandbox, AddressRefusedOnceThenShipped) {
  shop.add_order({"3001", "点卡", "n1", OrderState::paid, true});
  ASSERT_TRUE(login());
  EXPECT_TRUE(ship("3001"));
  EXPECT_EQ(posts_to("/user/consign.htm"), 2u);
  EXPECT_EQ(shop.order_state("3001"), OrderState::shipped);
}

TEST_F(Sandbox, ConsignmentIsCheckedLikeARealSite) {
  shop.add_paid_order("4001", "点卡", "n1");
  ASSERT_TRUE(login());
  // Unknown order: the page says so and nothing is posted.
  const std::string unknown = consign_page("4999");
  EXPECT_TRUE(market::consign_page_unknown_order(unknown));
  EXPECT_FALSE(market::consign_dummy("4999", unknown, endpoints, timing));
  EXPECT_EQ(posts_to("/user/consign.htm"), 0u);
  // A page without fields (it could not be fetched) posts an empty form, which is refused.
  EXPECT_FALSE(market::consign_dummy("4001", "", endpoints, timing));
  // A token from another session is refused.
  const std::string page = consign_page("4001");
  ASSERT_TRUE(login());
  EXPECT_FALSE(market::consign_dummy("4001", page, endpoints, timing));
  EXPECT_EQ(shop.order_state("4001"), OrderState::paid);
  // The page of another order does not ship this one.
  shop.add_paid_order("4002", "点卡", "n2");
  EXPECT_FALSE(market::consign_dummy("4001", consign_page("4002"), endpoints, timing));
  EXPECT_TRUE(shop.shipped().empty());
}

TEST_F(Sandbox, LogoutEndsTheSession) {
  shop.add_paid_order("5001", "点卡", "n1");
  ASSERT_TRUE(login());
  EXPECT_EQ(paid().size(), 1u);
  market::market_logout(endpoints, timing);
  EXPECT_TRUE(paid().empty());
  EXPECT_EQ(shop.requests().at(shop.requests().size() - 2).target, "/member/logout.jhtml?f=top");
}

TEST_F(Sandbox, OrdersAddedWhileWorkersQuery) {
  ASSERT_TRUE(login());
  std::vector<std::thread> threads;
  for (int t = 0; t < 3; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 20; ++i) shop.add_paid_order("", "点卡" + std::to_string(t), "nick" + std::to_string(i));
    });
  }
  threads.emplace_back([&] {
    for (int i = 0; i < 5; ++i) paid();
  });
  for (auto& th : threads) th.join();
  const auto orders = paid();
  EXPECT_EQ(orders.size(), 60u);
  // Generated numbers are unique.
  std::set<std::string> numbers;
  for (const SoldOrder& o : orders) numbers.insert(o.order_number);
  EXPECT_EQ(numbers.size(), 60u);
  // Item names with markup characters come escaped, as a web page writes them.
  shop.add_paid_order("6001", "A&B <卡>", "n");
  EXPECT_EQ(paid().front().item_name, "A&amp;B &lt;卡&gt;");
}

TEST_F(Sandbox, EndpointsFilePointsTheProgramHere) {
  testing::TempDir dir;
  ASSERT_TRUE(write_sandbox_endpoints(dir.path(), shop));
  std::vector<std::string> log;
  const market::Endpoints loaded =
      market::load_endpoints(market::endpoints_file(dir.path()), [&](const std::string& l) { log.push_back(l); });
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(loaded, endpoints);
}

}  // namespace
}  // namespace varnel::sandbox
