#include "delivery/order_list.h"

#include <gtest/gtest.h>

#include <thread>

namespace varnel::delivery {
namespace {

TEST(OrderList, TellsEveryChangeAndLetsTheListenerReadTheRows) {
  OrderList list;
  std::vector<size_t> seen;
  list.set_on_change([&] { seen.push_back(list.rows().size()); });
  list.push_back({"1", "A", "item", "nick", "", ""});
  list.push_back({"2", "B", "item", "nick", "", ""});
  EXPECT_TRUE(list.contains("B"));
  EXPECT_FALSE(list.contains("b"));
  EXPECT_EQ(list.front()->order_number, "A");
  EXPECT_TRUE(list.pop_front());
  EXPECT_TRUE(list.pop_front());
  EXPECT_FALSE(list.pop_front());  // nothing changed, nothing told
  EXPECT_FALSE(list.front());
  EXPECT_EQ(seen, (std::vector<size_t>{1, 2, 1, 0}));
}

TEST(OrderList, AWriterAndReadersOnOtherThreads) {
  OrderList list;
  std::atomic<int> changes{0};
  list.set_on_change([&] { ++changes; });
  std::thread writer([&] {
    for (int i = 0; i < 2000; ++i) {
      list.push_back({std::to_string(i), std::to_string(i), "", "", "", ""});
      if (i % 2) list.pop_front();
    }
  });
  std::thread reader([&] {
    for (int i = 0; i < 2000; ++i) {
      for (const OrderRow& row : list.rows()) ASSERT_EQ(row.sequence, row.order_number);
      list.contains("1999");
    }
  });
  writer.join();
  reader.join();
  EXPECT_EQ(list.size(), 1000u);
  EXPECT_EQ(list.front()->order_number, "1000");
  EXPECT_EQ(changes, 3000);
}

}  // namespace
}  // namespace varnel::delivery
