#pragma once
// The engine with the real pieces around it: a run directory with the shipped encrypted database, the
// simulated marketplace over loopback (logged in), the simulated IM client with one chat window found by
// initialisation, the timers on a manual clock, and the log caught in memory.

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "delivery/delivery_engine.h"
#include "hooked_window_system.h"
#include "im/initialise_im.h"
#include "im/pump_delay.h"
#include "manual_clock.h"
#include "manual_timers.h"
#include "market/market_login.h"
#include "run_dir.h"
#include "sandbox/im/sim_im_client.h"
#include "sandbox/market/market_sandbox.h"
#include "store/db_connection.h"
#include "store/db_recordset.h"
#include "store/schema.h"

namespace varnel::delivery {
inline void PrintTo(const OrderRow& r, std::ostream* os) {
  *os << "{" << r.sequence << ", " << r.order_number << ", " << r.item_name << ", " << r.buyer_nick << ", " << r.status
      << ", " << r.attempts << "}";
}
}  // namespace varnel::delivery

namespace varnel::testing {

using delivery::DeliveryEngine;
using delivery::OrderList;
using delivery::OrderRow;
using delivery::PassMode;

inline constexpr const char* kTemplate = "感谢购买#帐号:123456789##密码:123456789#祝您愉快";

struct Sale {
  std::string nick, order, status;
  long long item_id = 0;
  std::string date, time;
  long long key_id = 0;
  friend bool operator==(const Sale&, const Sale&) = default;
};

class DeliveryTest : public ::testing::Test {
 protected:
  DeliveryTest() {
    im::resume_delays();
    timing.chat_open_wait_ms = 0;  // the hook waits until the client has answered each post instead
    timing.http_timeout_ms = 5000;
    endpoints.login_host = endpoints.trade_host = endpoints.logistics_host = shop.host();
    endpoints.seller_id = shop.seller_id();
    state.set_message_template(kTemplate);
    ws.set_hook([this](const WsCall& call) {
      if (call.kind == WsCall::post) client.wait_idle();
      std::function<void(const WsCall&)> extra;
      {
        std::lock_guard lock(mutex_);
        extra = extra_hook_;
      }
      if (extra) extra(call);
    });
  }

  void SetUp() override {
    ASSERT_TRUE(shop.running());
    ASSERT_TRUE(market::market_login(shop.account(), shop.password(), endpoints, timing));
    chat = client.open_chat_window({{300, 120}, {100, 5}, ""});
    ASSERT_EQ(im::initialise_im(desktop, im_windows, "seller", {}), im::ImInitOutcome::succeeded);
    ASSERT_TRUE(db.open(dir.database(), store::kDatabasePassword));
    rs.attach(db);
    make_engine();
  }

  void TearDown() override {
    if (engine) engine->shutdown();
    engine.reset();
    im::resume_delays();
  }

  void make_engine() {
    engine = std::make_unique<DeliveryEngine>(
        state, ws, timers,
        [this](const std::string& line) {
          std::lock_guard lock(mutex_);
          log_.push_back(line);
        },
        delivery::EngineConfig{dir.database(), endpoints, timing, clock.clock()});
    engine->set_im(im_windows);
    engine->set_on_paused([this] { ++paused_calls; });
  }

  // A new engine with the current timing (the old one exits first).
  void remake_engine() {
    engine.reset();
    im::resume_delays();
    make_engine();
  }

  // Called after the simulated client has answered each call of the engine, on the engine's thread.
  void set_extra_hook(std::function<void(const WsCall&)> hook) {
    std::lock_guard lock(mutex_);
    extra_hook_ = std::move(hook);
  }

  // The flags as a start sets them, without starting workers: the test runs the passes itself.
  void enable() {
    state.running = true;
    state.detection_enabled = true;
    state.delivery_enabled = true;
  }
  void fire(delivery::TimerId timer) {
    engine->timer_fired(timer);
    engine->wait_for_workers();
  }
  std::vector<delivery::TimerId> advance(long long ms) {
    return timers.advance(ms, [this](delivery::TimerId t) { fire(t); });
  }

  long long add_item(const std::string& item) {
    db.execute("INSERT OR IGNORE INTO 商品名表 (商品名称) VALUES (?)", {store::db_text(item)});
    long long id = 0;
    if (rs.open("SELECT ID FROM 商品名表 WHERE 商品名称 = ?", {store::db_text(item)}) && !rs.at_end())
      rs.read_int("ID", id);
    rs.close();
    return id;
  }
  // Card keys "<prefix>1" .. "<prefix>n" with passwords "pw-<prefix>1" ...
  void add_keys(const std::string& item, const std::string& prefix, int n) {
    const long long id = add_item(item);
    for (int i = 1; i <= n; ++i) {
      const std::string account = prefix + std::to_string(i);
      ASSERT_TRUE(db.execute("INSERT INTO 卡密表 (帐号, 密码, 商品名ID, 是否已使用) VALUES (?, ?, ?, '否')",
                             {store::db_text(account), store::db_text("pw-" + account), store::db_int(id)}));
    }
  }
  std::string used_flag(const std::string& account) {
    std::string flag;
    if (rs.open("SELECT 是否已使用 FROM 卡密表 WHERE 帐号 = ?", {store::db_text(account)}) && !rs.at_end())
      rs.read_text("是否已使用", flag);
    rs.close();
    return flag;
  }
  long long key_id(const std::string& account) {
    long long id = 0;
    if (rs.open("SELECT ID FROM 卡密表 WHERE 帐号 = ?", {store::db_text(account)}) && !rs.at_end())
      rs.read_int("ID", id);
    rs.close();
    return id;
  }
  std::vector<Sale> sales() {
    std::vector<Sale> out;
    if (!rs.open("SELECT * FROM 出售记录表 ORDER BY ID")) return out;
    for (; !rs.at_end(); rs.move_next()) {
      Sale s;
      rs.read_text("买家旺旺", s.nick);
      rs.read_text("订单编号", s.order);
      rs.read_text("状态", s.status);
      rs.read_int("商品名ID", s.item_id);
      rs.read_text("发货日期", s.date);
      rs.read_text("发货时间", s.time);
      rs.read_int("卡密ID", s.key_id);
      out.push_back(s);
    }
    rs.close();
    return out;
  }
  void blacklist(const std::string& nick) {
    ASSERT_TRUE(db.execute("INSERT INTO 黑名单表 (黑名单, 加入日期, 加入时间) VALUES (?, '2024-03-01', '9时0分0秒')",
                           {store::db_text(nick)}));
  }

  std::vector<std::string> log() {
    std::lock_guard lock(mutex_);
    return log_;
  }
  void clear_log() {
    std::lock_guard lock(mutex_);
    log_.clear();
  }
  static std::vector<std::string> numbers(const OrderList& list) {
    std::vector<std::string> out;
    for (const OrderRow& row : list.rows()) out.push_back(row.order_number);
    return out;
  }
  static std::string message_for(const std::string& account) {
    return "感谢购买帐号:" + account + "密码:pw-" + account + "祝您愉快";
  }
  static std::string transcript_line(const std::string& nick, const std::string& account) {
    return nick + "\t" + message_for(account);
  }
  size_t consign_posts() {
    size_t n = 0;
    for (const auto& r : shop.requests()) n += r.method == "POST" && r.target.starts_with("/user/consign.htm");
    return n;
  }

  RunDir dir;
  sandbox::MarketSandbox shop;
  sandbox::SimDesktop desktop;
  sandbox::SimImClient client{desktop, dir.path()};
  HookedWindowSystem ws{desktop};
  sandbox::ChatWindowHandles chat;
  im::ImWindows im_windows;
  market::Endpoints endpoints;
  Timing timing;
  ManualClock clock;
  ManualTimers timers;
  delivery::AppState state;
  store::DbConnection db;
  store::DbRecordset rs;
  std::unique_ptr<DeliveryEngine> engine;
  std::atomic<int> paused_calls{0};

 private:
  std::mutex mutex_;
  std::vector<std::string> log_;
  std::function<void(const WsCall&)> extra_hook_;
};

}  // namespace varnel::testing
