#pragma once
// The placement guide: a picture of where the IM chat window and its toolbar must be, shown when the IM
// initialisation failed.

#include <QDialog>

namespace varnel::app {

class ImGuideWindow : public QDialog {
  Q_OBJECT

 public:
  explicit ImGuideWindow(QWidget* owner);
};

}  // namespace varnel::app
