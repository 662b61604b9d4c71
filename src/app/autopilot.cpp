#include "app/autopilot.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include <cstdio>

#include "app/login_window.h"
#include "app/main_window.h"
#include "app/program.h"
#include "ui/report.h"

namespace varnel::app {
namespace {

constexpr int kStepMs = 300;

void say(const std::string& line) {
  std::fprintf(stdout, "%s\n", line.c_str());
  std::fflush(stdout);
}

bool is_delivery_success(const std::string& line) {
  const std::string separator = "   ：   ";
  size_t at = line.find(separator);
  if (at == std::string::npos) return false;
  const std::string text = line.substr(at + separator.size());
  const bool delivery = text.rfind("发送卡密--", 0) == 0 || text.rfind("重发送卡密--", 0) == 0;
  return delivery && text.size() > 8 && text.compare(text.size() - 8, 8, "--成功") == 0;
}

template <typename T>
T* child(QWidget* window, const char* name) {
  return window ? window->findChild<T*>(QString::fromUtf8(name)) : nullptr;
}

}  // namespace

Autopilot::Autopilot(Program& program, Credentials operator_login, Credentials market_login, int orders, int timeout_s)
    : program_(program),
      operator_login_(std::move(operator_login)),
      market_login_(std::move(market_login)),
      orders_(orders),
      timeout_s_(timeout_s) {}

void Autopilot::start() {
  program_.context().log.set_mirror([this](const std::string& line) {
    say(line);
    QMetaObject::invokeMethod(this, [this, line] { line_logged(line); }, Qt::QueuedConnection);
  });
  // No box may wait for a click that never comes: each is written out instead.
  ui::set_report_sink([](const std::string& caption, const std::string& text) { say("[" + caption + "] " + text); });
  timeout_.setSingleShot(true);
  connect(&timeout_, &QTimer::timeout, this,
          [this] { fail("timed out after " + std::to_string(timeout_s_) + " s with " + std::to_string(delivered_) +
                        " of " + std::to_string(orders_) + " orders delivered"); });
  timeout_.start(timeout_s_ * 1000);
  QTimer::singleShot(kStepMs, this, &Autopilot::log_in);
}

void Autopilot::click(QWidget* window, const char* name) {
  if (auto* button = child<QPushButton>(window, name)) button->click();
}

bool Autopilot::fill_in(QWidget* window, const char* name_box, const char* password_box, const Credentials& with) {
  auto* name = child<QLineEdit>(window, name_box);
  auto* password = child<QLineEdit>(window, password_box);
  if (!name || !password) return false;
  name->setText(QString::fromStdString(with.name));
  password->setText(QString::fromStdString(with.password));
  return true;
}

void Autopilot::log_in() {
  QWidget* login = program_.login_window();
  if (!fill_in(login, "启_帐号编辑框", "启_密码编辑框", operator_login_)) return fail("no login window");
  click(login, "启_登陆按钮");
  if (!program_.main_window() || !program_.main_window()->isVisible()) return fail("the operator login failed");
  QTimer::singleShot(kStepMs, this, &Autopilot::log_in_to_market);
}

void Autopilot::log_in_to_market() {
  // The marketplace login window is modal: it is filled in and sent from inside its own event loop.
  QTimer::singleShot(kStepMs, this, [this] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!fill_in(dialog, "登淘_帐号编辑框", "登淘_密码编辑框", market_login_)) return fail("no marketplace login window");
    click(dialog, "登_登陆按钮");
  });
  click(program_.main_window(), "登陆淘宝按钮");
  if (!program_.context().market_session.logged_in()) return fail("the marketplace login failed");
  QTimer::singleShot(kStepMs, this, &Autopilot::initialise_im_and_start);
}

void Autopilot::initialise_im_and_start() {
  MainWindow* w = program_.main_window();
  click(w, "初始化旺旺按钮");
  click(w, "开始超级按钮");
  auto* start = child<QPushButton>(w, "开始超级按钮");
  if (!start || !start->isChecked()) fail("delivery did not start");
}

void Autopilot::line_logged(const std::string& line) {
  if (finishing_ || !is_delivery_success(line)) return;
  if (++delivered_ >= orders_) {
    finishing_ = true;
    QTimer::singleShot(0, this, &Autopilot::finish_run);
  }
}

void Autopilot::finish_run() {
  MainWindow* w = program_.main_window();
  click(w, "开始超级按钮");
  click(w, "登陆淘宝注消按钮");
  click(w, "关闭图形按钮");
  if (!w->exited()) return fail("the main window did not close");
  say("autopilot: " + std::to_string(delivered_) + " orders delivered");
  QCoreApplication::exit(0);
}

void Autopilot::fail(const std::string& why) {
  say("autopilot: " + why);
  if (MainWindow* w = program_.main_window(); w && !w->exited()) {
    program_.context().market_session.account.clear();
    w->close();
  }
  QCoreApplication::exit(1);
}

}  // namespace varnel::app
