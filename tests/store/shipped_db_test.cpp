#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "store/db_connection.h"
#include "store/db_recordset.h"
#include "store/password_hash.h"
#include "store/schema.h"
#include "temp_dir.h"

using namespace varnel::store;

TEST(ShippedDatabase, HoldsTheFiveTablesAndTheDefaultAccount) {
  DbConnection db;
  ASSERT_TRUE(db.open(VARNEL_SHIPPED_DB, kDatabasePassword));
  DbRecordset rs;
  rs.attach(db);
  for (const char* table : {"用户表", "商品名表", "卡密表", "出售记录表", "黑名单表"}) {
    ASSERT_TRUE(rs.open("select name from sqlite_master where type='table' and name=?", {db_text(table)}));
    EXPECT_EQ(rs.record_count(), 1) << table;
  }
  ASSERT_TRUE(rs.open("select 密码 from 用户表 where 用户名='admin'"));
  ASSERT_EQ(rs.record_count(), 1);
  std::string hash;
  ASSERT_TRUE(rs.read_text("密码", hash));
  EXPECT_NE(hash, kDefaultPassword);  // never stored as typed
  EXPECT_TRUE(password_matches(hash, kDefaultPassword));
}

TEST(PasswordHash, ComparisonIsExact) {
  auto hash = hash_password("Secret 1");
  ASSERT_TRUE(hash);
  EXPECT_TRUE(password_matches(*hash, "Secret 1"));
  for (const char* other : {"secret 1", "Secret 1 ", "Secret1", ""}) EXPECT_FALSE(password_matches(*hash, other));
  EXPECT_NE(*hash_password("Secret 1"), *hash);  // salted
}

// The support path: the sqlcipher shell at its default settings opens the file with the fixed key.
TEST(ShippedDatabase, OpensInTheSqlcipherShell) {
  if (std::system("command -v sqlcipher >/dev/null 2>&1") != 0) GTEST_SKIP() << "sqlcipher shell not installed";
  varnel::testing::TempDir dir;
  ASSERT_TRUE(make_shipped_database(dir.file("data.mdb")));
  std::string cmd = "printf \"PRAGMA key = '" + std::string(kDatabasePassword) +
                    "';\\nselect 用户名 from 用户表;\\n\" | sqlcipher '" + dir.file("data.mdb") + "' 2>&1";
  FILE* p = popen(cmd.c_str(), "r");
  ASSERT_NE(p, nullptr);
  char buf[256] = {};
  std::string out;
  while (fgets(buf, sizeof buf, p)) out += buf;
  pclose(p);
  EXPECT_NE(out.find("admin"), std::string::npos) << out;
}
