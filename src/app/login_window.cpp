#include "app/login_window.h"

#include <QCloseEvent>

#include "app/operator_login.h"
#include "store/schema.h"
#include "ui/report.h"
#include "ui_login_window.h"

namespace varnel::app {

LoginWindow::LoginWindow(std::string database_path, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::LoginWindow>()), database_path_(std::move(database_path)) {
  ui_->setupUi(this);
  setFixedSize(305, 148);
  move(50, 50);
  ui_->标签3->setText(QStringLiteral("系统默认帐号：admin  密码：") + QString::fromUtf8(store::kDefaultPassword));
  connect(ui_->启_登陆按钮, &QPushButton::clicked, this, &LoginWindow::operator_login);
  connect(ui_->启_取消按钮, &QPushButton::clicked, this, &QWidget::close);
  // Enter logs in only when a password was typed.
  connect(ui_->启_密码编辑框, &QLineEdit::returnPressed, this, [this] {
    if (!ui_->启_密码编辑框->text().isEmpty()) operator_login();
  });
}

LoginWindow::~LoginWindow() = default;

bool LoginWindow::open_database() {
  if (!login_db_.open(database_path_, store::kDatabasePassword)) {
    ui::report(this, "数据库打开出错！");
    return false;
  }
  login_rs_.attach(login_db_);
  return true;
}

void LoginWindow::operator_login() {
  const std::string account = ui_->启_帐号编辑框->text().toStdString();
  const std::string password = ui_->启_密码编辑框->text().toStdString();
  switch (check_operator_login(login_rs_, account, password)) {
    case LoginCheck::empty_account:
      ui::report(this, "帐号不能为空！");
      break;
    case LoginCheck::empty_password:
      ui::report(this, "密码不能为空！");
      break;
    case LoginCheck::lookup_failed:
      break;
    case LoginCheck::unknown_user:
      ui::report(this, "找不到该用户!");
      break;
    case LoginCheck::wrong_password:
      ui::report(this, "密码错误！");
      break;
    case LoginCheck::accepted:
      emit operator_accepted(ui_->启_帐号编辑框->text());
      close();
      break;
  }
}

void LoginWindow::closeEvent(QCloseEvent* event) {
  login_rs_.close();
  login_db_.close();
  event->accept();
}

}  // namespace varnel::app
