#include "app/im_init_controller.h"

#include <QLabel>
#include <QPushButton>

#include "app/im_guide_window.h"
#include "ui/report.h"

namespace varnel::app {

ImInitController::ImInitController(QPushButton* button, QLabel* status_label, im::WindowSystem& ws, im::ImWindows& im,
                                   MarketUserFn market_user, im::LogFn log, QObject* parent)
    : QObject(parent),
      button_(button),
      status_label_(status_label),
      ws_(ws),
      im_(im),
      market_user_(std::move(market_user)),
      log_(std::move(log)) {
  connect(button_, &QPushButton::clicked, this, &ImInitController::initialise);
}

void ImInitController::initialise() {
  const std::string market_user = market_user_ ? market_user_() : std::string();
  const auto outcome =
      im::initialise_im(ws_, im_, market_user, log_, [this](im::ImInitOutcome o) { tell_operator(o); });
  if (outcome == im::ImInitOutcome::failed) status_label_->setText("旺旺初始化-失败");
}

void ImInitController::tell_operator(im::ImInitOutcome outcome) {
  QWidget* owner = button_->window();
  switch (outcome) {
    case im::ImInitOutcome::not_logged_in:
      ui::report(owner, "请登陆淘宝和旺旺!");
      break;
    case im::ImInitOutcome::failed: {
      ui::report(owner, "旺旺初始化失败,请重新初始化!");
      ImGuideWindow guide(owner);
      guide.exec();
      break;
    }
    case im::ImInitOutcome::succeeded:
      status_label_->setText("旺旺初始化-成功");
      break;
  }
}

}  // namespace varnel::app
