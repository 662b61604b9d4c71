#pragma once
// Every message box of the program goes through report(): task-modal, one OK button, no icon.
// Tests install a sink instead, so no test ever blocks on a modal box.

#include <functional>
#include <string>

class QWidget;

namespace varnel::ui {

inline constexpr const char* kInfoCaption = "信息：";

void report(QWidget* parent, const std::string& text, const std::string& caption = kInfoCaption);

using ReportSink = std::function<void(const std::string& caption, const std::string& text)>;
// While a sink is set, report() hands it the box instead of showing one. An empty sink restores boxes.
void set_report_sink(ReportSink sink);

}  // namespace varnel::ui
