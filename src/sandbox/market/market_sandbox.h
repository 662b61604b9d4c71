#pragma once
// The simulated marketplace: a real HTTP server on 127.0.0.1 that plays the login, trade and logistics
// hosts, in front of one seller's shop. Tests and the demo add paid orders at any time and read what
// was shipped and every request that came in. Thread-safe.

#include "sandbox/market/sandbox_shop.h"

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace varnel::sandbox {

struct RecordedRequest {
  std::string method;
  std::string target;  // path and query as sent
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;

  // The first header of that name (any case), or empty.
  std::string header(const std::string& name) const;
};

class MarketSandbox {
 public:
  // Starts serving on a free port; running() tells whether that worked.
  explicit MarketSandbox(SellerAccount account = {});
  ~MarketSandbox();
  MarketSandbox(const MarketSandbox&) = delete;
  MarketSandbox& operator=(const MarketSandbox&) = delete;

  bool running() const { return port_ > 0; }
  int port() const { return port_; }
  // "127.0.0.1:port", the value of all three hosts.
  std::string host() const;

  const std::string& account() const { return shop_.account().account; }
  const std::string& password() const { return shop_.account().password; }
  const std::string& seller_id() const { return shop_.account().seller_id; }

  std::string add_order(NewOrder order) { return shop_.add_order(std::move(order)); }
  std::string add_paid_order(const std::string& number, const std::string& item, const std::string& nick) {
    return shop_.add_order({number, item, nick});
  }
  std::vector<ShopOrder> orders() const { return shop_.orders(); }
  std::optional<OrderState> order_state(const std::string& number) const { return shop_.order_state(number); }
  // Order numbers in the order they were shipped.
  std::vector<std::string> shipped() const { return shop_.shipped(); }

  // The most recent requests (up to kKeptRequests), oldest first.
  std::vector<RecordedRequest> requests() const;
  void clear_requests();
  static constexpr size_t kKeptRequests = 10000;

 private:
  struct Server;
  void record(RecordedRequest request);

  SandboxShop shop_;
  std::unique_ptr<Server> server_;
  int port_ = 0;
  mutable std::mutex requests_mutex_;
  std::vector<RecordedRequest> requests_;
};

// Writes data/endpoints.ini of the run directory so that the program talks to this sandbox.
bool write_sandbox_endpoints(const std::filesystem::path& run_dir, const MarketSandbox& sandbox);

}  // namespace varnel::sandbox
