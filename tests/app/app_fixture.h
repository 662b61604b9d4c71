#pragma once
// A program started in a temporary run directory with its boxes captured.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "app/login_window.h"
#include "app/main_window.h"
#include "app/program.h"
#include "manual_clock.h"
#include "report_capture.h"
#include "run_dir.h"
#include "sandbox/im/sim_desktop.h"

namespace varnel::testing {

class ProgramTest : public ::testing::Test {
 protected:
  void start_program() {
    program_ = std::make_unique<app::Program>(run_dir_.str(), clock_.clock(), Timing{}, desktop_);
    program_->show_login();
  }
  template <typename T>
  T* find(QWidget* window, const char* name) {
    T* w = window->findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  // Types an account and password into the login window and clicks 登陆.
  void log_in(const char* account, const char* password) {
    QWidget* login = program_->login_window();
    auto* a = find<QLineEdit>(login, "启_帐号编辑框");
    auto* p = find<QLineEdit>(login, "启_密码编辑框");
    a->setText(QString::fromUtf8(account));
    p->setText(QString::fromUtf8(password));
    QTest::mouseClick(find<QPushButton>(login, "启_登陆按钮"), Qt::LeftButton);
  }

  sandbox::SimDesktop desktop_;  // a desktop without an IM client
  RunDir run_dir_;
  ManualClock clock_;
  ReportCapture boxes_;
  std::unique_ptr<app::Program> program_;
};

}  // namespace varnel::testing
