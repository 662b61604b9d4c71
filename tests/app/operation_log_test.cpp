#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

#include <thread>

#include "app/operation_log.h"
#include "manual_clock.h"

using namespace varnel;

TEST(OperationLog, LineFormat) {
  EXPECT_EQ(app::log_line({2012, 3, 4, 9, 5, 7}, "成功注消淘宝登陆!"), "2012年3月4日9时5分7秒   ：   成功注消淘宝登陆!\r\n");
  EXPECT_EQ(app::log_line({2012, 3, 4, 9, 5, 0}, "x"), "2012年3月4日9时5分   ：   x\r\n");
  EXPECT_EQ(app::log_line({2012, 3, 4, 9, 0, 0}, "x"), "2012年3月4日9时   ：   x\r\n");
  EXPECT_EQ(app::log_line({2012, 3, 4, 0, 0, 0}, "x"), "2012年3月4日   ：   x\r\n");
}

TEST(OperationLog, WorkerLinesArriveWholeAndTheBoxShowsTheNewest) {
  varnel::testing::ManualClock clock({2024, 1, 2, 3, 4, 5});
  app::OperationLog log(clock.clock());
  QPlainTextEdit box;
  box.resize(685, 88);
  box.show();
  log.attach(&box);
  log.log("window thread line");
  std::vector<std::thread> workers;
  for (int w = 0; w < 4; ++w)
    workers.emplace_back([&log, w] {
      for (int i = 0; i < 250; ++i) log.log("worker " + std::to_string(w) + " line " + std::to_string(i));
    });
  for (auto& t : workers) t.join();
  log.log("last line");
  QTRY_COMPARE(box.blockCount(), 1002);
  const std::string text = log.text();
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1002);
  EXPECT_TRUE(box.isReadOnly());
  // Every line in the box is whole, and the newest is in view.
  const QStringList lines = box.toPlainText().split('\n');
  for (const QString& line : lines) EXPECT_TRUE(line.startsWith(QStringLiteral("2024年1月2日3时4分5秒   ：   "))) << line.toStdString();
  EXPECT_EQ(box.verticalScrollBar()->value(), box.verticalScrollBar()->maximum());
}
