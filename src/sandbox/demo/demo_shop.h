#pragma once
// The demo shop: a few items with card keys (one with little stock), a blacklisted buyer, a message
// template, and the buyers who order from it, among them one who needs verification, one whose client
// first shows a box, and the blacklisted one.

#include <filesystem>
#include <string>
#include <vector>

namespace varnel::sandbox {

class MarketSandbox;

struct DemoOrder {
  std::string item;
  std::string nick;
  bool refuse_address_once = false;
};

inline constexpr const char* kDemoBlacklistedBuyer = "捣乱的买家";
inline constexpr const char* kDemoLowStockItem = "迅雷白金会员激活码";

// Seeds the run directory on first use (no data/data.mdb yet): the shipped database plus the demo stock,
// the blacklist and data/wx.dat. An existing database is left as it is. False with `error` on failure.
bool seed_demo_run_dir(const std::filesystem::path& run_dir, std::string& error);

// The orders waiting when the demo starts.
std::vector<DemoOrder> demo_waiting_orders();
// The n-th order placed while the demo runs (n from 0; the buyers take turns).
DemoOrder demo_order(int n);

// Places the order in the simulated marketplace; returns its number.
std::string place_demo_order(MarketSandbox& market, const DemoOrder& order);

}  // namespace varnel::sandbox
