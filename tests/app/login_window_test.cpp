#include <filesystem>

#include "app_fixture.h"
#include "store/db_connection.h"
#include "store/password_hash.h"
#include "store/schema.h"

using namespace varnel;
using varnel::testing::ProgramTest;

TEST_F(ProgramTest, RefusedLoginsKeepTheWindowAndALaterLoginWorks) {
  start_program();
  struct Case {
    const char* account;
    const char* password;
    const char* box;
  } cases[] = {
      {"", "888", "帐号不能为空！"},
      {"admin", "", "密码不能为空！"},
      {"nobody", "888", "找不到该用户!"},
      {"admin", "8888", "密码错误！"},
      {"' or '1'='1", "888", "找不到该用户!"},
      {"admin' --", "888", "找不到该用户!"},
      {"into", "888", "找不到该用户!"},
      {"\"admin\"", "888", "找不到该用户!"},
  };
  for (const Case& c : cases) {
    log_in(c.account, c.password);
    EXPECT_EQ(boxes_.take(), std::vector<std::string>{c.box}) << c.account << " / " << c.password;
    EXPECT_TRUE(program_->login_window()->isVisible());
    EXPECT_EQ(program_->main_window(), nullptr);
  }
  log_in("admin", "888");
  EXPECT_TRUE(boxes_.take().empty());
  ASSERT_NE(program_->main_window(), nullptr);
  EXPECT_TRUE(program_->main_window()->isVisible());
  EXPECT_FALSE(program_->login_window()->isVisible());
  EXPECT_NE(program_->context().log.text().find("admin   登陆成功！"), std::string::npos);
}

TEST_F(ProgramTest, PasswordIsComparedExactlyAndTheAccountKeptAsTyped) {
  {
    store::DbConnection db;
    ASSERT_TRUE(db.open(run_dir_.database(), store::kDatabasePassword));
    ASSERT_TRUE(db.execute("INSERT INTO 用户表 (用户名, 密码) VALUES ('Clerk', ?)",
                           {store::db_text(*store::hash_password("Abc 1"))}));
  }
  start_program();
  for (const char* wrong : {"abc 1", "Abc1", "Abc 1 "}) {
    log_in("Clerk", wrong);
    EXPECT_EQ(boxes_.take(), std::vector<std::string>{"密码错误！"}) << wrong;
  }
  log_in("CLERK", "Abc 1");
  ASSERT_NE(program_->main_window(), nullptr);
  EXPECT_EQ(program_->context().state.operator_account, "CLERK");
}

TEST_F(ProgramTest, EnterInThePasswordBoxLogsInOnlyWithAPassword) {
  start_program();
  QWidget* login = program_->login_window();
  auto* account = find<QLineEdit>(login, "启_帐号编辑框");
  auto* password = find<QLineEdit>(login, "启_密码编辑框");
  EXPECT_EQ(password->echoMode(), QLineEdit::Password);
  QTest::keyClick(password, Qt::Key_Return);
  EXPECT_TRUE(boxes_.take().empty());
  QTest::keyClicks(password, "888");
  QTest::keyClick(password, Qt::Key_Return);
  EXPECT_EQ(boxes_.take(), std::vector<std::string>{"帐号不能为空！"});
  QTest::keyClicks(account, "admin");
  QTest::keyClick(password, Qt::Key_Return);
  EXPECT_NE(program_->main_window(), nullptr);
}

TEST_F(ProgramTest, CancelClosesTheLoginWindowWithoutOpeningTheMainWindow) {
  start_program();
  QTest::mouseClick(find<QPushButton>(program_->login_window(), "启_取消按钮"), Qt::LeftButton);
  EXPECT_FALSE(program_->login_window()->isVisible());
  EXPECT_EQ(program_->main_window(), nullptr);
  EXPECT_FALSE(std::filesystem::exists(run_dir_.file("操作日志")));
}

TEST_F(ProgramTest, AMissingDatabaseIsReportedAndLoginsThenDoNothing) {
  std::filesystem::remove(run_dir_.database());
  start_program();
  EXPECT_EQ(boxes_.take(), std::vector<std::string>{"数据库打开出错！"});
  EXPECT_TRUE(program_->login_window()->isVisible());
  log_in("", "888");
  EXPECT_EQ(boxes_.take(), std::vector<std::string>{"帐号不能为空！"});
  log_in("admin", "888");
  EXPECT_TRUE(boxes_.take().empty());
  EXPECT_EQ(program_->main_window(), nullptr);
  EXPECT_FALSE(std::filesystem::exists(run_dir_.database()));  // never created at run time
}
