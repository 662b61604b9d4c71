// The delivery engine's own work at a large shop's scale: the minute's detection pass over a full page of
// paid orders, the card-key pick and sale record of each delivery, and the message composition.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "delivery/card_key_store.h"
#include "delivery/delivery_engine.h"
#include "market/market_login.h"
#include "sandbox/im/sim_desktop.h"
#include "sandbox/market/market_sandbox.h"
#include "store/db_connection.h"
#include "store/db_statement.h"
#include "store/schema.h"

using namespace varnel;

namespace {

constexpr const char* kItem = "王者荣耀点卡100元";

std::string fresh_database(const char* name) {
  const auto dir = std::filesystem::temp_directory_path() / "varnel-bench";
  std::filesystem::create_directories(dir);
  const std::string path = (dir / name).string();
  for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
  return store::make_shipped_database(path) ? path : std::string();
}

class NoTimers : public delivery::TimersPort {
 public:
  void arm(delivery::TimerId, int) override {}
  void stop_all() override {}
};

void BM_ComposeDeliveryMessage(benchmark::State& state) {
  const std::string templ =
      "亲,感谢您的购买!\r\n您的卡密如下:\r\n#帐号:123456789#\r\n#密码:123456789#\r\n请尽快登录修改密码,祝您游戏愉快!";
  for (auto _ : state) benchmark::DoNotOptimize(delivery::compose_delivery_message(templ, "A1B2C3D4E5", "9f8e7d6c"));
}
BENCHMARK(BM_ComposeDeliveryMessage);

// A pass in steady operation: every paid order on the page is already waiting, so it is fetched, cut and
// checked against the queue and the retry list, and nothing is added.
void BM_DetectionPassOverWaitingOrders(benchmark::State& state) {
  const int orders = static_cast<int>(state.range(0));
  sandbox::MarketSandbox shop;
  Timing timing;
  market::Endpoints endpoints;
  endpoints.login_host = endpoints.trade_host = endpoints.logistics_host = shop.host();
  endpoints.seller_id = shop.seller_id();
  if (!market::market_login(shop.account(), shop.password(), endpoints, timing)) state.SkipWithError("no login");
  for (int i = 0; i < orders; ++i) shop.add_paid_order(std::to_string(7000000 + i), kItem, "买家" + std::to_string(i));
  sandbox::SimDesktop desktop;
  NoTimers timers;
  delivery::AppState app;
  delivery::DeliveryEngine engine(app, desktop, timers, [](const std::string&) {},
                                  {fresh_database("detection.mdb"), endpoints, timing, text::system_clock()});
  app.detection_enabled = true;
  engine.detection_pass();
  if (engine.queue().size() != static_cast<size_t>(orders)) state.SkipWithError("orders not queued");
  for (auto _ : state) engine.detection_pass();
  state.SetItemsProcessed(state.iterations() * orders);
}
BENCHMARK(BM_DetectionPassOverWaitingOrders)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// The database side of one delivery in a stock of 200,000 keys of which more and more are used: the pick of
// the first unused key and the one-transaction record of the sale.
void BM_PickAndRecordSale(benchmark::State& state) {
  const std::string path = fresh_database("pick.mdb");
  {
    store::DbConnection db;
    if (path.empty() || !db.open(path, store::kDatabasePassword) ||
        !db.execute("INSERT INTO 商品名表 (商品名称) VALUES (?)", {store::db_text(kItem)}) || !db.begin_transaction())
      state.SkipWithError("no database");
    store::DbStatement insert(db, "INSERT INTO 卡密表 (帐号, 密码, 商品名ID, 是否已使用) VALUES (?, ?, 1, '否')");
    for (int i = 0; i < 200000; ++i) insert.run({store::db_text("acc" + std::to_string(i)), store::db_text("pw")});
    db.commit_transaction();
    db.execute("UPDATE 卡密表 SET 是否已使用 = '是' WHERE ID <= 100000");
  }
  delivery::CardKeyStore keys(path);
  const text::LocalTime at{2024, 3, 5, 13, 5, 9};
  long long n = 0;
  for (auto _ : state) {
    const auto key = keys.pick(kItem);
    if (!key || !keys.record_sale(*key, std::to_string(++n), "买家", at)) {
      state.SkipWithError("pick or record failed");
      break;
    }
  }
}
BENCHMARK(BM_PickAndRecordSale)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
