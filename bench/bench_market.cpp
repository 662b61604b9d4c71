// Cutting a sold-items page of 1,000 order blocks into orders (target: 10 ms or less).

#include "market/sold_items.h"
#include "market/url_text.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// A page the size of the marketplace's own: each block carries the table markup around its fields.
std::string sold_items_page(int blocks) {
  std::string page =
      varnel::market::gb("<html><head><title>已卖出的宝贝</title><script>var x = 1;</script></head><body>\n");
  for (int i = 0; i < blocks; ++i) {
    const std::string number = std::to_string(3000000000LL + i);
    page += varnel::market::gb(
        "<!--start 子订单list  start-->\n<tbody class=\"J_Order\"><tr id=\"item" + number +
        "\" class=\"order-hd\"><td class=\"col1\"><label><input type=\"checkbox\" name=\"biz\" value=\"" + number +
        "\"/>订单号:" + number +
        "</label><span class=\"deal-time\">成交时间:2024-03-05 13:05:09</span></td></tr>\n"
        "<tr class=\"order-bd\"><td class=\"item\"><a href=\"//item.example/" +
        number + "\" title=\"查看宝贝详情\" target=\"_blank\">游戏点卡 " + std::to_string(i % 17) +
        " 元充值卡 自动发货</a></td><td class=\"price\">￥100.00</td><td class=\"status\">"
        "<strong class=\"J_TradeStatus status todo h\">" +
        (i % 3 ? "买家已付款" : "卖家已发货") +
        "</strong></td><td class=\"buyer\"><a class=\"J_WangWang\" data-nick=\"买家" + std::to_string(i) +
        "\" data-display=\"inline\" href=\"#\"></a></td></tr></tbody>\n<!--end 子订单list  end-->\n");
  }
  return page + "</body></html>";
}

void BM_CutSoldItemsPage(benchmark::State& state) {
  const std::string page = sold_items_page(1000);
  for (auto _ : state) {
    auto orders = varnel::market::cut_sold_items(page);
    benchmark::DoNotOptimize(orders);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_CutSoldItemsPage)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
