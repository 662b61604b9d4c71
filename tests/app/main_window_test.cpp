#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app_fixture.h"
#include "app/log_file.h"
#include "text/encoding.h"

using namespace varnel;
using varnel::testing::ProgramTest;

namespace {

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

class MainWindowTest : public ProgramTest {
 protected:
  app::MainWindow* open_main_window() {
    start_program();
    log_in("admin", "888");
    return program_->main_window();
  }
  void close_main_window() {
    QTest::mouseClick(find<QPushButton>(program_->main_window(), "关闭图形按钮"), Qt::LeftButton);
  }
};

TEST_F(MainWindowTest, FrameNavigationAndHomeLists) {
  app::MainWindow* w = open_main_window();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Varnel自动发货V1.0"));
  EXPECT_EQ(w->size(), QSize(700, 521));
  auto* tabs = find<QTabWidget>(w, "导航高级选择夹");
  const char* buttons[] = {"首页按钮", "出售记录按钮", "卡密管理按钮", "黑名单按钮", "系统管理按钮"};
  const char* captions[] = {"首页", "出售记录", "卡密管理", "客户管理", "系统管理"};
  int entered = -1;
  for (int page = 0; page < 5; ++page) w->on_page_entered(page, [&entered, page] { entered = page; });
  for (int page = 4; page >= 0; --page) {
    QTest::mouseClick(find<QPushButton>(w, buttons[page]), Qt::LeftButton);
    EXPECT_EQ(tabs->currentIndex(), page);
    EXPECT_EQ(tabs->tabText(page).toStdString(), captions[page]);
    EXPECT_EQ(entered, page);
  }
  auto* queue = find<QTreeWidget>(w, "首页队列超级列表框");
  EXPECT_EQ(queue->headerItem()->text(3), QStringLiteral("买家旺旺"));
  EXPECT_EQ(queue->columnWidth(2), 230);
  auto* retry = find<QTreeWidget>(w, "首页失败超级列表框");
  EXPECT_EQ(retry->headerItem()->text(5), QStringLiteral("次数"));
  EXPECT_EQ(retry->columnWidth(5), 50);

  QTest::mouseClick(find<QPushButton>(w, "系统管理按钮"), Qt::LeftButton);
  find<QTabWidget>(w, "系统管理高级选择夹")->setCurrentIndex(2);
  EXPECT_EQ(find<QLabel>(w, "修改密码帐号标签")->text(), QStringLiteral("admin"));
}

TEST_F(MainWindowTest, TemplatesAreReadAsGb18030UpToTheFirstZeroByte) {
  std::ofstream(run_dir_.file("data/wx.dat"), std::ios::binary) << text::utf8_to_gb("您好，卡密：[卡密]") << '\0' << "tail";
  open_main_window();
  EXPECT_EQ(program_->context().state.message_template(), "您好，卡密：[卡密]");
  EXPECT_EQ(program_->context().state.rating_text(), "");  // no pj.dat
}

TEST_F(MainWindowTest, TwoRunsOnOneDayShareTheLogFileAndAMidnightRunIsFiledUnderTheClosingDay) {
  clock_.set({2024, 3, 5, 9, 0, 0});
  open_main_window();
  program_->context().log.log("first run");
  close_main_window();
  EXPECT_TRUE(program_->main_window()->exited());
  program_.reset();

  clock_.set({2024, 3, 5, 23, 59, 59});
  open_main_window();
  program_->context().log.log("before midnight");
  clock_.set({2024, 3, 6, 0, 0, 0});
  program_->context().log.log("at midnight");
  close_main_window();

  const std::string day1 = text::gb_to_utf8(read_file(app::log_file_path(run_dir_.str(), {2024, 3, 5})));
  EXPECT_EQ(day1,
            "2024年3月5日9时   ：   admin   登陆成功！\r\n"
            "2024年3月5日9时   ：   first run\r\n");
  const std::string day2 = text::gb_to_utf8(read_file(run_dir_.file("操作日志/2024年3月6日.txt")));
  EXPECT_EQ(day2,
            "2024年3月5日23时59分59秒   ：   admin   登陆成功！\r\n"
            "2024年3月5日23时59分59秒   ：   before midnight\r\n"
            "2024年3月6日   ：   at midnight\r\n");
}

TEST_F(MainWindowTest, AMainDatabaseFailureClosesTheWindowAndStillSavesTheLog) {
  start_program();
  // The login window has its connection; the file goes away before the main window opens it.
  std::filesystem::rename(run_dir_.database(), run_dir_.file("data/elsewhere.mdb"));
  log_in("admin", "888");
  EXPECT_EQ(boxes_.take(), std::vector<std::string>{"数据库打开出错!"});
  ASSERT_NE(program_->main_window(), nullptr);
  EXPECT_FALSE(program_->main_window()->isVisible());
  EXPECT_TRUE(program_->main_window()->exited());
  EXPECT_TRUE(std::filesystem::exists(app::log_file_path(run_dir_.str(), {2024, 3, 5})));
}

TEST_F(MainWindowTest, TheLogBoxHoldsTheWholeRun) {
  app::MainWindow* w = open_main_window();
  for (int i = 0; i < 5000; ++i) program_->context().log.log("line " + std::to_string(i) + std::string(60, 'x'));
  auto* box = find<QPlainTextEdit>(w, "操作历史编辑框");
  EXPECT_EQ(box->blockCount(), 5001);
  EXPECT_TRUE(box->toPlainText().endsWith(QStringLiteral("line 4999") + QString(60, 'x')));
}
