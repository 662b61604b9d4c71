#pragma once
// Plays the operator through the real windows, for a demo or a smoke test: logs in, logs in to the
// marketplace, initialises the IM client, starts delivery, and after N delivered orders pauses, logs out
// and closes the main window so the exit sequence runs. Every log line also goes to standard output.

#include <QObject>
#include <QTimer>

#include "app/command_line.h"

class QWidget;

namespace varnel::app {

class Program;

class Autopilot : public QObject {
  Q_OBJECT
 public:
  // `market_login`: the marketplace account to log in with.
  Autopilot(Program& program, Credentials operator_login, Credentials market_login, int orders, int timeout_s);

  // Starts once the login window is shown; the program ends with exit status 0 after N deliveries, 1 when
  // the time-out passed first or a step failed.
  void start();

 private:
  void log_in();
  void log_in_to_market();
  void initialise_im_and_start();
  void line_logged(const std::string& line);
  void finish_run();
  void fail(const std::string& why);
  void click(QWidget* window, const char* name);
  bool fill_in(QWidget* window, const char* name_box, const char* password_box, const Credentials& with);

  Program& program_;
  const Credentials operator_login_;
  const Credentials market_login_;
  const int orders_;
  const int timeout_s_;
  int delivered_ = 0;
  bool finishing_ = false;
  QTimer timeout_;
};

}  // namespace varnel::app
