#include "app/log_file.h"

#include <filesystem>
#include <fstream>

#include "text/encoding.h"

namespace varnel::app {

std::string log_file_path(const std::string& run_dir, const text::LocalTime& closing) {
  return run_dir + "/操作日志/" + text::date_text(closing) + ".txt";
}

bool append_run_log(const std::string& run_dir, const text::LocalTime& closing, const std::string& log_text) {
  std::error_code ec;
  std::filesystem::create_directories(run_dir + "/操作日志", ec);
  // Appending keeps every earlier run of the day, even one whose text holds a zero byte.
  std::ofstream out(log_file_path(run_dir, closing), std::ios::binary | std::ios::app);
  if (!out) return false;
  out << text::utf8_to_gb(log_text);
  return static_cast<bool>(out.flush());
}

}  // namespace varnel::app
