// Whole deliveries with the real pieces: detection over loopback, the chat in the simulated client, the
// consignment on the simulated marketplace and the sale in the encrypted database.

#include "delivery_fixture.h"

namespace varnel::testing {
namespace {

using delivery::TimerId;
using sandbox::OrderState;
using Rows = std::vector<OrderRow>;
using Lines = std::vector<std::string>;

constexpr const char* kGame = "王者荣耀点卡100元";
constexpr const char* kCard = "网易一卡通50元";

TEST_F(DeliveryTest, PaidOrdersAreDetectedDeliveredAndRecorded) {
  add_keys(kGame, "wz", 2);
  add_keys(kCard, "wy", 1);
  shop.add_paid_order("1001", kGame, "买家小王");
  shop.add_paid_order("1002", kCard, "tom_li");
  shop.add_order({"1003", kGame, "老顾客", OrderState::shipped});
  shop.add_paid_order("1004", kGame, "买家小王");
  enable();

  engine->detection_pass();
  // The page lists the newest order first; "序列" is the block's position, the shipped order's included.
  EXPECT_EQ(engine->queue().rows(), (Rows{{"1", "1004", kGame, "买家小王", "", ""},
                                          {"3", "1002", kCard, "tom_li", "", ""},
                                          {"4", "1001", kGame, "买家小王", "", ""}}));
  EXPECT_EQ(timers.due(TimerId::detection), 60000);
  // Orders already waiting, the head included, are not queued twice.
  const Rows queued = engine->queue().rows();
  engine->detection_pass();
  EXPECT_EQ(engine->queue().rows(), queued);
  EXPECT_EQ(log().size(), 3u);

  for (int i = 0; i < 3; ++i) engine->delivery_pass(PassMode::queue);
  EXPECT_EQ(engine->queue().size(), 0u);
  EXPECT_EQ(engine->retry_list().size(), 0u);
  EXPECT_EQ(timers.due(TimerId::delivery), 5000);
  EXPECT_FALSE(timers.armed(TimerId::resend));

  EXPECT_EQ(client.transcript(), (Lines{transcript_line("买家小王", "wz1"), transcript_line("tom_li", "wy1"),
                                        transcript_line("买家小王", "wz2")}));
  EXPECT_EQ(shop.shipped(), (Lines{"1004", "1002", "1001"}));
  for (const char* account : {"wz1", "wz2", "wy1"}) EXPECT_EQ(used_flag(account), "是") << account;
  const long long game = add_item(kGame), card = add_item(kCard);
  EXPECT_EQ(sales(), (std::vector<Sale>{
                         {"买家小王", "1004", "等待买家收货", game, "2024-03-05", "13时5分9秒", key_id("wz1")},
                         {"tom_li", "1002", "等待买家收货", card, "2024-03-05", "13时5分9秒", key_id("wy1")},
                         {"买家小王", "1001", "等待买家收货", game, "2024-03-05", "13时5分9秒", key_id("wz2")},
                     }));
  EXPECT_EQ(log(), (Lines{"自动检测--订单:1004  买家已付款,等待发货...", "自动检测--订单:1002  买家已付款,等待发货...",
                          "自动检测--订单:1001  买家已付款,等待发货...", "发送卡密--1004--成功", "发送卡密--1002--成功",
                          "发送卡密--1001--成功"}));

  // Shipped orders are no longer paid: the next detection finds nothing.
  clear_log();
  engine->detection_pass();
  EXPECT_EQ(engine->queue().size(), 0u);
  EXPECT_TRUE(log().empty());
}

TEST_F(DeliveryTest, OutOfStockGoesToTheRetryListAndTheResendDeliversOnceStockIsAdded) {
  add_keys(kGame, "wz", 1);
  shop.add_paid_order("2001", kGame, "买家甲");
  shop.add_paid_order("2002", kGame, "买家乙");
  shop.add_paid_order("2003", "改过标题的宝贝", "买家丙");  // matches no item name exactly
  enable();
  engine->detection_pass();
  ASSERT_EQ(numbers(engine->queue()), (Lines{"2003", "2002", "2001"}));
  clear_log();

  for (int i = 0; i < 3; ++i) engine->delivery_pass(PassMode::queue);
  EXPECT_EQ(engine->retry_list().rows(), (Rows{{"0", "2003", "改过标题的宝贝", "买家丙", "卡密不足", "1"},
                                               {"1", "2001", kGame, "买家甲", "卡密不足", "1"}}));
  EXPECT_EQ(log(), (Lines{"发送卡密--改过标题的宝贝:卡密库存不足!", "发送卡密--2002--成功",
                          "发送卡密--王者荣耀点卡100元:卡密库存不足!"}));
  EXPECT_EQ(timers.due(TimerId::resend), 120000);
  EXPECT_EQ(shop.shipped(), (Lines{"2002"}));

  // Orders waiting for a resend are not queued again.
  engine->detection_pass();
  EXPECT_EQ(engine->queue().size(), 0u);

  // Still no stock: the head moves to the end with its count raised and "序列" the rows left before it.
  clear_log();
  timers.clear_arms();
  engine->delivery_pass(PassMode::resend);
  EXPECT_EQ(engine->retry_list().rows(), (Rows{{"1", "2001", kGame, "买家甲", "卡密不足", "1"},
                                               {"1", "2003", "改过标题的宝贝", "买家丙", "卡密不足", "2"}}));
  EXPECT_EQ(log(), (Lines{"重发送卡密--改过标题的宝贝:卡密库存不足!"}));
  EXPECT_EQ(timers.arms(),
            (std::vector<std::pair<TimerId, int>>{{TimerId::resend, 120000}, {TimerId::delivery, 5000}}));

  add_keys(kGame, "new", 1);
  clear_log();
  engine->delivery_pass(PassMode::resend);
  EXPECT_EQ(log(), (Lines{"重发送卡密--2001--成功"}));
  EXPECT_EQ(engine->retry_list().rows(), (Rows{{"1", "2003", "改过标题的宝贝", "买家丙", "卡密不足", "2"}}));
  EXPECT_EQ(client.transcript().back(), transcript_line("买家甲", "new1"));
  EXPECT_EQ(used_flag("new1"), "是");
  EXPECT_EQ(shop.shipped(), (Lines{"2002", "2001"}));
  EXPECT_EQ(sales().back().order, "2001");
  // A row is left: the resend timer runs on for it.
  EXPECT_EQ(timers.due(TimerId::resend), 120000);
}

TEST_F(DeliveryTest, ABuyerWhoRequiresVerificationIsRetriedWithItsCountRising) {
  add_keys(kGame, "wz", 3);
  shop.add_paid_order("3001", kGame, "verify-张三");
  enable();
  engine->detection_pass();
  clear_log();

  engine->delivery_pass(PassMode::queue);
  EXPECT_EQ(engine->retry_list().rows(), (Rows{{"0", "3001", kGame, "verify-张三", "对方有验证", "1"}}));
  for (const char* count : {"2", "3", "4"}) {
    engine->delivery_pass(PassMode::resend);
    EXPECT_EQ(engine->retry_list().rows(), (Rows{{"0", "3001", kGame, "verify-张三", "对方有验证", count}}));
  }
  EXPECT_EQ(log(),
            (Lines{"发送卡密--verify-张三 设置了验证,发送失败!", "重发送卡密--verify-张三 设置了验证,发送失败!",
                   "重发送卡密--verify-张三 设置了验证,发送失败!", "重发送卡密--verify-张三 设置了验证,发送失败!"}));
  // Nothing typed, nothing shipped, no key used.
  EXPECT_TRUE(client.transcript().empty());
  EXPECT_EQ(consign_posts(), 0u);
  EXPECT_EQ(used_flag("wz1"), "否");
  EXPECT_TRUE(sales().empty());
}

TEST_F(DeliveryTest, TwoFailingOrdersTakeTurnsAtTheHead) {
  add_keys(kGame, "wz", 1);
  shop.add_paid_order("4001", kGame, "verify-甲");
  shop.add_paid_order("4002", kCard, "买家乙");  // no stock
  enable();
  engine->detection_pass();
  engine->delivery_pass(PassMode::queue);
  engine->delivery_pass(PassMode::queue);
  ASSERT_EQ(engine->retry_list().rows(), (Rows{{"0", "4002", kCard, "买家乙", "卡密不足", "1"},
                                               {"1", "4001", kGame, "verify-甲", "对方有验证", "1"}}));
  for (int i = 0; i < 3; ++i) engine->delivery_pass(PassMode::resend);
  EXPECT_EQ(engine->retry_list().rows(), (Rows{{"1", "4001", kGame, "verify-甲", "对方有验证", "2"},
                                               {"1", "4002", kCard, "买家乙", "卡密不足", "3"}}));
}

TEST_F(DeliveryTest, ABlacklistedBuyerIsHeldBackOnceAndSilentlyAfterwards) {
  add_keys(kGame, "wz", 2);
  blacklist("坏买家");
  shop.add_paid_order("5001", kGame, "坏买家");
  enable();
  for (int round = 0; round < 3; ++round) {
    engine->detection_pass();  // still paid, so queued again every time
    ASSERT_EQ(numbers(engine->queue()), (Lines{"5001"}));
    engine->delivery_pass(PassMode::queue);
    EXPECT_EQ(engine->queue().size(), 0u);
  }
  EXPECT_EQ(engine->blacklist_records().rows(), (Rows{{"1", "5001", kGame, "坏买家", "", ""}}));
  EXPECT_EQ(log(),
            (Lines{"自动检测--订单:5001  买家已付款,等待发货...", "自动发货--坏买家--在黑名单中,停止对此人发货!",
                   "自动检测--订单:5001  买家已付款,等待发货...", "自动检测--订单:5001  买家已付款,等待发货..."}));
  EXPECT_EQ(used_flag("wz1"), "否");
  EXPECT_EQ(consign_posts(), 0u);
  EXPECT_TRUE(client.transcript().empty());

  // A buyer blacklisted after the order was filed for a resend still gets it: a resend checks no list.
  shop.add_paid_order("5002", kCard, "后来拉黑");
  engine->detection_pass();
  engine->delivery_pass(PassMode::queue);
  ASSERT_EQ(numbers(engine->retry_list()), (Lines{"5002"}));
  blacklist("后来拉黑");
  add_keys(kCard, "wy", 1);
  engine->delivery_pass(PassMode::resend);
  EXPECT_EQ(engine->retry_list().size(), 0u);
  EXPECT_EQ(client.transcript(), (Lines{transcript_line("后来拉黑", "wy1")}));
}

TEST_F(DeliveryTest, ARefusedConsignmentKeepsTheOrderAtTheHeadWithItsKeyUnused) {
  struct Case {
    const char* name;
    std::function<std::string()> queue_order;  // queues an order that the marketplace will not ship
  };
  const std::vector<Case> cases = {
      {"order closed after detection",
       [&] {
         shop.add_paid_order("6001", kGame, "买家甲");
         engine->detection_pass();
         shop.add_order({"6001", kGame, "买家甲", OrderState::closed});
         return std::string("6001");
       }},
      {"order unknown to the marketplace",
       [&] {
         engine->queue().push_back({"1", "6009", kGame, "买家甲", "", ""});
         return std::string("6009");
       }},
  };
  add_keys(kGame, "wz", 1);
  enable();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string order = c.queue_order();
    clear_log();
    timers.stop_all();
    for (int pass = 0; pass < 2; ++pass) {
      engine->delivery_pass(PassMode::queue);
      EXPECT_EQ(numbers(engine->queue()), (Lines{order}));
    }
    EXPECT_TRUE(log().empty());
    EXPECT_EQ(used_flag("wz1"), "否");
    EXPECT_TRUE(sales().empty());
    EXPECT_TRUE(client.transcript().empty());
    EXPECT_EQ(timers.due(TimerId::delivery), 5000);
    EXPECT_FALSE(timers.armed(TimerId::resend));
    engine->queue().pop_front();
  }
}

TEST_F(DeliveryTest, AnAddressRefusedOnceAndABusyClientStillDeliver) {
  add_keys(kGame, "wz", 2);
  shop.add_order({"7001", kGame, "买家甲", OrderState::paid, true});
  shop.add_paid_order("7002", kGame, "busy-李四");
  enable();
  engine->detection_pass();
  engine->delivery_pass(PassMode::queue);
  engine->delivery_pass(PassMode::queue);
  EXPECT_EQ(client.transcript(), (Lines{transcript_line("busy-李四", "wz1"), transcript_line("买家甲", "wz2")}));
  EXPECT_EQ(shop.shipped(), (Lines{"7002", "7001"}));
  EXPECT_EQ(consign_posts(), 3u);  // the refused form went twice
}

TEST_F(DeliveryTest, QuotesInMarketplaceValuesChangeNoStatement) {
  const std::string item = "点卡'特价 OR '1'='1";
  add_keys(item, "q", 1);
  add_keys(kGame, "wz", 1);
  blacklist("O'Brien");
  shop.add_paid_order("8001", item, "it's me");
  shop.add_paid_order("8002", kGame, "O'Brien");
  shop.add_paid_order("8003", "' OR 1=1 --", "x");
  enable();
  engine->detection_pass();
  for (int i = 0; i < 3; ++i) engine->delivery_pass(PassMode::queue);
  EXPECT_EQ(engine->blacklist_records().rows(), (Rows{{"1", "8002", kGame, "O'Brien", "", ""}}));
  EXPECT_EQ(numbers(engine->retry_list()), (Lines{"8003"}));
  EXPECT_EQ(client.transcript(), (Lines{transcript_line("it's me", "q1")}));
  ASSERT_EQ(sales().size(), 1u);
  EXPECT_EQ(sales()[0].nick, "it's me");
  EXPECT_EQ(used_flag("wz1"), "否");
}

TEST_F(DeliveryTest, PassesWithTheirFlagClearDoNothingAndArmNothing) {
  add_keys(kGame, "wz", 1);
  shop.add_paid_order("9001", kGame, "买家甲");
  engine->queue().push_back({"1", "9001", kGame, "买家甲", "", ""});
  shop.clear_requests();
  engine->detection_pass();
  engine->delivery_pass(PassMode::queue);
  engine->delivery_pass(PassMode::resend);
  EXPECT_TRUE(shop.requests().empty());
  EXPECT_TRUE(timers.arms().empty());
  EXPECT_EQ(numbers(engine->queue()), (Lines{"9001"}));

  // Delivery on, but the IM client never initialised: the pass does nothing and keeps the cadence.
  enable();
  engine->set_im({});
  engine->delivery_pass(PassMode::queue);
  EXPECT_TRUE(shop.requests().empty());
  EXPECT_EQ(numbers(engine->queue()), (Lines{"9001"}));
  EXPECT_EQ(timers.due(TimerId::delivery), 5000);
}

}  // namespace
}  // namespace varnel::testing
