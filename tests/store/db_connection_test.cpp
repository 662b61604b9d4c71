#include <gtest/gtest.h>

#include <fstream>

#include "store/db_bulk_insert.h"
#include "store/db_recordset.h"
#include "store_fixture.h"

using namespace varnel::store;
using varnel::testing::StoreTest;
using varnel::testing::TempDir;

TEST(DbConnectionOpen, FailsOnMissingFileWrongKeyAndNonDatabase) {
  TempDir dir;
  DbConnection db;
  EXPECT_FALSE(db.open(dir.file("missing.mdb"), kDatabasePassword));
  EXPECT_FALSE(std::filesystem::exists(dir.file("missing.mdb")));  // never created by opening
  EXPECT_FALSE(db.is_open());

  ASSERT_TRUE(db.create(dir.file("a.mdb"), kDatabasePassword));
  ASSERT_TRUE(db.execute("CREATE TABLE t (x)"));
  db.close();
  EXPECT_FALSE(db.open(dir.file("a.mdb"), "wrong"));
  EXPECT_TRUE(db.open(dir.file("a.mdb"), kDatabasePassword));

  std::ofstream(dir.file("text.mdb")) << "this is not a database at all, just some words";
  DbConnection other;
  EXPECT_FALSE(other.open(dir.file("text.mdb"), kDatabasePassword));
}

TEST_F(StoreTest, ReopeningAnOpenConnectionClosesItFirst) {
  ASSERT_TRUE(db_.execute("INSERT INTO 商品名表 (商品名称) VALUES ('a')"));
  EXPECT_TRUE(db_.open(path_, kDatabasePassword));
  DbRecordset rs;
  rs.attach(db_);
  ASSERT_TRUE(rs.open("select * from 商品名表"));
  EXPECT_EQ(rs.record_count(), 1);
}

TEST_F(StoreTest, ExecuteReportsAffectedRows) {
  int affected = 99;
  EXPECT_TRUE(db_.execute("INSERT INTO 商品名表 (商品名称) VALUES (?), (?)", {db_text("a"), db_text("b")}, &affected));
  EXPECT_EQ(affected, 2);
  EXPECT_TRUE(db_.execute("UPDATE 商品名表 SET 商品名称='c' WHERE 商品名称='nothing'", &affected));
  EXPECT_EQ(affected, 0);
  EXPECT_TRUE(db_.execute("DELETE FROM 商品名表 WHERE 商品名称='zzz'", &affected));
  EXPECT_EQ(affected, 0);
  EXPECT_FALSE(db_.execute("DELETE FROM no_such_table", &affected));
  EXPECT_EQ(affected, -1);
  EXPECT_FALSE(db_.execute("INSERT INTO 商品名表 (商品名称) VALUES (?)", {}, &affected));  // unbound value
}

TEST_F(StoreTest, HostileValuesAreDataNotStatements) {
  const char* hostile[] = {"' or '1'='1", "a'; DELETE FROM 用户表; --", "pinto", "select into", "'"};
  ASSERT_TRUE(db_.execute("INSERT INTO 用户表 (用户名, 密码) VALUES ('admin', 'x')"));
  DbRecordset rs;
  rs.attach(db_);
  for (const char* value : hostile) {
    ASSERT_TRUE(rs.open("select 密码 from 用户表 where 用户名=?", {db_text(value)})) << value;
    EXPECT_EQ(rs.record_count(), 0) << value;
    ASSERT_TRUE(db_.execute("INSERT INTO 黑名单表 (黑名单) VALUES (?)", {db_text(value)}));
    ASSERT_TRUE(rs.open("select * from 黑名单表 where 黑名单=?", {db_text(value)}));
    EXPECT_EQ(rs.record_count(), 1) << value;  // a buyer named "pinto" is found as listed
  }
  ASSERT_TRUE(rs.open("select * from 用户表"));
  EXPECT_EQ(rs.record_count(), 1);
}

TEST_F(StoreTest, RollbackOnOneConnectionNeverUndoesACommitOnAnother) {
  DbConnection import_db;
  ASSERT_TRUE(import_db.open(path_, kDatabasePassword));
  ASSERT_TRUE(db_.execute("INSERT INTO 卡密表 (帐号, 密码, 商品名ID, 是否已使用) VALUES ('k1', 'p', 1, '否')"));

  ASSERT_TRUE(import_db.begin_transaction());
  ASSERT_TRUE(import_db.execute("INSERT INTO 卡密表 (帐号, 密码, 商品名ID, 是否已使用) VALUES ('k2', 'p', 1, '否')"));

  // While the import holds its write transaction, a delivery on the other connection waits for it; the
  // import then rolls back, and the delivery's own commit goes through untouched.
  std::thread delivery([&] {
    DbConnection d;
    ASSERT_TRUE(d.open(path_, kDatabasePassword));
    ASSERT_TRUE(d.begin_transaction());
    ASSERT_TRUE(d.execute("UPDATE 卡密表 SET 是否已使用='是' WHERE 帐号='k1'"));
    ASSERT_TRUE(d.commit_transaction());
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  ASSERT_TRUE(import_db.rollback_transaction());
  delivery.join();

  DbRecordset rs;
  rs.attach(db_);
  ASSERT_TRUE(rs.open("select * from 卡密表"));
  EXPECT_EQ(rs.record_count(), 1);
  std::string used;
  ASSERT_TRUE(rs.read_text("是否已使用", used));
  EXPECT_EQ(used, "是");
}

TEST_F(StoreTest, BulkInsertSendsEveryRowAndStopsAtTheFirstFailure) {
  {
    DbBulkInsert insert(db_, "卡密表", {"帐号", "密码", "商品名ID", "是否已使用"}, 4);
    for (int i = 1; i <= 10; ++i)  // two full statements and two rows left for finish()
      ASSERT_TRUE(insert.add({db_text("k" + std::to_string(i)), db_text("' or '1'='1"), db_int(1), db_text("否")}));
    ASSERT_TRUE(insert.finish());
  }
  DbRecordset rs;
  rs.attach(db_);
  ASSERT_TRUE(rs.open("select * from 卡密表 order by ID"));
  EXPECT_EQ(rs.record_count(), 10);
  std::string account, password;
  rs.read_text("帐号", account);
  rs.read_text("密码", password);
  EXPECT_EQ(account, "k1");
  EXPECT_EQ(password, "' or '1'='1");

  DbBulkInsert broken(db_, "卡密表", {"帐号", "no_such_column"});
  EXPECT_FALSE(broken.add({db_text("a"), db_text("b")}));
  DbBulkInsert short_row(db_, "卡密表", {"帐号", "密码"});
  EXPECT_FALSE(short_row.add({db_text("only one value")}));
  EXPECT_FALSE(short_row.add({db_text("a"), db_text("b")}));  // stays failed
  EXPECT_FALSE(short_row.finish());
}
