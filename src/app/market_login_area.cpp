#include "app/market_login_area.h"

#include "app/market_login_window.h"
#include "market/market_login.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace varnel::app {

MarketLoginArea::MarketLoginArea(Controls controls, market::MarketSession& session, market::Endpoints endpoints,
                                 Timing timing, market::LogFn log, std::function<void()> before_logout, QObject* parent)
    : QObject(parent),
      controls_(controls),
      session_(session),
      endpoints_(std::move(endpoints)),
      timing_(timing),
      log_(std::move(log)),
      before_logout_(std::move(before_logout)) {
  controls_.user_edit->setReadOnly(true);
  controls_.user_edit->setAlignment(Qt::AlignCenter);
  connect(controls_.login_button, &QPushButton::clicked, this, &MarketLoginArea::open_login_window);
  connect(controls_.logout_button, &QPushButton::clicked, this, &MarketLoginArea::logout);
  show_session();
}

void MarketLoginArea::show_session() {
  const bool in = session_.logged_in();
  controls_.login_button->setVisible(!in);
  controls_.info_label->setVisible(in);
  controls_.user_edit->setVisible(in);
  controls_.logout_button->setVisible(in);
  controls_.user_edit->setText(QString::fromStdString(session_.account));
}

void MarketLoginArea::open_login_window() {
  if (session_.logged_in()) return;
  MarketLoginWindow window(session_, endpoints_, timing_, controls_.login_button->window());
  if (!login_hint_.empty()) window.show_hint(QString::fromStdString(login_hint_));
  if (window.exec() != QDialog::Accepted) return;
  show_session();
  emit session_changed();
}

void MarketLoginArea::logout() {
  if (!session_.logged_in()) return;
  controls_.user_edit->setText(QStringLiteral("正在退出.."));
  // The request keeps the window's events running: no second click may start another logout.
  controls_.logout_button->setEnabled(false);
  if (before_logout_) before_logout_();
  market::market_logout(endpoints_, timing_);
  session_.account.clear();
  controls_.logout_button->setEnabled(true);
  show_session();
  if (log_) log_("成功注消淘宝登陆!");
  emit session_changed();
}

void MarketLoginArea::logout_if_logged_in() {
  if (!session_.logged_in()) return;
  market::market_logout(endpoints_, timing_);
  session_.account.clear();
}

}  // namespace varnel::app
