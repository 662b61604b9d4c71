#pragma once

#include <string>

#include "text/date_text.h"

namespace varnel::app {

// The day's log file: <run dir>/操作日志/<date text>.txt, named after the day of closing.
std::string log_file_path(const std::string& run_dir, const text::LocalTime& closing);

// Appends the run's log (UTF-8) to the day's file as GB18030, making the folder when missing.
bool append_run_log(const std::string& run_dir, const text::LocalTime& closing, const std::string& log_text);

}  // namespace varnel::app
