#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

#include "app/im_guide_window.h"
#include "app/im_init_controller.h"
#include "sandbox/im/sim_im_client.h"
#include "temp_dir.h"
#include "ui/report.h"

using namespace varnel;
using namespace varnel::sandbox;

namespace {

// One application for the whole run, gone before the program's static objects are.
class Application : public ::testing::Environment {
 public:
  void SetUp() override { app_ = std::make_unique<QApplication>(argc_, argv_); }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[20] = "im_controller_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};
const auto* const application = ::testing::AddGlobalTestEnvironment(new Application);

// A window with the two controls the controller is given, against the simulated desktop. Boxes, the guide
// window and log lines are recorded in the order the operator would see them.
class ImInitControllerTest : public ::testing::Test {
 protected:
  ImInitControllerTest() {
    auto* layout = new QVBoxLayout(&window_);
    button_ = new QPushButton("初始化旺旺", &window_);
    button_->setObjectName("初始化旺旺按钮");
    label_ = new QLabel(&window_);
    label_->setObjectName("主_信息标签");
    layout->addWidget(button_);
    layout->addWidget(label_);
    controller_ = new app::ImInitController(
        button_, label_, desktop_, im_, [this] { return market_user_; },
        [this](const std::string& line) {
          seen_.push_back("log " + line + " | label " + label_->text().toStdString());
        },
        &window_);
    ui::set_report_sink([this](const std::string& caption, const std::string& text) {
      seen_.push_back("box " + caption + " " + text);
    });
    window_.show();
  }
  ~ImInitControllerTest() override { ui::set_report_sink({}); }

  // Closes the guide window once it shows, as the operator would, noting what it shows.
  void close_guide_when_shown() {
    QTimer::singleShot(0, [this] {
      auto* guide = qobject_cast<app::ImGuideWindow*>(QApplication::activeModalWidget());
      if (!guide) return close_guide_when_shown();
      auto* ok = guide->findChild<QPushButton*>("旺旺位置按钮");
      seen_.push_back("guide " + std::to_string(guide->width()) + "x" + std::to_string(guide->height()) + " at " +
                      std::to_string(guide->x()) + "," + std::to_string(guide->y()) + " " +
                      (ok ? ok->text().toStdString() : "no button"));
      if (ok) ok->click();
    });
  }

  varnel::testing::TempDir dir_;
  SimDesktop desktop_;
  SimImClient client_{desktop_, dir_.path()};
  QWidget window_;
  QPushButton* button_ = nullptr;
  QLabel* label_ = nullptr;
  app::ImInitController* controller_ = nullptr;
  im::ImWindows im_;
  std::string market_user_ = "seller";
  std::vector<std::string> seen_;
};

TEST_F(ImInitControllerTest, SuccessSetsTheLabelThenLogs) {
  const ChatWindowHandles chat = client_.open_chat_window();
  button_->click();
  EXPECT_EQ(seen_, (std::vector<std::string>{"log 旺旺初始化--成功! | label 旺旺初始化-成功"}));
  EXPECT_EQ(label_->text().toStdString(), "旺旺初始化-成功");
  EXPECT_EQ(im_.chat_input, chat.input);
  EXPECT_EQ(im_.send_to_user_point, client_.send_to_user_anchor(chat.chat));
}

TEST_F(ImInitControllerTest, FailureShowsTheBoxAndTheGuideThenLogsThenSetsTheLabel) {
  label_->setText("旺旺初始化-成功");
  close_guide_when_shown();
  button_->click();
  EXPECT_EQ(seen_, (std::vector<std::string>{"box 信息： 旺旺初始化失败,请重新初始化!", "guide 540x358 at 50,50 确  定",
                                             "log 旺旺初始化--失败! | label 旺旺初始化-成功"}));
  EXPECT_EQ(label_->text().toStdString(), "旺旺初始化-失败");
  EXPECT_EQ(im_.chat_input, 0);
}

TEST_F(ImInitControllerTest, NotLoggedInAsksToLogInAndChangesNothing) {
  client_.open_chat_window();
  market_user_.clear();
  label_->setText("before");
  im_ = {1, 2, 3, {4, 5}};
  button_->click();
  EXPECT_EQ(seen_, (std::vector<std::string>{"box 信息： 请登陆淘宝和旺旺!", "log 初始化旺旺--失败! | label before"}));
  EXPECT_EQ(label_->text().toStdString(), "before");
  EXPECT_EQ(im_, (im::ImWindows{1, 2, 3, {4, 5}}));
}

TEST(ImGuideWindow, HoldsThePictureTheTextsAndTheButton) {
  app::ImGuideWindow guide(nullptr);
  EXPECT_TRUE(guide.windowTitle().isEmpty());
  auto* picture = guide.findChild<QLabel*>("旺旺位置图片框");
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->geometry(), QRect(-40, -32, 368, 352));
  EXPECT_FALSE(picture->pixmap().isNull());
  QStringList texts;
  for (auto* label : guide.findChildren<QLabel*>()) texts << label->text();
  EXPECT_TRUE(texts.contains("请参照正确放置位置"));
  EXPECT_TRUE(texts.contains("每次关闭旺旺,都需要重新初始旺旺!"));
  auto* ok = guide.findChild<QPushButton*>("旺旺位置按钮");
  ASSERT_TRUE(ok);
  EXPECT_EQ(ok->geometry(), QRect(384, 112, 88, 32));
  guide.show();
  ok->click();
  EXPECT_FALSE(guide.isVisible());
  EXPECT_EQ(guide.result(), QDialog::Accepted);
}

}  // namespace
