#pragma once
// The main window's marketplace login area: 登陆淘宝按钮 opens the login window; while logged in,
// 淘宝用户编辑框 shows the account, 主_信息标签 is shown, and 登陆淘宝注消按钮 logs out.

#include "market/endpoints.h"
#include "market/market_session.h"
#include "text/timing.h"

#include <QObject>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace varnel::app {

class MarketLoginArea : public QObject {
  Q_OBJECT
 public:
  struct Controls {
    QPushButton* login_button;   // 登陆淘宝按钮
    QLineEdit* user_edit;        // 淘宝用户编辑框
    QPushButton* logout_button;  // 登陆淘宝注消按钮
    QLabel* info_label;          // 主_信息标签
  };

  // `before_logout` runs first when the operator logs out (it pauses automatic delivery); `log`
  // receives the operation-log lines.
  MarketLoginArea(Controls controls, market::MarketSession& session, market::Endpoints endpoints, Timing timing,
                  market::LogFn log, std::function<void()> before_logout, QObject* parent = nullptr);

  // For the main window's exit sequence: sends the logout and forgets the account when logged in.
  void logout_if_logged_in();
  // Shown in the login window's status line when it opens.
  void set_login_hint(std::string hint) { login_hint_ = std::move(hint); }

 signals:
  // After a login or a logout has changed the session.
  void session_changed();

 private:
  void open_login_window();
  void logout();
  void show_session();

  Controls controls_;
  market::MarketSession& session_;
  const market::Endpoints endpoints_;
  const Timing timing_;
  market::LogFn log_;
  std::function<void()> before_logout_;
  std::string login_hint_;
};

}  // namespace varnel::app
