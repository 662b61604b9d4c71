#pragma once
// The marketplace login window ("登陆淘宝"): account, password, and a status line. It is modal; while
// the login request is under way its controls are disabled and it cannot be closed.

#include "market/endpoints.h"
#include "market/market_session.h"
#include "text/timing.h"

#include <QDialog>

#include <memory>

namespace Ui {
class MarketLoginWindow;
}

namespace varnel::app {

class MarketLoginWindow : public QDialog {
  Q_OBJECT
 public:
  // A successful login fills the session's account and accepts the window.
  MarketLoginWindow(market::MarketSession& session, market::Endpoints endpoints, Timing timing,
                    QWidget* parent = nullptr);
  ~MarketLoginWindow() override;

  void reject() override;
  // A line for the status label until the first login attempt (the sandbox names its account there).
  void show_hint(const QString& hint);

 private:
  void login();
  void set_busy(bool busy);

  std::unique_ptr<Ui::MarketLoginWindow> ui_;
  market::MarketSession& session_;
  const market::Endpoints endpoints_;
  const Timing timing_;
  bool busy_ = false;
};

}  // namespace varnel::app
