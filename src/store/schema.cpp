#include "store/schema.h"

#include "store/db_connection.h"
#include "store/password_hash.h"

namespace varnel::store {

bool create_schema(DbConnection& db) {
  static const char* const statements[] = {
      // Account names match the way operators expect: without regard to ASCII case.
      "CREATE TABLE 用户表 (ID INTEGER PRIMARY KEY AUTOINCREMENT, 用户名 TEXT NOT NULL COLLATE NOCASE, 密码 TEXT NOT NULL)",
      "CREATE INDEX 用户表_用户名 ON 用户表 (用户名)",
      "CREATE TABLE 商品名表 (ID INTEGER PRIMARY KEY AUTOINCREMENT, 商品名称 TEXT)",
      // The import looks a name up before inserting it; the index keeps a name from ever standing twice.
      "CREATE UNIQUE INDEX 商品名表_商品名称 ON 商品名表 (商品名称)",
      "CREATE TABLE 卡密表 (ID INTEGER PRIMARY KEY AUTOINCREMENT, 帐号 TEXT, 密码 TEXT, 商品名ID INTEGER, "
      "是否已使用 TEXT)",
      // Also serves the pick of the first unused key: the index carries the rowid in ascending order.
      "CREATE INDEX 卡密表_商品名ID_是否已使用 ON 卡密表 (商品名ID, 是否已使用)",
      // Lists of all items' used or unused keys, in ID order.
      "CREATE INDEX 卡密表_是否已使用 ON 卡密表 (是否已使用)",
      "CREATE TABLE 出售记录表 (ID INTEGER PRIMARY KEY AUTOINCREMENT, 买家旺旺 TEXT, 订单编号 TEXT, 状态 TEXT, "
      "商品名ID INTEGER, 发货日期 TEXT, 发货时间 TEXT, 卡密ID INTEGER)",
      "CREATE INDEX 出售记录表_订单编号 ON 出售记录表 (订单编号)",
      "CREATE INDEX 出售记录表_买家旺旺 ON 出售记录表 (买家旺旺)",
      "CREATE INDEX 出售记录表_发货日期 ON 出售记录表 (发货日期)",
      "CREATE TABLE 黑名单表 (ID INTEGER PRIMARY KEY AUTOINCREMENT, 黑名单 TEXT, 加入日期 TEXT, 加入时间 TEXT)",
      "CREATE INDEX 黑名单表_黑名单 ON 黑名单表 (黑名单)",
  };
  if (!db.begin_transaction()) return false;
  for (const char* sql : statements) {
    if (!db.execute(sql)) {
      db.rollback_transaction();
      return false;
    }
  }
  return db.commit_transaction();
}

bool make_shipped_database(const std::string& path) {
  DbConnection db;
  if (!db.create(path, kDatabasePassword) || !create_schema(db)) return false;
  auto hash = hash_password(kDefaultPassword);
  return hash && db.execute("INSERT INTO 用户表 (用户名, 密码) VALUES (?, ?)", {db_text(kDefaultAccount), db_text(*hash)});
}

}  // namespace varnel::store
