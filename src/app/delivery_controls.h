#pragma once
// The home page's delivery controls: the start button and its label, the three timers of the passes, and
// the list views that show the engine's queue, retry list and blacklist records.

#include <QObject>
#include <QTimer>

#include <array>
#include <memory>

#include "delivery/delivery_engine.h"
#include "im/im_windows.h"

class QPushButton;
class QLabel;
class QTreeWidget;

namespace varnel::app {

struct ProgramContext;

class DeliveryControls : public QObject, public delivery::TimersPort {
  Q_OBJECT
 public:
  struct Controls {
    QPushButton* start_button;    // 开始超级按钮
    QLabel* running_label;        // 开始提示标签
    QTreeWidget* queue_view;      // 首页队列超级列表框
    QTreeWidget* retry_view;      // 首页失败超级列表框
    QTreeWidget* blacklist_view;  // 首页黑名单超级列表框
  };

  DeliveryControls(Controls controls, ProgramContext& context, market::Endpoints endpoints, QObject* parent = nullptr);
  ~DeliveryControls() override;

  delivery::DeliveryEngine& engine() { return *engine_; }
  // The IM windows the initialisation fills; handed to the engine after every initialisation.
  im::ImWindows& im_windows() { return im_windows_; }
  void im_initialised() { engine_->set_im(im_windows_); }

  void toggle();
  // The marketplace logout pauses delivery first.
  void pause_if_running();
  // The exit sequence: stops the timers and the passes.
  void shutdown();

  void arm(delivery::TimerId timer, int period_ms) override;
  void stop_all() override;

 private:
  void show_state(bool running);
  void watch(delivery::OrderList& list, QTreeWidget* view, bool retry_columns);

  Controls controls_;
  ProgramContext& context_;
  im::ImWindows im_windows_;
  std::array<QTimer, 3> timers_;
  bool shut_down_ = false;
  std::unique_ptr<delivery::DeliveryEngine> engine_;
};

}  // namespace varnel::app
