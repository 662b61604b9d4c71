#include "app/main_window.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QUrl>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/delivery_controls.h"
#include "app/im_init_controller.h"
#include "app/list_view.h"
#include "app/log_file.h"
#include "app/market_login_area.h"
#include "im/pump_delay.h"
#include "market/endpoints.h"
#include "store/schema.h"
#include "text/encoding.h"
#include "ui/report.h"
#include "ui_main_window.h"

namespace varnel::app {
namespace {

// A template file is GB18030 text up to its first zero byte; a missing file is empty text.
std::string read_template(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return text::gb_to_utf8(text::until_nul(bytes.str()));
}

}  // namespace

MainWindow::MainWindow(ProgramContext& context, QWidget* parent)
    : QWidget(parent), context_(context), ui_(std::make_unique<Ui::MainWindow>()) {
  ui_->setupUi(this);
  setAttribute(Qt::WA_DeleteOnClose, false);
  setFixedSize(700, 521);
  move(50, 50);

  set_columns(ui_->首页队列超级列表框, {40, 120, 230, 100, 40});
  set_columns(ui_->首页失败超级列表框, {40, 120, 100, 100, 100, 50});
  set_columns(ui_->首页等待评价超级列表框, {40, 100, 270, 120});
  set_columns(ui_->首页记录超级列表框, {40, 100, 190, 120, 80});
  set_columns(ui_->首页黑名单超级列表框, {40, 120, 270, 100});
  ui_->开始提示标签->hide();
  context_.log.attach(ui_->操作历史编辑框);

  QPushButton* nav[] = {ui_->首页按钮, ui_->出售记录按钮, ui_->卡密管理按钮, ui_->黑名单按钮, ui_->系统管理按钮};
  for (int page = 0; page < 5; ++page)
    connect(nav[page], &QPushButton::clicked, this, [this, page] { ui_->导航高级选择夹->setCurrentIndex(page); });
  connect(ui_->导航高级选择夹, &QTabWidget::currentChanged, this, &MainWindow::page_changed);
  connect(ui_->系统管理高级选择夹, &QTabWidget::currentChanged, this, [this](int index) {
    if (index == 2) ui_->修改密码帐号标签->setText(QString::fromStdString(context_.state.operator_account));
  });
  connect(ui_->关闭图形按钮, &QPushButton::clicked, this, &QWidget::close);
  connect(ui_->最小化图形按钮, &QPushButton::clicked, this, &QWidget::showMinimized);
  connect(ui_->图片框1, &QLabel::linkActivated, this,
          [] { QDesktopServices::openUrl(QUrl(QString::fromLatin1(kProductPage))); });

  const market::Endpoints endpoints =
      market::load_endpoints(market::endpoints_file(context_.run_dir), context_.log.sink());
  delivery_ = std::make_unique<DeliveryControls>(
      DeliveryControls::Controls{ui_->开始超级按钮, ui_->开始提示标签, ui_->首页队列超级列表框,
                                 ui_->首页失败超级列表框, ui_->首页黑名单超级列表框},
      context_, endpoints);
  market_area_ = new MarketLoginArea(
      {ui_->登陆淘宝按钮, ui_->淘宝用户编辑框, ui_->登陆淘宝注消按钮, ui_->主_信息标签}, context_.market_session,
      endpoints, context_.timing, context_.log.sink(), [this] { delivery_->pause_if_running(); }, this);
  market_area_->set_login_hint(context_.market_login_hint);
  im_init_ = new ImInitController(
      ui_->初始化旺旺按钮, ui_->主_信息标签, context_.window_system, delivery_->im_windows(),
      [this] { return context_.market_session.account; }, context_.log.sink(), this);
  // Connected after the controller's own handler, so the engine gets the windows it has just found.
  connect(ui_->初始化旺旺按钮, &QPushButton::clicked, this, [this] { delivery_->im_initialised(); });
}

MainWindow::~MainWindow() { run_exit_sequence(); }

bool MainWindow::start() {
  // A previous main window's exit ended every wait; this one's waits run again.
  im::resume_delays();
  context_.state.running = false;
  context_.state.set_message_template(read_template(context_.run_dir + "/data/wx.dat"));
  context_.state.set_rating_text(read_template(context_.run_dir + "/data/pj.dat"));
  if (main_db_.open(context_.database_path(), store::kDatabasePassword)) {
    main_rs_.attach(main_db_);
    return true;
  }
  ui::report(this, "数据库打开出错!");
  close();
  return false;
}

void MainWindow::on_page_entered(int page, std::function<void()> hook) { page_hooks_[page] = std::move(hook); }

void MainWindow::page_changed(int page) {
  auto hook = page_hooks_.find(page);
  if (hook != page_hooks_.end() && hook->second) hook->second();
}

bool MainWindow::logged_in_to_market() const { return context_.market_session.logged_in(); }

void MainWindow::closeEvent(QCloseEvent* event) {
  if (exited_) return event->accept();
  if (logged_in_to_market()) {
    ui::report(this, "为了你的数据安全,请注销淘宝后再退出!");
    return event->ignore();
  }
  run_exit_sequence();
  event->accept();
}

void MainWindow::run_exit_sequence() {
  if (exited_) return;
  exited_ = true;
  // Delivery stops first: no pass may be left using the database, the IM client or the session.
  delivery_->shutdown();
  market_area_->logout_if_logged_in();
  main_rs_.close();
  main_db_.close();
  append_run_log(context_.run_dir, context_.clock(), context_.log.text());
}

}  // namespace varnel::app
