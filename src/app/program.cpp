#include "app/program.h"

#include "app/login_window.h"
#include "app/main_window.h"

namespace varnel::app {

Program::Program(std::string run_dir, text::Clock clock, Timing timing, im::WindowSystem& desktop)
    : context_(std::move(run_dir), std::move(clock), timing, desktop) {}

Program::~Program() = default;

void Program::show_login() {
  login_ = std::make_unique<LoginWindow>(context_.database_path());
  connect(login_.get(), &LoginWindow::operator_accepted, this, &Program::open_main_window);
  login_->show();
  login_->open_database();
}

void Program::open_main_window(const QString& account) {
  context_.state.operator_account = account.toStdString();
  main_ = std::make_unique<MainWindow>(context_);
  main_->show();
  main_->start();
  context_.log.log(context_.state.operator_account + "   登陆成功！");
  emit main_window_opened();
}

}  // namespace varnel::app
