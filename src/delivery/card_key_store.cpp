#include "delivery/card_key_store.h"

#include "store/schema.h"

namespace varnel::delivery {

using store::db_int;
using store::db_text;

bool CardKeyStore::ensure_open() {
  if (db_.is_open()) return true;
  if (!db_.open(path_, store::kDatabasePassword)) return false;
  rs_.attach(db_);
  return true;
}

bool CardKeyStore::is_blacklisted(const std::string& buyer_nick) {
  if (!ensure_open()) return false;
  const bool listed =
      rs_.open("SELECT 黑名单 FROM 黑名单表 WHERE 黑名单 = ? LIMIT 1", {db_text(buyer_nick)}) && !rs_.at_end();
  rs_.close();
  return listed;
}

std::optional<CardKey> CardKeyStore::pick(const std::string& item_name) {
  if (!ensure_open()) return std::nullopt;
  std::optional<CardKey> key;
  if (rs_.open("SELECT 商品名表.ID AS 商品ID, 卡密表.ID AS 卡密ID, 卡密表.帐号 AS 帐号, 卡密表.密码 AS 密码 "
               "FROM 商品名表, 卡密表 WHERE 商品名表.商品名称 = ? AND 卡密表.是否已使用 = '否' "
               "AND 卡密表.商品名ID = 商品名表.ID ORDER BY 卡密表.ID LIMIT 1",
               {db_text(item_name)}) &&
      !rs_.at_end()) {
    CardKey k;
    if (rs_.read_int("商品ID", k.item_id) && rs_.read_int("卡密ID", k.key_id)) {
      // An account or password that is null reads as empty text, as the stock pages show it.
      rs_.read_text("帐号", k.account);
      rs_.read_text("密码", k.password);
      key = std::move(k);
    }
  }
  rs_.close();
  return key;
}

bool CardKeyStore::record_sale(const CardKey& key, const std::string& order_number, const std::string& buyer_nick,
                               const text::LocalTime& at) {
  if (!ensure_open() || !db_.begin_transaction()) return false;
  int marked = -1;
  // Exactly one row still unused: anything else means the key may already belong to someone else.
  const bool ok = db_.execute("UPDATE 卡密表 SET 是否已使用 = '是' WHERE 帐号 = ? AND ID = ? AND 是否已使用 = '否'",
                              {db_text(key.account), db_int(key.key_id)}, &marked) &&
                  marked == 1 &&
                  db_.execute(
                      "INSERT INTO 出售记录表 (买家旺旺, 订单编号, 状态, 商品名ID, 发货日期, 发货时间, 卡密ID) "
                      "VALUES (?, ?, '等待买家收货', ?, ?, ?, ?)",
                      {db_text(buyer_nick), db_text(order_number), db_int(key.item_id), db_text(text::iso_date(at)),
                       db_text(text::time_text(at)), db_int(key.key_id)}) &&
                  db_.commit_transaction();
  if (!ok) db_.rollback_transaction();
  return ok;
}

void CardKeyStore::close() {
  rs_.close();
  db_.close();
}

}  // namespace varnel::delivery
