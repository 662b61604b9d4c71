#pragma once
// The operator login window: the only way into the program.

#include <QWidget>

#include <memory>

#include "store/db_connection.h"
#include "store/db_recordset.h"

namespace Ui {
class LoginWindow;
}

namespace varnel::app {

class LoginWindow : public QWidget {
  Q_OBJECT
 public:
  explicit LoginWindow(std::string database_path, QWidget* parent = nullptr);
  ~LoginWindow() override;

  // Opens login_db; on failure says so and stays open, and every login attempt then does nothing.
  bool open_database();

 signals:
  // The account as typed. The receiver opens the main window; this window then closes itself.
  void operator_accepted(const QString& account);

 private slots:
  void operator_login();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  std::unique_ptr<Ui::LoginWindow> ui_;
  std::string database_path_;
  store::DbConnection login_db_;
  store::DbRecordset login_rs_;
};

}  // namespace varnel::app
