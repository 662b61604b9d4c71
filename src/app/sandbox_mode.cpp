#include "app/sandbox_mode.h"

#include "sandbox/demo/demo_shop.h"
#include "sandbox/im/sim_im_client.h"
#include "sandbox/im/sim_im_view.h"
#include "sandbox/market/market_sandbox.h"

namespace varnel::app {

SandboxMode::SandboxMode(std::filesystem::path run_dir, bool with_market, int order_interval_ms)
    : run_dir_(std::move(run_dir)), with_market_(with_market), order_interval_ms_(order_interval_ms) {}

SandboxMode::~SandboxMode() = default;

bool SandboxMode::start(std::string& error) {
  if (with_market_) {
    if (!sandbox::seed_demo_run_dir(run_dir_, error)) return false;
    market_ = std::make_unique<sandbox::MarketSandbox>();
    if (!market_->running()) {
      error = "the simulated marketplace could not listen on 127.0.0.1";
      return false;
    }
    if (!sandbox::write_sandbox_endpoints(run_dir_, *market_)) {
      error = "cannot write " + (run_dir_ / "data" / "endpoints.ini").string();
      return false;
    }
    for (const auto& order : sandbox::demo_waiting_orders()) sandbox::place_demo_order(*market_, order);
    connect(&order_feed_, &QTimer::timeout, this, &SandboxMode::place_next_order);
    order_feed_.start(order_interval_ms_);
  }
  client_ = std::make_unique<sandbox::SimImClient>(desktop_, run_dir_);
  client_->open_chat_window();
  view_ = std::make_unique<sandbox::SimImView>(desktop_, *client_);
  // The view is company for the main window; closing the main window still ends the program.
  view_->setAttribute(Qt::WA_QuitOnClose, false);
  view_->move(760, 50);
  view_->show();
  return true;
}

std::string SandboxMode::market_login_hint() const {
  if (!market_) return {};
  return "沙盒帐号：" + market_->account() + "  密码：" + market_->password();
}

void SandboxMode::place_next_order() { sandbox::place_demo_order(*market_, sandbox::demo_order(orders_placed_++)); }

}  // namespace varnel::app
