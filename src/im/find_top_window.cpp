#include "im/find_top_window.h"

#include <algorithm>
#include <string>
#include <vector>

namespace varnel::im {
namespace {

std::string lower_ascii(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
  return out;
}

bool runs_in_process(const std::vector<ProcessEntry>& processes, const std::string& wanted_lower,
                     std::uint32_t process_id) {
  return std::any_of(processes.begin(), processes.end(), [&](const ProcessEntry& p) {
    return p.process_id == process_id && lower_ascii(p.exe_file) == wanted_lower;
  });
}

bool title_holds(const std::string& title, std::string_view part) {
  std::string quoted;
  quoted.reserve(title.size() + 2);
  quoted.push_back('\'');
  quoted.append(title);
  quoted.push_back('\'');
  return quoted.find(part) != std::string::npos;
}

}  // namespace

WindowHandle find_top_window(WindowSystem& ws, std::string_view process_name, std::string_view class_name,
                             std::string_view title_part) {
  if (process_name.empty() && class_name.empty() && title_part.empty()) return 0;
  std::vector<ProcessEntry> processes;
  const std::string wanted_process = lower_ascii(process_name);
  if (!process_name.empty()) processes = ws.processes();

  for (WindowHandle window : ws.enum_windows()) {
    if (!ws.is_window_visible(window)) continue;
    if (!process_name.empty() &&
        !runs_in_process(processes, wanted_process, ws.window_thread_process_id(window).process_id)) {
      continue;
    }
    if (!class_name.empty() && ws.class_name(window) != class_name) continue;
    if (!title_part.empty() && !title_holds(ws.window_text(window), title_part)) continue;
    return window;
  }
  return -1;
}

}  // namespace varnel::im
