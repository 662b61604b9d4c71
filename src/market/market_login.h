#pragma once
// Logging the program in to the seller's marketplace account and out again.

#include "market/endpoints.h"
#include "text/timing.h"

#include <string>
#include <string_view>

namespace varnel::market {

// The login form: the encoded account and password, then the fixed fields. Texts are UTF-8.
std::string login_form_body(std::string_view account, std::string_view password, const Endpoints& endpoints);

// A login page is accepted when "我是买家" occurs anywhere in it (GB18030 bytes).
bool login_page_accepted(std::string_view page);

// Posts the login form; true when the answer is accepted. The cookies of the answer stay with the
// HTTP engine for every later request.
bool market_login(std::string_view account, std::string_view password, const Endpoints& endpoints,
                  const Timing& timing);

// Sends the logout request; its answer does not matter.
void market_logout(const Endpoints& endpoints, const Timing& timing);

}  // namespace varnel::market
