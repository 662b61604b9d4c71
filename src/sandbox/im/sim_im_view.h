#pragma once
// "模拟旺旺": a window that shows the simulated IM client as it runs: the front chat window's toolbar as the
// simulated screen shows it, the chat partner, the input's text, the open dialogs and the transcript.

#include <QWidget>

#include "sandbox/im/sim_desktop.h"
#include "sandbox/im/sim_im_client.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace varnel::sandbox {

class SimImView : public QWidget {
  Q_OBJECT

 public:
  SimImView(SimDesktop& desktop, SimImClient& client, QWidget* parent = nullptr);
  ~SimImView() override;

 public slots:
  void refresh();

 private:
  SimDesktop& desktop_;
  SimImClient& client_;
  int listener_ = 0;
  QLabel* toolbar_ = nullptr;
  QLabel* partner_ = nullptr;
  QLineEdit* input_ = nullptr;
  QLabel* dialogs_ = nullptr;
  QListWidget* transcript_ = nullptr;
};

}  // namespace varnel::sandbox
