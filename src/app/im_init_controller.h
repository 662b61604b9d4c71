#pragma once
// The click of 初始化旺旺按钮: finds the IM client's windows and tells the operator how it went, through a
// message box, the placement guide window and the status label 主_信息标签.

#include <QObject>

#include <functional>
#include <string>

#include "im/im_windows.h"
#include "im/initialise_im.h"
#include "im/window_system.h"

class QLabel;
class QPushButton;

namespace varnel::app {

class ImInitController : public QObject {
  Q_OBJECT

 public:
  // The marketplace account name the program is logged in with; empty when logged out.
  using MarketUserFn = std::function<std::string()>;

  // `im` is filled on every run that passes the login check; `log` gets the operation log's lines.
  ImInitController(QPushButton* button, QLabel* status_label, im::WindowSystem& ws, im::ImWindows& im,
                   MarketUserFn market_user, im::LogFn log, QObject* parent = nullptr);

 public slots:
  void initialise();

 private:
  void tell_operator(im::ImInitOutcome outcome);

  QPushButton* button_;
  QLabel* status_label_;
  im::WindowSystem& ws_;
  im::ImWindows& im_;
  MarketUserFn market_user_;
  im::LogFn log_;
};

}  // namespace varnel::app
