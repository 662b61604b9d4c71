#include "app/operation_log.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QThread>

namespace varnel::app {

std::string log_line(const text::LocalTime& at, const std::string& text) {
  return text::log_timestamp(at) + kLogSeparator + text + "\r\n";
}

OperationLog::OperationLog(text::Clock clock, QObject* parent) : QObject(parent), clock_(std::move(clock)) {
  // Lines logged on worker threads reach the box through the window thread's event queue, whole.
  connect(this, &OperationLog::lines_pending, this, &OperationLog::show_pending, Qt::QueuedConnection);
}

void OperationLog::log(const std::string& text) {
  std::string line = log_line(clock_(), text);
  std::function<void(const std::string&)> mirror;
  {
    std::lock_guard lock(mutex_);
    text_ += line;
    mirror = mirror_;
  }
  if (mirror) mirror(line.substr(0, line.size() - 2));
  if (QThread::currentThread() == thread())
    show_pending();
  else
    emit lines_pending();
}

std::string OperationLog::text() const {
  std::lock_guard lock(mutex_);
  return text_;
}

void OperationLog::attach(QPlainTextEdit* box) {
  box_ = box;
  box_->setReadOnly(true);
  box_->setMaximumBlockCount(0);  // a whole day's run must fit
  box_->clear();
  shown_ = 0;
  show_pending();
}

void OperationLog::set_mirror(std::function<void(const std::string&)> mirror) {
  std::lock_guard lock(mutex_);
  mirror_ = std::move(mirror);
}

// Shows everything logged and not yet shown, so the box keeps the order of the log whichever thread logged.
void OperationLog::show_pending() {
  if (!box_) return;
  QString pending;
  {
    std::lock_guard lock(mutex_);
    if (shown_ == text_.size()) return;
    pending = QString::fromStdString(text_.substr(shown_));
    shown_ = text_.size();
  }
  pending.replace("\r\n", "\n");
  pending.chop(1);
  box_->appendPlainText(pending);
  box_->moveCursor(QTextCursor::End);
  box_->verticalScrollBar()->setValue(box_->verticalScrollBar()->maximum());
}

}  // namespace varnel::app
