// Five hundred orders over several items while card keys are imported on another connection and the
// stock is browsed on the window thread's connection: no key goes twice, no order is lost or recorded twice.

#include <map>
#include <set>
#include <thread>

#include "delivery_fixture.h"
#include "store/db_statement.h"

namespace varnel::testing {
namespace {

using delivery::TimerId;

constexpr int kItems = 5;
constexpr int kOrdersPerItem = 100;
constexpr int kFirstStock = 40;  // per item; the imports bring the rest while delivery runs
constexpr int kImportBatches = 12;
constexpr int kKeysPerBatch = 6;  // per item and batch

std::string item_name(int i) { return "点卡" + std::to_string(i) + "号 100元"; }

// What the card-key import does: one transaction per file, the item looked up or added, then its keys.
bool import_keys(store::DbConnection& db, const std::string& item, const std::vector<std::string>& accounts) {
  if (!db.begin_transaction()) return false;
  db.execute("INSERT OR IGNORE INTO 商品名表 (商品名称) VALUES (?)", {store::db_text(item)});
  store::DbRecordset rs;
  rs.attach(db);
  long long id = 0;
  bool ok = rs.open("SELECT ID FROM 商品名表 WHERE 商品名称 = ?", {store::db_text(item)}) && rs.read_int("ID", id);
  rs.close();
  store::DbStatement insert(db, "INSERT INTO 卡密表 (帐号, 密码, 商品名ID, 是否已使用) VALUES (?, ?, ?, '否')");
  for (const std::string& a : accounts) {
    ok = ok && insert.run({store::db_text(a), store::db_text("pw-" + a), store::db_int(id)});
  }
  if (ok) return db.commit_transaction();
  db.rollback_transaction();
  return false;
}

class DeliveryStress : public DeliveryTest {
 protected:
  // Reads every page of the stock list as the browsing page does; every flag it sees is one of the two.
  void browse_stock(store::DbRecordset& page_rs) {
    page_rs.page_size(50);
    ASSERT_TRUE(
        page_rs.open_paged("SELECT 卡密表.ID AS ID, 帐号, 是否已使用 FROM 卡密表 ORDER BY 卡密表.ID", {}, "ID"));
    const int pages = page_rs.page_count();
    for (int p = 1; p <= pages; ++p) {
      page_rs.go_to_page(p);
      for (int row = 0; row < 50 && !page_rs.at_end(); ++row, page_rs.move_next()) {
        std::string flag;
        page_rs.read_text("是否已使用", flag);
        ASSERT_TRUE(flag == "是" || flag == "否") << flag;
      }
    }
    page_rs.close();
  }
};

TEST_F(DeliveryStress, FiveHundredOrdersWithImportsAndBrowsingMeanwhile) {
  timing.resend_period_ms = 5000;  // resends keep up with the queue
  remake_engine();
  for (int i = 1; i <= kItems; ++i) add_keys(item_name(i), "k" + std::to_string(i) + "-", kFirstStock);

  struct Order {
    std::string item, nick;
  };
  std::map<std::string, Order> orders;
  std::vector<std::vector<std::string>> batches(5);
  for (int n = 0; n < kItems * kOrdersPerItem; ++n) {
    const std::string number = std::to_string(880000 + n);
    const std::string nick = (n % 23 == 0 ? "busy-" : "买家") + std::to_string(n % 37);
    orders[number] = {item_name(n % kItems + 1), nick};
    batches[n % batches.size()].push_back(number);
  }

  std::atomic<bool> imports_ok{true};
  std::thread importer([&] {
    store::DbConnection import_db;
    if (!import_db.open(dir.database(), store::kDatabasePassword)) {
      imports_ok = false;
      return;
    }
    for (int b = 0; b < kImportBatches; ++b) {
      for (int i = 1; i <= kItems; ++i) {
        std::vector<std::string> accounts;
        for (int k = 0; k < kKeysPerBatch; ++k)
          accounts.push_back("imp" + std::to_string(i) + "-" + std::to_string(b) + "-" + std::to_string(k));
        if (!import_keys(import_db, item_name(i), accounts)) imports_ok = false;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
  });

  store::DbConnection window_db;
  ASSERT_TRUE(window_db.open(dir.database(), store::kDatabasePassword));
  store::DbRecordset page_rs;
  page_rs.attach(window_db);

  ASSERT_EQ(engine->toggle_delivery(true), delivery::ToggleResult::started);
  engine->wait_for_workers();
  size_t fed = 0;
  int rounds = 0;
  auto finished = [&] {
    return fed == batches.size() && shop.shipped().size() == orders.size() && engine->queue().size() == 0 &&
           engine->retry_list().size() == 0;
  };
  for (; rounds < 6000 && !finished(); ++rounds) {
    // A new batch of paid orders every minute, found by the next detection.
    if (rounds % 12 == 0 && fed < batches.size()) {
      for (const std::string& number : batches[fed])
        shop.add_paid_order(number, orders[number].item, orders[number].nick);
      ++fed;
    }
    // The timers fire on the window thread, which then goes on browsing while the workers run.
    timers.advance(5000, [&](TimerId t) { engine->timer_fired(t); });
    if (rounds % 8 == 0) browse_stock(page_rs);
    engine->wait_for_workers();
  }
  importer.join();
  ASSERT_TRUE(imports_ok);
  ASSERT_TRUE(finished()) << "after " << rounds << " rounds: shipped " << shop.shipped().size() << ", queue "
                          << engine->queue().size() << ", retry " << engine->retry_list().size();

  // Every order shipped once and recorded once, each with a key of its own item that nobody else got.
  const std::vector<std::string> shipped = shop.shipped();
  EXPECT_EQ(std::set<std::string>(shipped.begin(), shipped.end()).size(), orders.size());
  const std::vector<Sale> sold = sales();
  ASSERT_EQ(sold.size(), orders.size());
  std::map<long long, std::string> account_of;
  std::map<long long, long long> item_of_key;
  std::map<std::string, std::string> flag_of;
  ASSERT_TRUE(rs.open("SELECT ID, 帐号, 商品名ID, 是否已使用 FROM 卡密表"));
  for (; !rs.at_end(); rs.move_next()) {
    long long id = 0, item = 0;
    std::string account, flag;
    rs.read_int("ID", id);
    rs.read_int("商品名ID", item);
    rs.read_text("帐号", account);
    rs.read_text("是否已使用", flag);
    account_of[id] = account;
    item_of_key[id] = item;
    flag_of[account] = flag;
  }
  rs.close();
  std::set<std::string> recorded_orders;
  std::set<long long> keys_sold;
  std::multiset<std::string> expected_transcript;
  for (const Sale& s : sold) {
    recorded_orders.insert(s.order);
    keys_sold.insert(s.key_id);
    ASSERT_TRUE(orders.count(s.order)) << s.order;
    EXPECT_EQ(s.nick, orders[s.order].nick);
    EXPECT_EQ(s.item_id, add_item(orders[s.order].item));
    EXPECT_EQ(item_of_key[s.key_id], s.item_id);
    EXPECT_EQ(flag_of[account_of[s.key_id]], "是");
    expected_transcript.insert(transcript_line(s.nick, account_of[s.key_id]));
  }
  EXPECT_EQ(recorded_orders.size(), orders.size());
  EXPECT_EQ(keys_sold.size(), orders.size());
  EXPECT_EQ(std::count_if(flag_of.begin(), flag_of.end(), [](const auto& f) { return f.second == "是"; }),
            static_cast<long>(orders.size()));
  const std::vector<std::string> transcript = client.transcript();
  EXPECT_EQ(std::multiset<std::string>(transcript.begin(), transcript.end()), expected_transcript);

  long successes = 0;
  for (const std::string& line : log()) {
    successes += line.ends_with("--成功");
    EXPECT_EQ(line.find("已暂停"), std::string::npos) << line;
  }
  EXPECT_EQ(successes, static_cast<long>(orders.size()));
  EXPECT_EQ(paused_calls, 0);
}

}  // namespace
}  // namespace varnel::testing
