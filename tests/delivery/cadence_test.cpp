// The start and pause button and the timers: every pass arms its own timer when it ends, so the cadence
// follows the passes. The timers run on a manual clock.

#include <algorithm>
#include <future>

#include "delivery_fixture.h"

namespace varnel::testing {
namespace {

using delivery::TimerId;
using delivery::ToggleResult;
using Lines = std::vector<std::string>;
using Fired = std::vector<TimerId>;

constexpr const char* kGame = "王者荣耀点卡100元";

class CadenceTest : public DeliveryTest {
 protected:
  ToggleResult toggle(bool logged_in = true) {
    const ToggleResult result = engine->toggle_delivery(logged_in);
    engine->wait_for_workers();
    return result;
  }
  size_t sold_items_queries() {
    size_t n = 0;
    for (const auto& r : shop.requests()) n += r.target == "/trade/itemlist/list_sold_items.htm";
    return n;
  }
  void expect_nothing_armed() {
    for (TimerId t : {TimerId::detection, TimerId::delivery, TimerId::resend}) EXPECT_FALSE(timers.armed(t));
  }
  static long count(const Fired& fired, TimerId t) { return std::count(fired.begin(), fired.end(), t); }
};

TEST_F(CadenceTest, AnEmptyQueueIsPolledEveryFiveSecondsUntilPaused) {
  shop.clear_requests();
  ASSERT_EQ(toggle(), ToggleResult::started);
  EXPECT_TRUE(state.running);
  // Both first passes ran at once and armed their own timers.
  EXPECT_EQ(sold_items_queries(), 1u);
  EXPECT_EQ(timers.due(TimerId::detection), 60000);
  EXPECT_EQ(timers.due(TimerId::delivery), 5000);
  EXPECT_FALSE(timers.armed(TimerId::resend));

  const Fired fired = advance(60000);
  EXPECT_EQ(count(fired, TimerId::delivery), 12);
  EXPECT_EQ(count(fired, TimerId::detection), 1);
  EXPECT_EQ(count(fired, TimerId::resend), 0);
  EXPECT_EQ(sold_items_queries(), 2u);
  EXPECT_EQ(timers.due(TimerId::delivery), 5000);
  EXPECT_EQ(timers.due(TimerId::detection), 60000);

  ASSERT_EQ(toggle(), ToggleResult::paused);
  EXPECT_FALSE(state.running);
  EXPECT_FALSE(state.detection_enabled);
  EXPECT_FALSE(state.delivery_enabled);
  expect_nothing_armed();
  EXPECT_TRUE(advance(600000).empty());
  EXPECT_EQ(sold_items_queries(), 2u);
  EXPECT_TRUE(log().empty());  // neither start nor pause is logged
}

TEST_F(CadenceTest, StartNeedsTheMarketplaceLoginAndTheImClient) {
  struct Case {
    const char* name;
    bool logged_in;
    im::ImWindows im;
    ToggleResult result;
    const char* line;
  };
  const im::ImWindows found = im_windows;
  im::ImWindows no_input = found, no_toolbar = found, no_point = found;
  no_input.chat_input = 0;
  no_toolbar.toolbar = 0;
  no_point.send_to_user_point = {-1, -1};
  const std::vector<Case> cases = {
      {"logged out", false, found, ToggleResult::not_logged_in, "开始自动发货--请登陆淘宝!"},
      {"logged out and no IM", false, {}, ToggleResult::not_logged_in, "开始自动发货--请登陆淘宝!"},
      {"no chat input", true, no_input, ToggleResult::im_not_initialised, "开始自动发货--请初始化旺旺!"},
      {"no toolbar", true, no_toolbar, ToggleResult::im_not_initialised, "开始自动发货--请初始化旺旺!"},
  };
  shop.clear_requests();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clear_log();
    engine->set_im(c.im);
    EXPECT_EQ(toggle(c.logged_in), c.result);
    EXPECT_EQ(log(), (Lines{c.line}));
    EXPECT_FALSE(state.running);
    EXPECT_FALSE(state.delivery_enabled);
  }
  EXPECT_TRUE(shop.requests().empty());
  EXPECT_TRUE(timers.arms().empty());

  // The button's point is not checked; and a pause needs the same conditions as a start.
  engine->set_im(no_point);
  ASSERT_EQ(toggle(), ToggleResult::started);
  clear_log();
  EXPECT_EQ(toggle(false), ToggleResult::not_logged_in);
  EXPECT_EQ(log(), (Lines{"开始自动发货--请登陆淘宝!"}));
  EXPECT_TRUE(state.running);
  EXPECT_TRUE(state.delivery_enabled);
  EXPECT_EQ(toggle(), ToggleResult::paused);
}

TEST_F(CadenceTest, WorkersStartedByAQuickStartAndPauseDoNothing) {
  add_keys(kGame, "wz", 1);
  shop.add_paid_order("1001", kGame, "买家甲");
  engine->queue().push_back({"1", "1001", kGame, "买家甲", "", ""});
  shop.clear_requests();
  {
    // Both workers wait for the lock until the pause is through.
    std::lock_guard busy(state.delivery_lock);
    ASSERT_EQ(engine->toggle_delivery(true), ToggleResult::started);
    ASSERT_EQ(engine->toggle_delivery(true), ToggleResult::paused);
  }
  engine->wait_for_workers();
  EXPECT_TRUE(shop.requests().empty());
  EXPECT_EQ(numbers(engine->queue()), (Lines{"1001"}));
  EXPECT_TRUE(timers.arms().empty());
  EXPECT_TRUE(log().empty());
}

TEST_F(CadenceTest, PauseDuringAPassCompletesItsDeliveryAndArmsNothing) {
  add_keys(kGame, "wz", 2);
  shop.add_paid_order("1001", kGame, "买家甲");
  engine->queue().push_back({"1", "1001", kGame, "买家甲", "", ""});
  std::promise<void> in_pass, paused;
  auto paused_future = paused.get_future().share();
  const im::WindowHandle toolbar = im_windows.toolbar;
  auto once = std::make_shared<std::atomic<bool>>(false);
  set_extra_hook([&, toolbar, once, paused_future](const WsCall& c) {
    if (c.kind == WsCall::post && c.window == toolbar && !once->exchange(true)) {
      in_pass.set_value();
      paused_future.wait();
    }
  });
  engine->toggle_delivery(true);
  in_pass.get_future().wait();
  EXPECT_EQ(engine->toggle_delivery(true), ToggleResult::paused);
  paused.set_value();
  engine->wait_for_workers();

  EXPECT_EQ(log(), (Lines{"发送卡密--1001--成功"}));
  EXPECT_EQ(shop.shipped(), (Lines{"1001"}));
  EXPECT_EQ(used_flag("wz1"), "是");
  expect_nothing_armed();

  // The next start begins with an immediate detection pass and an immediate delivery pass.
  shop.clear_requests();
  timers.clear_arms();
  ASSERT_EQ(toggle(), ToggleResult::started);
  EXPECT_EQ(sold_items_queries(), 1u);
  EXPECT_EQ(timers.due(TimerId::detection), 60000);
  EXPECT_EQ(timers.due(TimerId::delivery), 5000);
}

TEST_F(CadenceTest, AResendFollowsTwoMinutesAfterTheLatestFailure) {
  add_keys(kGame, "wz", 1);
  engine->queue().push_back({"1", "A", "无货宝贝", "买家甲", "", ""});
  engine->queue().push_back({"2", "B", kGame, "verify-乙", "", ""});
  ASSERT_EQ(toggle(), ToggleResult::started);  // A fails at 0 s
  EXPECT_EQ(timers.due(TimerId::resend), 120000);
  advance(5000);  // B fails at 5 s: the resend counts from here
  EXPECT_EQ(numbers(engine->retry_list()), (Lines{"A", "B"}));
  EXPECT_EQ(timers.due(TimerId::resend), 120000);

  EXPECT_EQ(count(advance(119999), TimerId::resend), 0);
  EXPECT_EQ(advance(1), (Fired{TimerId::delivery, TimerId::resend}));
  EXPECT_EQ(engine->retry_list().rows().back().attempts, "2");
  EXPECT_EQ(timers.due(TimerId::resend), 120000);
  EXPECT_EQ(timers.due(TimerId::delivery), 5000);  // a resend keeps the five-second cadence too

  // Once the last row is delivered, nothing arms the resend any more.
  while (engine->retry_list().pop_front()) {
  }
  shop.add_paid_order("C", kGame, "买家丙");
  engine->retry_list().push_back({"0", "C", kGame, "买家丙", "卡密不足", "1"});
  EXPECT_EQ(count(advance(120000), TimerId::resend), 1);
  EXPECT_EQ(engine->retry_list().size(), 0u);
  EXPECT_EQ(log().back(), "重发送卡密--C--成功");
  EXPECT_FALSE(timers.armed(TimerId::resend));
  EXPECT_TRUE(advance(5000) == (Fired{TimerId::delivery}));
}

}  // namespace
}  // namespace varnel::testing
