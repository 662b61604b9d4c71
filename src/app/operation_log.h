#pragma once
// The live operation log: one timestamped line per call, callable from any thread. It keeps the whole
// run's text for the day's log file and shows every line in the log box, newest in view.

#include <QObject>

#include <functional>
#include <mutex>
#include <string>

#include "text/date_text.h"

class QPlainTextEdit;

namespace varnel::app {

inline constexpr const char* kLogSeparator = "   ：   ";

// One log line: timestamp, separator, text, CR LF.
std::string log_line(const text::LocalTime& at, const std::string& text);

class OperationLog : public QObject {
  Q_OBJECT
 public:
  explicit OperationLog(text::Clock clock, QObject* parent = nullptr);

  void log(const std::string& text);
  std::string text() const;
  // The box shows every line from now on; the operator cannot type into it.
  void attach(QPlainTextEdit* box);
  // Also hands every line (without CR LF) to `mirror`, on the logging thread: the autopilot's stdout.
  void set_mirror(std::function<void(const std::string&)> mirror);
  std::function<void(const std::string&)> sink() {
    return [this](const std::string& t) { log(t); };
  }

 signals:
  void lines_pending();

 private:
  void show_pending();

  text::Clock clock_;
  mutable std::mutex mutex_;
  std::string text_;
  size_t shown_ = 0;  // bytes of text_ already in the box
  std::function<void(const std::string&)> mirror_;
  QPlainTextEdit* box_ = nullptr;
};

}  // namespace varnel::app
