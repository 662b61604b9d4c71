#include "ui/report.h"

#include <QMessageBox>
#include <QString>

namespace varnel::ui {
namespace {

ReportSink& sink() {
  static ReportSink s;
  return s;
}

}  // namespace

void report(QWidget* parent, const std::string& text, const std::string& caption) {
  if (sink()) {
    sink()(caption, text);
    return;
  }
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption), QString::fromStdString(text),
                  QMessageBox::Ok, parent);
  box.setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
  box.exec();
}

void set_report_sink(ReportSink s) { sink() = std::move(s); }

}  // namespace varnel::ui
