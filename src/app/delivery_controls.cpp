#include "app/delivery_controls.h"

#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QTreeWidget>

#include "app/list_view.h"
#include "app/program_context.h"
#include "app/start_button_pictures.h"
#include "ui/report.h"

namespace varnel::app {
namespace {

constexpr const char* kStartCaption = "开  始 ";
constexpr const char* kPauseCaption = "暂  停 ";

std::vector<std::vector<std::string>> cells(const std::vector<delivery::OrderRow>& rows, bool retry_columns) {
  std::vector<std::vector<std::string>> out;
  out.reserve(rows.size());
  for (const auto& r : rows) {
    if (retry_columns)
      out.push_back({r.sequence, r.order_number, r.item_name, r.buyer_nick, r.status, r.attempts});
    else
      out.push_back({r.sequence, r.order_number, r.item_name, r.buyer_nick});
  }
  return out;
}

}  // namespace

DeliveryControls::DeliveryControls(Controls controls, ProgramContext& context, market::Endpoints endpoints,
                                   QObject* parent)
    : QObject(parent), controls_(controls), context_(context) {
  for (size_t i = 0; i < timers_.size(); ++i) {
    timers_[i].setSingleShot(true);
    connect(&timers_[i], &QTimer::timeout, this, [this, i] {
      if (!shut_down_) engine_->timer_fired(static_cast<delivery::TimerId>(i));
    });
  }
  engine_ = std::make_unique<delivery::DeliveryEngine>(
      context.state, context.window_system, *this, context.log.sink(),
      delivery::EngineConfig{context.database_path(), std::move(endpoints), context.timing, context.clock});
  engine_->set_on_paused([this] { QMetaObject::invokeMethod(this, [this] { show_state(false); }, Qt::QueuedConnection); });
  watch(engine_->queue(), controls_.queue_view, false);
  watch(engine_->retry_list(), controls_.retry_view, true);
  watch(engine_->blacklist_records(), controls_.blacklist_view, false);

  controls_.start_button->setCheckable(true);
  controls_.start_button->setIconSize(QSize(32, 32));
  connect(controls_.start_button, &QPushButton::clicked, this, &DeliveryControls::toggle);
  show_state(false);
}

DeliveryControls::~DeliveryControls() { shutdown(); }

void DeliveryControls::watch(delivery::OrderList& list, QTreeWidget* view, bool retry_columns) {
  // Changes come from the passes' threads; the view is refreshed on the window thread.
  list.set_on_change([this, &list, view, retry_columns] {
    QMetaObject::invokeMethod(this, [&list, view, retry_columns] { set_rows(view, cells(list.rows(), retry_columns)); },
                              Qt::QueuedConnection);
  });
}

void DeliveryControls::toggle() {
  switch (engine_->toggle_delivery(context_.market_session.logged_in())) {
    case delivery::ToggleResult::not_logged_in:
      controls_.start_button->setChecked(false);
      ui::report(controls_.start_button->window(), "请登陆淘宝!");
      break;
    case delivery::ToggleResult::im_not_initialised:
      controls_.start_button->setChecked(false);
      ui::report(controls_.start_button->window(), "请初始化旺旺!");
      break;
    case delivery::ToggleResult::paused:
      show_state(false);
      break;
    case delivery::ToggleResult::started:
      show_state(true);
      break;
  }
}

void DeliveryControls::pause_if_running() {
  if (controls_.start_button->text() == QString::fromUtf8(kPauseCaption)) toggle();
}

void DeliveryControls::show_state(bool running) {
  QPushButton* b = controls_.start_button;
  b->setIcon(running ? running_picture() : stopped_picture());
  b->setText(QString::fromUtf8(running ? kPauseCaption : kStartCaption));
  b->setStyleSheet(running ? "QPushButton:focus { background-color: rgb(194,238,248); }"
                           : "QPushButton:focus { background-color: rgb(255,255,255); }");
  b->setChecked(running);
  controls_.running_label->setVisible(running);
}

void DeliveryControls::arm(delivery::TimerId timer, int period_ms) {
  QMetaObject::invokeMethod(
      this,
      [this, timer, period_ms] {
        if (!shut_down_) timers_[static_cast<size_t>(timer)].start(period_ms);
      },
      Qt::QueuedConnection);
}

void DeliveryControls::stop_all() {
  // The engine also pauses itself from a pass's thread; timers are only touched on the window thread.
  if (QThread::currentThread() != thread()) {
    QMetaObject::invokeMethod(this, [this] { stop_all(); }, Qt::QueuedConnection);
    return;
  }
  for (auto& t : timers_) t.stop();
}

void DeliveryControls::shutdown() {
  if (shut_down_) return;
  shut_down_ = true;
  stop_all();
  engine_->shutdown();
}

}  // namespace varnel::app
