#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "sandbox/demo/demo_shop.h"
#include "store/db_connection.h"
#include "store/db_recordset.h"
#include "store/schema.h"
#include "temp_dir.h"
#include "text/encoding.h"

using namespace varnel;

TEST(DemoShop, SeedsARunDirectoryOnceAndLeavesItAfterwards) {
  varnel::testing::TempDir dir;
  std::string error;
  ASSERT_TRUE(sandbox::seed_demo_run_dir(dir.path(), error)) << error;
  store::DbConnection db;
  ASSERT_TRUE(db.open(dir.file("data/data.mdb"), store::kDatabasePassword));
  store::DbRecordset rs;
  rs.attach(db);
  ASSERT_TRUE(rs.open("select * from 卡密表 where 是否已使用='否'"));
  const int keys = rs.record_count();
  EXPECT_GT(keys, 10);
  ASSERT_TRUE(rs.open("select * from 黑名单表 where 黑名单=?", {store::db_text(sandbox::kDemoBlacklistedBuyer)}));
  EXPECT_EQ(rs.record_count(), 1);
  // Every item the demo buyers order is stocked, so every path of a delivery shows.
  for (int n = 0; n < 7; ++n) {
    ASSERT_TRUE(rs.open("select * from 商品名表 where 商品名称=?", {store::db_text(sandbox::demo_order(n).item)}));
    EXPECT_EQ(rs.record_count(), 1) << sandbox::demo_order(n).item;
  }
  std::ifstream in(dir.file("data/wx.dat"), std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  const std::string message_template = text::gb_to_utf8(bytes.str());
  EXPECT_NE(message_template.find("#帐号:123456789#"), std::string::npos);
  EXPECT_NE(message_template.find("#密码:123456789#"), std::string::npos);

  ASSERT_TRUE(db.execute("UPDATE 卡密表 SET 是否已使用='是'"));
  ASSERT_TRUE(sandbox::seed_demo_run_dir(dir.path(), error));  // a second start keeps the data
  ASSERT_TRUE(rs.open("select * from 卡密表 where 是否已使用='否'"));
  EXPECT_EQ(rs.record_count(), 0);
}
