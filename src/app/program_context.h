#pragma once
// The process-wide objects, built once before the first window and shared by the windows.

#include <string>

#include "app/operation_log.h"
#include "delivery/app_state.h"
#include "text/date_text.h"
#include "text/timing.h"

namespace varnel::app {

struct ProgramContext {
  ProgramContext(std::string run_directory, text::Clock wall_clock, Timing waits)
      : run_dir(std::move(run_directory)), clock(std::move(wall_clock)), timing(waits), log(clock) {}

  std::string database_path() const;

  const std::string run_dir;
  const text::Clock clock;
  const Timing timing;
  delivery::AppState state;
  OperationLog log;
};

}  // namespace varnel::app
