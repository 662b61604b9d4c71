#include "sandbox/demo/demo_shop.h"

#include <fstream>

#include "sandbox/market/market_sandbox.h"
#include "store/db_connection.h"
#include "store/db_statement.h"
#include "store/schema.h"
#include "text/date_text.h"
#include "text/encoding.h"

namespace varnel::sandbox {
namespace {

struct DemoItem {
  const char* name;
  const char* account_prefix;
  int keys;
};

constexpr DemoItem kItems[] = {
    {"网易云音乐黑胶VIP月卡", "music", 12},
    {"爱奇艺黄金会员周卡", "iqiyi", 12},
    {kDemoLowStockItem, "xunlei", 2},
};

const char* const kTemplate =
    "亲，感谢您的购买！您的卡密如下：\r\n#帐号:123456789#\r\n#密码:123456789#\r\n如有问题请随时联系我们，祝您使用愉快！";

bool seed_database(const std::string& path, std::string& error) {
  if (!store::make_shipped_database(path)) {
    error = "cannot make " + path;
    return false;
  }
  store::DbConnection db;
  if (!db.open(path, store::kDatabasePassword) || !db.begin_transaction()) {
    error = "cannot open " + path;
    return false;
  }
  bool ok = true;
  for (const DemoItem& item : kItems) {
    ok = ok && db.execute("INSERT INTO 商品名表 (商品名称) VALUES (?)", {store::db_text(item.name)});
    const long long item_id = db.last_insert_id();
    store::DbStatement insert(db, "INSERT INTO 卡密表 (帐号, 密码, 商品名ID, 是否已使用) VALUES (?, ?, ?, '否')");
    for (int k = 1; ok && k <= item.keys; ++k)
      ok = insert.run({store::db_text(std::string(item.account_prefix) + "-demo-" + std::to_string(1000 + k)),
                       store::db_text("pw" + std::to_string(4000 + 37 * k)), store::db_int(item_id)});
  }
  const text::LocalTime now = text::local_now();
  ok = ok && db.execute("INSERT INTO 黑名单表 (黑名单, 加入日期, 加入时间) VALUES (?, ?, ?)",
                        {store::db_text(kDemoBlacklistedBuyer), store::db_text(text::date_text(now)),
                         store::db_text(text::time_text(now))});
  if (!ok || !db.commit_transaction()) {
    db.rollback_transaction();
    error = "cannot seed " + path + ": " + db.last_error();
    return false;
  }
  return true;
}

}  // namespace

bool seed_demo_run_dir(const std::filesystem::path& run_dir, std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(run_dir / "data", ec);
  const std::filesystem::path db = run_dir / "data" / "data.mdb";
  if (std::filesystem::exists(db)) return true;
  if (!seed_database(db.string(), error)) {
    std::filesystem::remove(db, ec);
    return false;
  }
  std::ofstream(run_dir / "data" / "wx.dat", std::ios::binary) << text::utf8_to_gb(kTemplate);
  return true;
}

std::vector<DemoOrder> demo_waiting_orders() {
  // Every path of a delivery shows within the first minute: deliveries, a refused address, a buyer who
  // needs verification, the blacklisted buyer, and the little-stocked item running out.
  return {
      {kItems[0].name, "小王同学"},
      {kItems[1].name, "快乐的猫咪", true},
      {kItems[1].name, "verify-李先生"},
      {kDemoLowStockItem, "星星点灯"},
      {kItems[0].name, kDemoBlacklistedBuyer},
      {kDemoLowStockItem, "夜猫子"},
      {kDemoLowStockItem, "晚到的顾客"},
      {kItems[0].name, "busy-张小姐"},
  };
}

DemoOrder demo_order(int n) {
  static const DemoOrder buyers[] = {
      {kItems[0].name, "阳光少年2024"},
      {kItems[1].name, "清风徐来"},
      {kItems[1].name, "verify-王女士"},
      {kItems[0].name, "开心果"},
      {kDemoLowStockItem, "迟来的夜猫子"},
      {kItems[0].name, kDemoBlacklistedBuyer},
      {kItems[1].name, "busy-赵先生"},
  };
  return buyers[n % (sizeof buyers / sizeof buyers[0])];
}

std::string place_demo_order(MarketSandbox& market, const DemoOrder& order) {
  NewOrder o;
  o.item = order.item;
  o.nick = order.nick;
  o.refuse_address_once = order.refuse_address_once;
  return market.add_order(std::move(o));
}

}  // namespace varnel::sandbox
