#include "app/market_login_window.h"

#include "im/pump_delay.h"
#include "market/market_login.h"
#include "ui_market_login_window.h"

namespace varnel::app {

MarketLoginWindow::MarketLoginWindow(market::MarketSession& session, market::Endpoints endpoints, Timing timing,
                                     QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::MarketLoginWindow>()),
      session_(session),
      endpoints_(std::move(endpoints)),
      timing_(timing) {
  ui_->setupUi(this);
  setFixedSize(size());
  connect(ui_->登_登陆按钮, &QPushButton::clicked, this, &MarketLoginWindow::login);
  connect(ui_->登_取消按钮, &QPushButton::clicked, this, &MarketLoginWindow::reject);
  // Enter logs in from a password box that is not empty; Enter in the account box does nothing.
  connect(ui_->登淘_密码编辑框, &QLineEdit::returnPressed, this, [this] {
    if (!ui_->登淘_密码编辑框->text().isEmpty()) login();
  });
}

MarketLoginWindow::~MarketLoginWindow() = default;

void MarketLoginWindow::reject() {
  if (!busy_) QDialog::reject();
}

void MarketLoginWindow::set_busy(bool busy) {
  busy_ = busy;
  for (QWidget* w : {static_cast<QWidget*>(ui_->登淘_帐号编辑框), static_cast<QWidget*>(ui_->登淘_密码编辑框),
                     static_cast<QWidget*>(ui_->登_登陆按钮), static_cast<QWidget*>(ui_->登_取消按钮)}) {
    w->setEnabled(!busy);
  }
}

void MarketLoginWindow::login() {
  if (busy_) return;
  set_busy(true);
  ui_->登淘标签->setText(QStringLiteral("正在登陆....."));
  // Lets the caption be painted before the request starts.
  im::pump_delay(timing_.login_wait_ms);
  const std::string account = ui_->登淘_帐号编辑框->text().toStdString();
  const std::string password = ui_->登淘_密码编辑框->text().toStdString();
  const bool accepted = market::market_login(account, password, endpoints_, timing_);
  set_busy(false);
  if (!accepted) {
    ui_->登淘标签->setText(QStringLiteral("登陆失败,请重新登陆"));
    return;
  }
  session_.account = account;
  ui_->登淘标签->setText(QStringLiteral("登陆成功!"));
  accept();
}

void MarketLoginWindow::show_hint(const QString& hint) { ui_->登淘标签->setText(hint); }

}  // namespace varnel::app
