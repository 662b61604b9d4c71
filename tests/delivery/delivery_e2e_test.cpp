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

}  // namespace
}  // namespace varnel::testing
