#pragma once
// The pages of the simulated marketplace, as GB18030 bytes with the markers the program cuts.

#include <string>
#include <vector>

namespace varnel::sandbox {

enum class OrderState { paid, shipped, closed };

// The status text the sold-items page shows for a state.
std::string status_text(OrderState state);

struct Person {
  std::string name;
  std::string province;
  std::string district;  // city and district
  std::string address;
  std::string zip;
  std::string mobile;
};

struct ListedOrder {
  std::string number;
  std::string item;
  std::string nick;
  OrderState state = OrderState::paid;
};

namespace pages {

std::string login_form();
std::string login_failed();
std::string login_result(const std::string& account);
std::string logged_out();
// Orders in the order given, each as one block between the block markers.
std::string sold_items(const std::string& account, const std::vector<ListedOrder>& orders);
std::string consign_form(const ListedOrder& order, const std::string& token, const Person& receiver,
                         const Person& sender);
std::string unknown_order();
std::string consign_refused_address();
std::string consign_done(const std::string& number);
std::string consign_error(const std::string& message);
std::string not_found();

}  // namespace pages
}  // namespace varnel::sandbox
