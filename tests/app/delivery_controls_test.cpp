#include <QLabel>
#include <QTreeWidget>

#include <fstream>

#include "app/delivery_controls.h"
#include "app/sandbox_mode.h"
#include "app_fixture.h"

using namespace varnel;

// The main window against the simulated IM client; the marketplace endpoints point at a closed local port,
// so a pass that starts never leaves the machine.
class DeliveryControlsTest : public varnel::testing::ProgramTest {
 protected:
  void SetUp() override {
    std::ofstream(run_dir_.file("data/endpoints.ini"))
        << "[marketplace]\nlogin_host = 127.0.0.1:1\ntrade_host = 127.0.0.1:1\nlogistics_host = 127.0.0.1:1\n";
    ASSERT_TRUE(im_.start(error_)) << error_;
    program_ = std::make_unique<app::Program>(run_dir_.str(), clock_.clock(), Timing{}, im_.desktop());
    program_->show_login();
    log_in("admin", "888");
    w_ = program_->main_window();
    ASSERT_NE(w_, nullptr);
    start_ = find<QPushButton>(w_, "开始超级按钮");
    label_ = find<QLabel>(w_, "开始提示标签");
  }
  void press_start() { QTest::mouseClick(start_, Qt::LeftButton); }

  std::string error_;
  app::SandboxMode im_{run_dir_.path(), false};
  app::MainWindow* w_ = nullptr;
  QPushButton* start_ = nullptr;
  QLabel* label_ = nullptr;
};

TEST_F(DeliveryControlsTest, StartNeedsTheMarketplaceLoginAndTheImClient) {
  press_start();
  EXPECT_EQ(boxes_.take(), std::vector<std::string>{"请登陆淘宝!"});
  EXPECT_FALSE(start_->isChecked());
  EXPECT_EQ(start_->text(), QStringLiteral("开  始 "));
  EXPECT_NE(program_->context().log.text().find("开始自动发货--请登陆淘宝!"), std::string::npos);

  program_->context().market_session.account = "瓦尼尔数码专营店";
  press_start();
  EXPECT_EQ(boxes_.take(), std::vector<std::string>{"请初始化旺旺!"});
  EXPECT_FALSE(start_->isChecked());
  EXPECT_FALSE(label_->isVisible());
  EXPECT_NE(program_->context().log.text().find("开始自动发货--请初始化旺旺!"), std::string::npos);
}

TEST_F(DeliveryControlsTest, TheLabelShowsExactlyWhileDeliveryRuns) {
  program_->context().market_session.account = "瓦尼尔数码专营店";
  QTest::mouseClick(find<QPushButton>(w_, "初始化旺旺按钮"), Qt::LeftButton);
  boxes_.take();
  press_start();
  EXPECT_TRUE(boxes_.take().empty());
  EXPECT_TRUE(start_->isChecked());
  EXPECT_EQ(start_->text(), QStringLiteral("暂  停 "));
  EXPECT_TRUE(label_->isVisible());
  EXPECT_EQ(label_->text(), QStringLiteral("1分钟刷新检测一次！"));
  EXPECT_TRUE(program_->context().state.running);

  press_start();
  EXPECT_FALSE(start_->isChecked());
  EXPECT_EQ(start_->text(), QStringLiteral("开  始 "));
  EXPECT_FALSE(label_->isVisible());
  EXPECT_FALSE(program_->context().state.running);
  EXPECT_FALSE(program_->context().state.detection_enabled);
}

TEST_F(DeliveryControlsTest, TheCloseButtonIsRefusedWhileLoggedInToTheMarketplace) {
  program_->context().market_session.account = "瓦尼尔数码专营店";
  QTest::mouseClick(find<QPushButton>(w_, "关闭图形按钮"), Qt::LeftButton);
  EXPECT_EQ(boxes_.take(), std::vector<std::string>{"为了你的数据安全,请注销淘宝后再退出!"});
  EXPECT_TRUE(w_->isVisible());
  EXPECT_FALSE(w_->exited());
  program_->context().market_session.account.clear();
  QTest::mouseClick(find<QPushButton>(w_, "关闭图形按钮"), Qt::LeftButton);
  EXPECT_TRUE(w_->exited());
}
