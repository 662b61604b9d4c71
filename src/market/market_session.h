#pragma once
// The marketplace login as the rest of the program sees it. The session itself is the cookies the
// HTTP engine keeps; this only remembers the account, and an empty account means logged out.

#include <string>

namespace varnel::market {

struct MarketSession {
  std::string account;  // UTF-8, as typed by the operator

  bool logged_in() const { return !account.empty(); }
};

}  // namespace varnel::market
