#include <gtest/gtest.h>

#include "store/db_recordset.h"
#include "store_fixture.h"

using namespace varnel::store;
using varnel::testing::StoreTest;

class RecordsetTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    rs_.attach(db_);
  }
  void insert_keys(int n) {
    ASSERT_TRUE(db_.begin_transaction());
    for (int i = 1; i <= n; ++i)
      ASSERT_TRUE(db_.execute("INSERT INTO 卡密表 (帐号, 密码, 商品名ID, 是否已使用) VALUES (?, 'pw', 1, '否')",
                              {db_text("acc" + std::to_string(i))}));
    ASSERT_TRUE(db_.commit_transaction());
  }
  DbRecordset rs_;
};

TEST_F(RecordsetTest, SelectionIsClassifiedByItsLeadingKeywordOnly) {
  ASSERT_TRUE(db_.execute("INSERT INTO 黑名单表 (黑名单) VALUES ('pinto')"));
  // A value containing "into" is still a selection.
  ASSERT_TRUE(rs_.open("select * from 黑名单表 where 黑名单='pinto'"));
  EXPECT_TRUE(rs_.is_open());
  EXPECT_EQ(rs_.record_count(), 1);
  // Capitals and surrounding half- and full-width spaces.
  ASSERT_TRUE(rs_.open(" \xE3\x80\x80SELECT * FROM 黑名单表\xE3\x80\x80 "));
  EXPECT_EQ(rs_.record_count(), 1);
  // Anything else runs through the connection and leaves the recordset closed.
  ASSERT_TRUE(rs_.open("delete from 黑名单表 where 黑名单='pinto'"));
  EXPECT_FALSE(rs_.is_open());
  EXPECT_EQ(rs_.affected_count(), 1);
  EXPECT_EQ(rs_.record_count(), 0);
}

TEST_F(RecordsetTest, EmptyAndFailedResults) {
  ASSERT_TRUE(rs_.open("select * from 卡密表"));
  EXPECT_EQ(rs_.record_count(), 0);
  EXPECT_TRUE(rs_.at_end());
  EXPECT_EQ(rs_.page_count(), 0);
  EXPECT_EQ(rs_.go_to_page(1), 0);  // no valid page on an empty result

  EXPECT_FALSE(rs_.open("select * from no_such_table"));
  EXPECT_FALSE(rs_.is_open());
  EXPECT_EQ(rs_.record_count(), 0);
  EXPECT_FALSE(rs_.at_end());
  std::string text = "stale";
  EXPECT_FALSE(rs_.read_text("帐号", text));
  EXPECT_EQ(text, "");
}

TEST_F(RecordsetTest, ReadsTextAndTruncatedIntegers) {
  ASSERT_TRUE(db_.execute("CREATE TABLE nums (v, t)"));
  ASSERT_TRUE(db_.execute("INSERT INTO nums VALUES (3.9, 'x'), (-3.9, NULL), ('12.5', '卡密'), ('abc', '')"));
  ASSERT_TRUE(rs_.open("select * from nums"));
  struct Row {
    bool int_ok;
    long long v;
    bool text_ok;
    const char* t;
  } rows[] = {{true, 3, true, "x"}, {true, -3, false, ""}, {true, 12, true, "卡密"}, {false, 0, true, ""}};
  for (const Row& row : rows) {
    ASSERT_FALSE(rs_.at_end());
    long long v = 77;
    std::string t = "stale";
    EXPECT_EQ(rs_.read_int("v", v), row.int_ok);
    EXPECT_EQ(v, row.v);
    EXPECT_EQ(rs_.read_text("t", t), row.text_ok);
    EXPECT_EQ(t, row.t);
    EXPECT_FALSE(rs_.read_text("no_such_column", t));
    EXPECT_TRUE(rs_.move_next());
  }
  EXPECT_TRUE(rs_.at_end());
  EXPECT_FALSE(rs_.move_next());
}

TEST_F(RecordsetTest, PagingClampsAndPageSizeSurvivesReopening) {
  insert_keys(25);
  EXPECT_EQ(rs_.page_size(10), 10);
  rs_.close();
  EXPECT_EQ(rs_.page_size(0), 10);  // refused
  EXPECT_EQ(rs_.page_size(-3), 10);
  ASSERT_TRUE(rs_.open("select * from 卡密表"));
  EXPECT_EQ(rs_.page_size(), 10);
  EXPECT_EQ(rs_.record_count(), 25);
  EXPECT_EQ(rs_.page_count(), 3);
  EXPECT_EQ(rs_.go_to_page(5), 3);  // beyond the last lands on the last
  std::string account;
  ASSERT_TRUE(rs_.read_text("帐号", account));
  EXPECT_EQ(account, "acc21");
  int rows = 0;
  for (; !rs_.at_end(); rs_.move_next()) ++rows;
  EXPECT_EQ(rows, 5);
  EXPECT_EQ(rs_.go_to_page(2), 2);
  ASSERT_TRUE(rs_.read_text("帐号", account));
  EXPECT_EQ(account, "acc11");
  EXPECT_EQ(rs_.go_to_page(0), 2);  // no bound from below: the position stays
  EXPECT_EQ(rs_.go_to_page(), 2);
}

TEST_F(RecordsetTest, AParameterisedSelectionPagesWithItsValues) {
  insert_keys(12);
  ASSERT_TRUE(db_.execute("UPDATE 卡密表 SET 是否已使用='是' WHERE ID <= 2"));
  rs_.page_size(4);
  ASSERT_TRUE(rs_.open("select * from 卡密表 where 是否已使用=? and 商品名ID=?", {db_text("否"), db_int(1)}));
  EXPECT_EQ(rs_.record_count(), 10);
  EXPECT_EQ(rs_.go_to_page(3), 3);
  std::string account;
  ASSERT_TRUE(rs_.read_text("帐号", account));
  EXPECT_EQ(account, "acc11");
}

TEST_F(RecordsetTest, KeyedPagingFollowsChangesAndPageSizes) {
  insert_keys(25);
  const std::string sql = "select * from 卡密表 where 是否已使用=? order by ID";
  auto first_account_of_page = [&](int page) {
    EXPECT_TRUE(rs_.open_paged(sql, {db_text("否")}, "ID"));
    rs_.go_to_page(page);
    std::string account;
    rs_.read_text("帐号", account);
    return account;
  };
  rs_.page_size(10);
  EXPECT_EQ(first_account_of_page(3), "acc21");
  EXPECT_EQ(rs_.page_count(), 3);
  EXPECT_EQ(first_account_of_page(9), "acc21");  // clamped to the last page
  // A change of the data, from this connection or another, is seen by the next listing.
  ASSERT_TRUE(db_.execute("UPDATE 卡密表 SET 是否已使用='是' WHERE ID <= 5"));
  EXPECT_EQ(first_account_of_page(1), "acc6");
  EXPECT_EQ(rs_.record_count(), 20);
  DbConnection other;
  ASSERT_TRUE(other.open(path_, kDatabasePassword));
  ASSERT_TRUE(other.execute("UPDATE 卡密表 SET 是否已使用='是' WHERE ID <= 15"));
  EXPECT_EQ(first_account_of_page(1), "acc16");
  EXPECT_EQ(rs_.page_count(), 1);
  rs_.page_size(4);
  EXPECT_EQ(first_account_of_page(2), "acc20");
  EXPECT_EQ(rs_.page_count(), 3);
  int rows = 0;
  for (; !rs_.at_end(); rs_.move_next()) ++rows;
  EXPECT_EQ(rows, 6);  // the rest of the result from that page on
}
