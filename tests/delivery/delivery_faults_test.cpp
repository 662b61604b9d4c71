// What the engine does when a delivery goes wrong half-way: the sale cannot be recorded, the IM client went
// away before or after the consignment, or the program exits in the middle of a pass.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <thread>

#include "delivery_fixture.h"
#include "im/window_messages.h"

namespace varnel::testing {
namespace {

using delivery::TimerId;
using sandbox::OrderState;
using Lines = std::vector<std::string>;

constexpr const char* kGame = "王者荣耀点卡100元";

class FaultTest : public DeliveryTest {
 protected:
  // Order 1001 of 买家小王 waiting at the head of the queue (or of the retry list), two keys in stock.
  void queue_order(PassMode mode) {
    add_keys(kGame, "wz", 2);
    shop.add_paid_order("1001", kGame, "买家小王");
    enable();
    if (mode == PassMode::queue)
      engine->detection_pass();
    else
      engine->retry_list().push_back({"0", "1001", kGame, "买家小王", "卡密不足", "1"});
    clear_log();
    timers.clear_arms();
  }
  OrderList& list_of(PassMode mode) { return mode == PassMode::queue ? engine->queue() : engine->retry_list(); }
  static std::string prefix(PassMode mode) { return mode == PassMode::queue ? "发送卡密--" : "重发送卡密--"; }

  void expect_paused() {
    EXPECT_FALSE(state.running);
    EXPECT_FALSE(state.detection_enabled);
    EXPECT_FALSE(state.delivery_enabled);
    EXPECT_EQ(paused_calls, 1);
    EXPECT_GE(timers.stops(), 1);
    for (TimerId t : {TimerId::detection, TimerId::delivery, TimerId::resend}) EXPECT_FALSE(timers.armed(t));
  }
  bool consign_requested() {
    for (const auto& r : shop.requests()) {
      if (r.target.starts_with("/user/consign.htm")) return true;
    }
    return false;
  }
  // Runs `action` on the first call that matches, after the client has answered it.
  void once_at(std::function<bool(const WsCall&)> when, std::function<void()> action) {
    auto done = std::make_shared<std::atomic<bool>>(false);
    set_extra_hook([=](const WsCall& call) {
      if (!*done && when(call)) {
        *done = true;
        action();
      }
    });
  }
  std::function<bool(const WsCall&)> message_put_into_input() {
    const im::WindowHandle input = im_windows.chat_input;
    return [input](const WsCall& c) { return c.kind == WsCall::set_text && c.window == input; };
  }
  void close_chat() { client.close_chat_window(chat.chat); }
};

class RecordingFails : public FaultTest, public ::testing::WithParamInterface<PassMode> {};

// The key went out with the message, so it must never go again: the order is not counted as delivered,
// it leaves its list, and delivery pauses for the operator.
TEST_P(RecordingFails, TheOrderIsNotCountedAndDeliveryPauses) {
  struct Cause {
    const char* name;
    const char* sql;          // run on another connection while the message is being sent
    const char* key_flag;     // wz1 afterwards
    const char* sales_table;  // where the sales would be
  };
  const Cause causes[] = {
      {"key marked used meanwhile", "UPDATE 卡密表 SET 是否已使用 = '是' WHERE 帐号 = 'wz1'", "是", "出售记录表"},
      {"sales table gone", "ALTER TABLE 出售记录表 RENAME TO 旧出售记录表", "否", "旧出售记录表"},
  };
  const PassMode mode = GetParam();
  queue_order(mode);
  for (const Cause& cause : causes) {
    SCOPED_TRACE(cause.name);
    if (&cause != &causes[0]) {
      // Back to a running engine with order 1001 waiting again.
      remake_engine();
      db.execute("UPDATE 卡密表 SET 是否已使用 = '否'");
      db.execute("DELETE FROM 出售记录表");
      shop.add_paid_order("1001", kGame, "买家小王");
      paused_calls = 0;
      enable();
      list_of(mode).push_back({"0", "1001", kGame, "买家小王", "卡密不足", "1"});
      clear_log();
    }
    once_at(message_put_into_input(), [&] { ASSERT_TRUE(db.execute(cause.sql)) << db.last_error(); });
    engine->delivery_pass(mode);

    EXPECT_EQ(log(), (Lines{prefix(mode) + "1001--卡密已发出,但出售记录未能保存,已暂停自动发货!"}));
    EXPECT_EQ(list_of(mode).size(), 0u);
    expect_paused();
    EXPECT_EQ(used_flag("wz1"), cause.key_flag);
    EXPECT_EQ(used_flag("wz2"), "否");
    long long sold = -1;
    ASSERT_TRUE(rs.open(std::string("SELECT count(*) AS n FROM ") + cause.sales_table));
    rs.read_int("n", sold);
    rs.close();
    EXPECT_EQ(sold, 0);
    EXPECT_EQ(shop.order_state("1001"), OrderState::shipped);
    EXPECT_EQ(client.transcript().back(), transcript_line("买家小王", "wz1"));
    set_extra_hook({});
  }
}

std::string mode_name(const ::testing::TestParamInfo<PassMode>& info) {
  return info.param == PassMode::queue ? "FromTheQueue" : "Resend";
}

INSTANTIATE_TEST_SUITE_P(BothModes, RecordingFails, ::testing::Values(PassMode::queue, PassMode::resend), mode_name);

class ImClosedBeforeConsigning : public FaultTest, public ::testing::WithParamInterface<PassMode> {};

TEST_P(ImClosedBeforeConsigning, NothingIsShippedTheOrderStaysAndDeliveryPauses) {
  const PassMode mode = GetParam();
  queue_order(mode);
  const std::vector<OrderRow> rows = list_of(mode).rows();
  // The operator closes the client while the chat is being opened: right after the nick went in (the only
  // Return that is not for the send pane).
  const im::WindowHandle pane = im_windows.send_pane;
  once_at([pane](const WsCall& c) { return c.kind == WsCall::post && c.message == im::kWmKeyDown && c.window != pane; },
          [this] { close_chat(); });
  engine->delivery_pass(mode);

  EXPECT_EQ(log(), (Lines{prefix(mode) + "旺旺窗口已关闭,请重新初始化旺旺!已暂停自动发货!"}));
  EXPECT_EQ(list_of(mode).rows(), rows);
  expect_paused();
  EXPECT_FALSE(consign_requested());
  EXPECT_EQ(shop.order_state("1001"), OrderState::paid);
  EXPECT_EQ(used_flag("wz1"), "否");
  EXPECT_TRUE(sales().empty());
  EXPECT_TRUE(client.transcript().empty());
}

INSTANTIATE_TEST_SUITE_P(BothModes, ImClosedBeforeConsigning, ::testing::Values(PassMode::queue, PassMode::resend),
                         mode_name);

// After the consignment the key is the buyer's: it is recorded as sold, and the operator is told to send it.
TEST_F(FaultTest, AMessageThatCannotBePostedAfterTheConsignmentIsStillASale) {
  struct Case {
    const char* name;
    bool (*when)(const WsCall&, const im::ImWindows&);  // the chat window closes right after this call
  };
  const Case cases[] = {
      // The check before consigning was the last look at the send pane.
      {"closed before the send",
       [](const WsCall& c, const im::ImWindows& w) { return c.kind == WsCall::is_window && c.window == w.send_pane; }},
      {"closed while the text is put in",
       [](const WsCall& c, const im::ImWindows& w) { return c.kind == WsCall::set_text && c.window == w.chat_input; }},
  };
  queue_order(PassMode::queue);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (&c != &cases[0]) {
      chat = client.open_chat_window({{300, 120}, {100, 5}, ""});
      ASSERT_EQ(im::initialise_im(desktop, im_windows, "seller", {}), im::ImInitOutcome::succeeded);
      engine->set_im(im_windows);
      shop.add_paid_order("1002", kGame, "买家小王");
      engine->queue().push_back({"1", "1002", kGame, "买家小王", "", ""});
      clear_log();
      timers.clear_arms();
    }
    const std::string order = engine->queue().front()->order_number;
    const std::string account = &c == &cases[0] ? "wz1" : "wz2";
    const im::ImWindows windows = im_windows;
    once_at([&c, windows](const WsCall& call) { return c.when(call, windows); }, [this] { close_chat(); });
    engine->delivery_pass(PassMode::queue);

    EXPECT_EQ(log(), (Lines{"发送卡密--" + order + "--已发货,但卡密消息未能发送给买家小王,请手工发送!"}));
    EXPECT_EQ(engine->queue().size(), 0u);
    EXPECT_EQ(shop.order_state(order), OrderState::shipped);
    EXPECT_EQ(used_flag(account), "是");
    ASSERT_FALSE(sales().empty());
    EXPECT_EQ(sales().back().order, order);
    EXPECT_EQ(sales().back().key_id, key_id(account));
    EXPECT_TRUE(client.transcript().empty());
    // Nothing stops: the next order may go to a chat window that the operator opens again.
    EXPECT_TRUE(state.running);
    EXPECT_EQ(paused_calls, 0);
    EXPECT_EQ(timers.due(TimerId::delivery), 5000);
    set_extra_hook({});
  }
}

TEST_F(FaultTest, ExitDuringTheChatAbandonsTheOrderBeforeConsigning) {
  timing.chat_open_wait_ms = 600000;
  remake_engine();
  queue_order(PassMode::queue);
  std::promise<void> clicked;
  const im::WindowHandle toolbar = im_windows.toolbar;
  once_at([toolbar](const WsCall& c) { return c.kind == WsCall::post && c.window == toolbar; },
          [&] { clicked.set_value(); });
  engine->timer_fired(TimerId::delivery);
  ASSERT_EQ(clicked.get_future().wait_for(std::chrono::seconds(30)), std::future_status::ready);

  const auto start = std::chrono::steady_clock::now();
  engine->shutdown();
  // The pass was in a ten-minute wait; a generous bound shows that exit did not sit it out.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));

  EXPECT_EQ(numbers(engine->queue()), (Lines{"1001"}));
  EXPECT_FALSE(consign_requested());
  EXPECT_EQ(shop.order_state("1001"), OrderState::paid);
  EXPECT_EQ(used_flag("wz1"), "否");
  EXPECT_TRUE(sales().empty());
  EXPECT_TRUE(client.transcript().empty());
  EXPECT_TRUE(log().empty());
  for (TimerId t : {TimerId::detection, TimerId::delivery, TimerId::resend}) EXPECT_FALSE(timers.armed(t));

  // No worker starts after exit.
  shop.clear_requests();
  engine->timer_fired(TimerId::detection);
  engine->timer_fired(TimerId::delivery);
  engine->wait_for_workers();
  EXPECT_TRUE(shop.requests().empty());
}

TEST_F(FaultTest, ExitAfterTheConsignmentLetsThePassSendAndRecord) {
  queue_order(PassMode::queue);
  std::promise<void> consigned;
  once_at(message_put_into_input(), [&] {
    consigned.set_value();
    // Hold the pass here until the exit has begun.
    for (int i = 0; i < 1000 && !im::delays_interrupted(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  });
  engine->timer_fired(TimerId::delivery);
  ASSERT_EQ(consigned.get_future().wait_for(std::chrono::seconds(30)), std::future_status::ready);
  engine->shutdown();

  EXPECT_EQ(log(), (Lines{"发送卡密--1001--成功"}));
  EXPECT_EQ(client.transcript(), (Lines{transcript_line("买家小王", "wz1")}));
  EXPECT_EQ(used_flag("wz1"), "是");
  ASSERT_EQ(sales().size(), 1u);
  EXPECT_EQ(sales()[0].order, "1001");
  EXPECT_EQ(shop.order_state("1001"), OrderState::shipped);
  EXPECT_EQ(engine->queue().size(), 0u);
  EXPECT_FALSE(timers.armed(TimerId::delivery));
}

TEST_F(FaultTest, ExitDuringAStalledDetectionQueryDoesNotSitOutItsTimeOut) {
  // A marketplace that takes the connection and never answers.
  const int silent = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(silent, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ASSERT_EQ(listen(silent, 4), 0);
  socklen_t len = sizeof addr;
  getsockname(silent, reinterpret_cast<sockaddr*>(&addr), &len);
  endpoints.trade_host = "127.0.0.1:" + std::to_string(ntohs(addr.sin_port));
  timing.http_timeout_ms = 600000;
  remake_engine();
  enable();
  engine->timer_fired(TimerId::detection);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));

  const auto start = std::chrono::steady_clock::now();
  engine->shutdown();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
  EXPECT_EQ(engine->queue().size(), 0u);
  EXPECT_FALSE(timers.armed(TimerId::detection));
  close(silent);
}

}  // namespace
}  // namespace varnel::testing
