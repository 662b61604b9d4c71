#pragma once
// Captures the message boxes the program would show, so no test blocks on a modal box.

#include <string>
#include <vector>

#include "ui/report.h"

namespace varnel::testing {

struct ReportedBox {
  std::string caption;
  std::string text;
};

class ReportCapture {
 public:
  ReportCapture() {
    ui::set_report_sink([this](const std::string& caption, const std::string& text) {
      boxes.push_back({caption, text});
    });
  }
  ~ReportCapture() { ui::set_report_sink({}); }
  ReportCapture(const ReportCapture&) = delete;
  ReportCapture& operator=(const ReportCapture&) = delete;

  // The texts shown since the last call.
  std::vector<std::string> take() {
    std::vector<std::string> texts;
    for (auto& b : boxes) texts.push_back(b.text);
    boxes.clear();
    return texts;
  }

  std::vector<ReportedBox> boxes;
};

}  // namespace varnel::testing
