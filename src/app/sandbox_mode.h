#pragma once
// The sandbox mode: the program against the simulated marketplace (on 127.0.0.1) and the simulated IM
// client with its visible view, in a run directory of its own, so the operator's real data is never touched.

#include <QObject>
#include <QTimer>

#include <filesystem>
#include <memory>
#include <string>

#include "sandbox/im/sim_desktop.h"

namespace varnel::sandbox {
class MarketSandbox;
class SimImClient;
class SimImView;
}  // namespace varnel::sandbox

namespace varnel::app {

class SandboxMode : public QObject {
  Q_OBJECT
 public:
  // `with_market` false: only the IM client is simulated (--sandbox-im); the endpoints stay the run
  // directory's own.
  SandboxMode(std::filesystem::path run_dir, bool with_market, int order_interval_ms = 20000);
  ~SandboxMode() override;

  // Seeds the run directory on first use, starts the simulators and shows the IM client's view.
  bool start(std::string& error);

  im::WindowSystem& desktop() { return desktop_; }
  sandbox::MarketSandbox* market() { return market_.get(); }
  // The line for the marketplace login window: the sandbox's account and password.
  std::string market_login_hint() const;

 private:
  void place_next_order();

  const std::filesystem::path run_dir_;
  const bool with_market_;
  const int order_interval_ms_;
  sandbox::SimDesktop desktop_;
  std::unique_ptr<sandbox::MarketSandbox> market_;
  std::unique_ptr<sandbox::SimImClient> client_;
  std::unique_ptr<sandbox::SimImView> view_;
  QTimer order_feed_;
  int orders_placed_ = 0;
};

}  // namespace varnel::app
