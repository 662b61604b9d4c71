#include "app/market_login_area.h"
#include "app/market_login_window.h"
#include "sandbox/market/market_sandbox.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace varnel::app {
namespace {

template <typename T>
T* child(QWidget* parent, const char* name) {
  T* found = parent->findChild<T*>(QString::fromUtf8(name));
  EXPECT_NE(found, nullptr) << name;
  return found;
}

// exec() of a modal window blocks the test: this acts on the window once it is up.
void when_modal_window(std::function<void(QWidget*)> act) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    if (QWidget* w = QApplication::activeModalWidget()) {
      poll->stop();
      poll->deleteLater();
      act(w);
    }
  });
  poll->start(10);
}

struct MarketLoginGui : ::testing::Test {
  MarketLoginGui() : shop({"瓦尼尔 ", "密码 pw", "20240305"}) {
    endpoints.login_host = endpoints.trade_host = endpoints.logistics_host = shop.host();
    endpoints.seller_id = shop.seller_id();
    timing.login_wait_ms = 30;
    timing.http_timeout_ms = 2000;
  }
  size_t requests_to(const std::string& path) {
    size_t n = 0;
    for (const auto& r : shop.requests()) n += r.target.starts_with(path);
    return n;
  }
  static void fill(QWidget* window, const char* account, const char* password) {
    child<QLineEdit>(window, "登淘_帐号编辑框")->setText(QString::fromUtf8(account));
    child<QLineEdit>(window, "登淘_密码编辑框")->setText(QString::fromUtf8(password));
  }
  static QString status(QWidget* window) { return child<QLabel>(window, "登淘标签")->text(); }

  sandbox::MarketSandbox shop;
  market::Endpoints endpoints;
  Timing timing;
  market::MarketSession session;
};

TEST_F(MarketLoginGui, WindowShowsItsCaptionsAndMasksThePassword) {
  MarketLoginWindow window(session, endpoints, timing);
  window.show();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("登陆淘宝"));
  EXPECT_EQ(status(&window), QStringLiteral("请登陆!"));
  EXPECT_EQ(child<QPushButton>(&window, "登_登陆按钮")->text(), QStringLiteral("登陆"));
  EXPECT_EQ(child<QPushButton>(&window, "登_取消按钮")->text(), QStringLiteral("取消"));
  EXPECT_EQ(child<QLabel>(&window, "登淘_帐号标签")->text(), QStringLiteral("淘宝帐号"));
  EXPECT_EQ(child<QLabel>(&window, "登淘_密码标签")->text(), QStringLiteral("淘宝密码"));
  QLineEdit* password = child<QLineEdit>(&window, "登淘_密码编辑框");
  QTest::keyClicks(password, "abc");
  EXPECT_EQ(password->displayText(), QStringLiteral("***"));
  EXPECT_TRUE(child<QLineEdit>(&window, "登淘_帐号编辑框")->text().isEmpty());
}

TEST_F(MarketLoginGui, RightPasswordLogsInAndClosesTheWindow) {
  MarketLoginWindow window(session, endpoints, timing);
  window.show();
  fill(&window, "瓦尼尔 ", "密码 pw");
  QString during;
  QTimer::singleShot(0, [&] { during = status(&window); });
  QTest::mouseClick(child<QPushButton>(&window, "登_登陆按钮"), Qt::LeftButton);
  EXPECT_EQ(during, QStringLiteral("正在登陆....."));
  EXPECT_EQ(status(&window), QStringLiteral("登陆成功!"));
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(session.account, "瓦尼尔 ");  // the trailing space is kept
  // The Chinese account went out as GBK percent groups, its space too.
  bool sent = false;
  for (const auto& r : shop.requests())
    sent |= r.body.starts_with("TPL_username=%CD%DF%C4%E1%B6%FB%20&TPL_password=%C3%DC%C2%EB%20pw&");
  EXPECT_TRUE(sent);
}

TEST_F(MarketLoginGui, FailedLoginKeepsTheWindowAndItsTexts) {
  MarketLoginWindow window(session, endpoints, timing);
  window.show();
  fill(&window, "瓦尼尔 ", "wrong");
  QTest::mouseClick(child<QPushButton>(&window, "登_登陆按钮"), Qt::LeftButton);
  EXPECT_EQ(status(&window), QStringLiteral("登陆失败,请重新登陆"));
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(child<QLineEdit>(&window, "登淘_密码编辑框")->text(), QStringLiteral("wrong"));
  EXPECT_FALSE(session.logged_in());
  // A second try with the right password works.
  child<QLineEdit>(&window, "登淘_密码编辑框")->setText(QString::fromUtf8("密码 pw"));
  QTest::mouseClick(child<QPushButton>(&window, "登_登陆按钮"), Qt::LeftButton);
  EXPECT_TRUE(session.logged_in());
}

TEST_F(MarketLoginGui, NoAnswerIsAFailedLogin) {
  market::Endpoints gone = endpoints;
  {
    // A port that was just freed: nothing answers there.
    sandbox::MarketSandbox closed;
    gone.login_host = closed.host();
  }
  MarketLoginWindow window(session, gone, timing);
  window.show();
  fill(&window, "瓦尼尔 ", "密码 pw");
  QTest::mouseClick(child<QPushButton>(&window, "登_登陆按钮"), Qt::LeftButton);
  EXPECT_EQ(status(&window), QStringLiteral("登陆失败,请重新登陆"));
}

TEST_F(MarketLoginGui, EnterLogsInOnlyFromANonEmptyPasswordBox) {
  MarketLoginWindow window(session, endpoints, timing);
  window.show();
  QLineEdit* account = child<QLineEdit>(&window, "登淘_帐号编辑框");
  QLineEdit* password = child<QLineEdit>(&window, "登淘_密码编辑框");
  account->setText(QString::fromUtf8("瓦尼尔 "));
  QTest::keyClick(account, Qt::Key_Return);
  QTest::keyClick(password, Qt::Key_Return);
  EXPECT_EQ(requests_to("/member/login.jhtml"), 0u);
  EXPECT_TRUE(window.isVisible());
  password->setText(QString::fromUtf8("密码 pw"));
  QTest::keyClick(account, Qt::Key_Return);
  EXPECT_EQ(requests_to("/member/login.jhtml"), 0u);
  QTest::keyClick(password, Qt::Key_Return);
  EXPECT_EQ(requests_to("/member/login.jhtml"), 1u);
  EXPECT_TRUE(session.logged_in());
}

// The main window's four login-area controls, on a plain widget.
struct LoginAreaHost {
  LoginAreaHost() {
    login_button = new QPushButton(QStringLiteral("登陆淘宝"), &window);
    user_edit = new QLineEdit(&window);
    logout_button = new QPushButton(QStringLiteral("注 消"), &window);
    info_label = new QLabel(&window);
    window.show();
  }
  bool shows_logged_out() const {
    return !login_button->isHidden() && user_edit->isHidden() && logout_button->isHidden() && info_label->isHidden();
  }
  bool shows_logged_in() const {
    return login_button->isHidden() && !user_edit->isHidden() && !logout_button->isHidden() && !info_label->isHidden();
  }
  MarketLoginArea::Controls controls() { return {login_button, user_edit, logout_button, info_label}; }

  QWidget window;
  QPushButton* login_button;
  QLineEdit* user_edit;
  QPushButton* logout_button;
  QLabel* info_label;
};

TEST_F(MarketLoginGui, AreaSwitchesOnLoginAndBackOnLogoutAfterPausingDelivery) {
  LoginAreaHost host;
  std::vector<std::string> log;
  std::vector<std::string> order;
  MarketLoginArea area(
      host.controls(), session, endpoints, timing, [&](const std::string& line) { log.push_back(line); },
      [&] {
        order.push_back("pause delivery, logged in: " + std::to_string(session.logged_in()) +
                        ", logout sent: " + std::to_string(requests_to("/member/logout.jhtml")));
        order.push_back("edit shows: " + host.user_edit->text().toStdString());
      });
  EXPECT_TRUE(host.shows_logged_out());
  EXPECT_TRUE(host.user_edit->isReadOnly());
  EXPECT_EQ(host.user_edit->alignment(), Qt::AlignCenter);

  when_modal_window([](QWidget* w) {
    fill(w, "瓦尼尔 ", "密码 pw");
    QTest::mouseClick(child<QPushButton>(w, "登_登陆按钮"), Qt::LeftButton);
  });
  QTest::mouseClick(host.login_button, Qt::LeftButton);
  EXPECT_EQ(session.account, "瓦尼尔 ");
  EXPECT_TRUE(host.shows_logged_in());
  EXPECT_EQ(host.user_edit->text(), QString::fromUtf8("瓦尼尔 "));

  QTest::mouseClick(host.logout_button, Qt::LeftButton);
  EXPECT_EQ(order,
            (std::vector<std::string>{"pause delivery, logged in: 1, logout sent: 0", "edit shows: 正在退出.."}));
  EXPECT_EQ(requests_to("/member/logout.jhtml?f=top"), 1u);
  EXPECT_FALSE(session.logged_in());
  EXPECT_TRUE(host.shows_logged_out());
  EXPECT_TRUE(host.user_edit->text().isEmpty());
  EXPECT_EQ(log, std::vector<std::string>{"成功注消淘宝登陆!"});
}

TEST_F(MarketLoginGui, CancelChangesNothing) {
  LoginAreaHost host;
  MarketLoginArea area(host.controls(), session, endpoints, timing, {}, {});
  when_modal_window([](QWidget* w) {
    fill(w, "瓦尼尔 ", "密码 pw");
    QTest::mouseClick(child<QPushButton>(w, "登_取消按钮"), Qt::LeftButton);
  });
  QTest::mouseClick(host.login_button, Qt::LeftButton);
  EXPECT_FALSE(session.logged_in());
  EXPECT_TRUE(host.shows_logged_out());
  EXPECT_EQ(requests_to("/member/login.jhtml"), 0u);
}

TEST_F(MarketLoginGui, LogoutWithoutAnAnswerStillRestoresTheArea) {
  market::Endpoints gone = endpoints;
  {
    sandbox::MarketSandbox closed;
    gone.login_host = closed.host();
  }
  session.account = "瓦尼尔 ";
  LoginAreaHost host;
  std::vector<std::string> log;
  MarketLoginArea area(host.controls(), session, gone, timing, [&](const std::string& l) { log.push_back(l); }, {});
  EXPECT_TRUE(host.shows_logged_in());
  QTest::mouseClick(host.logout_button, Qt::LeftButton);
  EXPECT_FALSE(session.logged_in());
  EXPECT_TRUE(host.shows_logged_out());
  EXPECT_EQ(log, std::vector<std::string>{"成功注消淘宝登陆!"});
}

TEST_F(MarketLoginGui, ExitLogsOutOnlyWhenLoggedIn) {
  LoginAreaHost host;
  MarketLoginArea area(host.controls(), session, endpoints, timing, {}, {});
  area.logout_if_logged_in();
  EXPECT_EQ(requests_to("/member/logout.jhtml"), 0u);
  session.account = "瓦尼尔 ";
  area.logout_if_logged_in();
  EXPECT_EQ(requests_to("/member/logout.jhtml"), 1u);
  EXPECT_FALSE(session.logged_in());
}

}  // namespace
}  // namespace varnel::app
