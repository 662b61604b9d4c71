#include "market/sold_items.h"

#include "market_test_support.h"
#include "raw_server.h"
#include "sold_items_page.h"

#include <gtest/gtest.h>

#include <random>

namespace varnel::market {
namespace {

using testing::sold_block;
using testing::sold_page;

TEST(SoldItems, QueryBodyIsTheFixedText) {
  EXPECT_EQ(sold_items_query_body("87654321"),
            "event_submit_do_query=1&isArchive=false&isArchiveDefault=0&user_type=1&pageNum=1&order=desc"
            "&order_type=orderList&isQueryMore=false&select_shop_name=&isOwnOfficialShop=false&sellerNumID=87654321"
            "&auctionTitle=&bizOrderTimeBegin=&bizOrderHourBegin=00&bizOrderMinBegin=00&bizOrderTimeEnd="
            "&bizOrderHourEnd=00&bizOrderMinEnd=00&buyerNick=&auctionStatus=PAID&commentStatus=ALL&bizOrderId="
            "&logisticsService=ALL&tradeDissension=ALL&queryTag=0&shopName=All&action=itemlist%2FQueryAction"
            "&fromTag=true");
}

TEST(SoldItems, QueryPostsToTheTradeHostAndStopsAtTheFirstZeroByte) {
  testing::RawServer server([](const std::string&, int) {
    return testing::RawServer::Answer{testing::RawServer::reply(std::string("page\0tail", 9))};
  });
  Endpoints e = testing::loopback_endpoints(server.port());
  e.seller_id = "11112222";
  EXPECT_EQ(query_sold_items(e, testing::fast_timing()), "page");
  EXPECT_EQ(server.requests().at(0), testing::expected_post(server.port(), "/trade/itemlist/list_sold_items.htm",
                                                            sold_items_query_body("11112222")));
}

TEST(SoldItems, CutsEveryBlockInPageOrder) {
  const std::string page = sold_page(sold_block("1001", "买家已付款", "游戏点卡 100元", "买家一号") +
                                     sold_block("1002", "卖家已发货", "会员月卡", "buyer_2") +
                                     sold_block("1001", "买家已付款", "游戏点卡 100元", "买家一号"));
  const std::vector<SoldOrder> expected = {
      {1, "买家已付款", "1001", "游戏点卡 100元", "买家一号"},
      {2, "卖家已发货", "1002", "会员月卡", "buyer_2"},
      {3, "买家已付款", "1001", "游戏点卡 100元", "买家一号"},
  };
  EXPECT_EQ(cut_sold_items(page), expected);
}

TEST(SoldItems, CuttingRuleEdges) {
  const std::string b1 = sold_block("1", "买家已付款", "A", "n1");
  struct Case {
    const char* name;
    std::string page;
    std::vector<SoldOrder> expected;
  };
  const std::string start = gb("<!--start 子订单list  start-->");
  const Case cases[] = {
      {"no blocks", gb("<html>没有订单</html>"), {}},
      {"empty page", "", {}},
      // The first search starts one marker length into the page.
      {"block at the very start", b1 + b1, {{1, "买家已付款", "1", "A", "n1"}}},
      {"last block without end marker",
       sold_page(b1 + start + "<tr id=\"item2\" class="),
       {{1, "买家已付款", "1", "A", "n1"}, {2, "", "", "", ""}}},
      {"field markers missing",
       sold_page(start + "<strong>x</strong>" + gb("<!--end 子订单list  end-->")),
       {{1, "", "", "", ""}}},
      // A field whose end marker lies only beyond the block's end stays empty.
      {"field end outside block",
       sold_page(start + "<tr id=\"item9" + gb("<!--end 子订单list  end-->") + "\" class="),
       {{1, "", "", "", ""}}},
      {"zero byte ends the page",
       sold_page(b1) + std::string(1, '\0') + sold_page(b1),
       {{1, "买家已付款", "1", "A", "n1"}}},
  };
  for (const Case& c : cases) EXPECT_EQ(cut_sold_items(c.page), c.expected) << c.name;
}

TEST(SoldItems, MarkerIsNotMatchedFromTheSecondByteOfACharacter) {
  // "\xB1<!--start..." where B1 is a lead byte: the marker's "<" is its trailing byte.
  const std::string page =
      sold_page("\xB1" + sold_block("5", "买家已付款", "A", "n") + "x" + sold_block("6", "买家已付款", "B", "m"));
  const auto orders = cut_sold_items(page);
  ASSERT_EQ(orders.size(), 1u);
  EXPECT_EQ(orders[0].order_number, "6");
}

std::string noise(size_t size, unsigned seed) {
  std::mt19937 rng(seed);
  std::string out(size, ' ');
  for (char& c : out) c = static_cast<char>(1 + rng() % 255);  // no zero byte: the whole page counts
  return out;
}

TEST(SoldItems, HostilePagesNeverCrashAndYieldNothingFalse) {
  // 50 MiB of binary noise: nothing.
  EXPECT_TRUE(cut_sold_items(noise(50u << 20, 1)).empty());
  // Noise around one real block (after a few ASCII bytes so that it starts on a character boundary).
  const std::string one =
      noise(1u << 20, 2) + "\n\n\n" + sold_block("77", "买家已付款", "卡", "n") + noise(1u << 20, 3);
  const std::vector<SoldOrder> expected = {{1, "买家已付款", "77", "卡", "n"}};
  EXPECT_EQ(cut_sold_items(one), expected);
  // Start markers only, far apart from any end marker: every block empty, and cut in linear time.
  const std::string start = gb("<!--start 子订单list  start-->");
  std::string starts = "padding padding padding padding ";
  for (int i = 0; i < 20000; ++i) starts += start + "<tr id=\"item" + std::to_string(i) + "\" class=";
  const auto orders = cut_sold_items(starts);
  ASSERT_EQ(orders.size(), 20000u);
  for (const SoldOrder& o : orders) EXPECT_EQ(o, (SoldOrder{o.position, "", "", "", ""}));
  // Truncated blocks: the last block is cut in the middle of a field.
  std::string page = sold_page(sold_block("1", "买家已付款", "A", "n") + sold_block("2", "买家已付款", "B", "m"));
  for (size_t cut = 0; cut < page.size(); cut += 7) {
    for (const SoldOrder& o : cut_sold_items(page.substr(0, cut))) {
      if (o.status == kPaidStatus) {
        EXPECT_FALSE(o.order_number.empty()) << cut;
      }
    }
  }
}

}  // namespace
}  // namespace varnel::market
