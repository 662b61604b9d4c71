#pragma once
// Program start: the process-wide objects, the login window, and the main window once an operator is in.

#include <QObject>

#include <memory>

#include "app/program_context.h"

namespace varnel::app {

class LoginWindow;
class MainWindow;

class Program : public QObject {
  Q_OBJECT
 public:
  Program(std::string run_dir, text::Clock clock, Timing timing, im::WindowSystem& desktop);
  ~Program() override;

  // Shows the login window and opens its database; the event loop does the rest.
  void show_login();

  ProgramContext& context() { return context_; }
  LoginWindow* login_window() { return login_.get(); }
  MainWindow* main_window() { return main_.get(); }

 signals:
  void main_window_opened();

 private:
  void open_main_window(const QString& account);

  ProgramContext context_;
  std::unique_ptr<LoginWindow> login_;
  std::unique_ptr<MainWindow> main_;
};

}  // namespace varnel::app
