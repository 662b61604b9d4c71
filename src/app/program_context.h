#pragma once
// The process-wide objects, built once before the first window and shared by the windows.

#include <string>

#include "app/operation_log.h"
#include "delivery/app_state.h"
#include "im/window_system.h"
#include "market/market_session.h"
#include "text/date_text.h"
#include "text/timing.h"

namespace varnel::app {

struct ProgramContext {
  ProgramContext(std::string run_directory, text::Clock wall_clock, Timing waits, im::WindowSystem& desktop)
      : run_dir(std::move(run_directory)), clock(std::move(wall_clock)), timing(waits), window_system(desktop),
        log(clock) {}

  std::string database_path() const;

  const std::string run_dir;
  const text::Clock clock;
  const Timing timing;
  im::WindowSystem& window_system;  // the desktop the IM client runs on
  delivery::AppState state;
  market::MarketSession market_session;
  OperationLog log;
  // Shown in the marketplace login window (the sandbox names its account there).
  std::string market_login_hint;
};

}  // namespace varnel::app
