#pragma once
// The seller's shop as the simulated marketplace keeps it: the account, the sessions of the login, the
// orders and what each request does to them. Thread-safe; no network here.

#include "sandbox/market/shop_pages.h"

#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace varnel::sandbox {

struct SellerAccount {
  std::string account = "瓦尼尔数码专营店";
  std::string password = "varnel-sandbox";
  std::string seller_id = "20240305";
};

struct NewOrder {
  std::string number;  // generated when empty
  std::string item;
  std::string nick;
  OrderState state = OrderState::paid;
  // The first consignment of this order is refused with "请选择有效的省市区".
  bool refuse_address_once = false;
};

struct ShopOrder {
  std::string number;
  std::string item;
  std::string nick;
  OrderState state = OrderState::paid;
  bool refuse_address_once = false;
  int consign_attempts = 0;

  bool operator==(const ShopOrder&) const = default;
};

// One request as the shop needs it: the path without query, the raw query, the cookie header, the body.
struct ShopRequest {
  std::string method;
  std::string path;
  std::string query;
  std::string cookie;
  std::string body;
};

struct ShopResponse {
  int status = 200;
  std::string body;  // GB18030
  std::vector<std::pair<std::string, std::string>> headers;
};

class SandboxShop {
 public:
  explicit SandboxShop(SellerAccount account);

  const SellerAccount& account() const { return account_; }
  // An order whose number exists already replaces it. Returns the order number.
  std::string add_order(NewOrder order);
  std::vector<ShopOrder> orders() const;
  std::optional<OrderState> order_state(const std::string& number) const;
  std::vector<std::string> shipped() const;

  ShopResponse handle(const ShopRequest& request);

 private:
  struct Session {
    std::string token;
  };
  ShopResponse login(const ShopRequest& request);
  ShopResponse login_result(const ShopRequest& request);
  ShopResponse logout(const ShopRequest& request);
  ShopResponse sold_items(const ShopRequest& request);
  ShopResponse consign_page(const ShopRequest& request);
  ShopResponse consign(const ShopRequest& request);

  // Called with the lock held.
  const Session* session_of(const ShopRequest& request) const;
  ShopOrder* find_order(const std::string& number);
  std::string random_hex(size_t digits);

  const SellerAccount account_;
  mutable std::mutex mutex_;
  std::map<std::string, Session> sessions_;  // by the cookie value
  std::vector<ShopOrder> orders_;            // oldest first
  std::vector<std::string> shipped_;
  std::mt19937_64 rng_;
  long long next_number_ = 0;
};

// The buyer's address that the consign page shows for an order, the same on every call.
Person receiver_of(const std::string& order_number);
// The seller's own address.
Person seller_address();

}  // namespace varnel::sandbox
