#pragma once
// The working window from login to exit: the five pages, the navigation, the log box and the exit
// sequence that stops delivery, logs out, closes the database and saves the day's log.

#include <QWidget>

#include <functional>
#include <map>
#include <memory>

#include "app/program_context.h"
#include "store/db_connection.h"
#include "store/db_recordset.h"

namespace Ui {
class MainWindow;
}

namespace varnel::app {

class DeliveryControls;
class ImInitController;
class MarketLoginArea;

inline constexpr const char* kProductPage = "http://item.taobao.com/item.htm?id=5820471";

class MainWindow : public QWidget {
  Q_OBJECT
 public:
  explicit MainWindow(ProgramContext& context, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The creation steps: templates loaded, main_db opened. On a database failure the window says so and
  // closes itself (running the exit sequence); returns whether it stays.
  bool start();

  // Runs when the navigation tab control switches to the page (page hooks of the record pages).
  void on_page_entered(int page, std::function<void()> hook);

  store::DbConnection& main_db() { return main_db_; }
  store::DbRecordset& main_rs() { return main_rs_; }
  Ui::MainWindow& ui() { return *ui_; }
  DeliveryControls& delivery() { return *delivery_; }
  bool exited() const { return exited_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void page_changed(int page);
  bool logged_in_to_market() const;
  void run_exit_sequence();

  ProgramContext& context_;
  std::unique_ptr<Ui::MainWindow> ui_;
  store::DbConnection main_db_;
  store::DbRecordset main_rs_;
  std::map<int, std::function<void()>> page_hooks_;
  MarketLoginArea* market_area_ = nullptr;
  ImInitController* im_init_ = nullptr;
  std::unique_ptr<DeliveryControls> delivery_;
  bool exited_ = false;
};

}  // namespace varnel::app
