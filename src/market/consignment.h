#pragma once
// Marking a paid order shipped with the consign form's dummy option (no logistics).

#include "market/endpoints.h"
#include "text/timing.h"

#include <string>
#include <string_view>

namespace varnel::market {

// The values the consign form needs, as GB18030 bytes cut out of the order's consign page.
struct ConsignFields {
  std::string token;
  std::string order_id;
  std::string province;
  std::string receiver_name;
  std::string receiver_province;
  std::string receiver_district_address;
  std::string receiver_address;
  std::string receiver_zip;
  std::string sender_contact_id;
  std::string sender_country_id;
  std::string sender_name;
  std::string sender_area;
  std::string sender_district_address;
  std::string sender_address;
  std::string sender_zip;
  std::string sender_mobile;

  bool operator==(const ConsignFields&) const = default;
};

std::string consign_page_address(std::string_view trade_id, const Endpoints& endpoints);

// True when the page says the order does not exist for this seller.
bool consign_page_unknown_order(std::string_view page);
// A field whose marker is missing stays empty.
ConsignFields cut_consign_fields(std::string_view page);
// The dummy-consignment body: the token and order id as cut, every other value percent-encoded.
std::string consign_form_body(const ConsignFields& fields);

// Posts the dummy consignment for an order whose consign page (GB18030 bytes) was fetched. Nothing is
// posted for an unknown order; a refusal for the address is answered by one identical repeat. True
// only when the marketplace confirms the shipment.
bool consign_dummy(std::string_view trade_id, std::string_view page, const Endpoints& endpoints, const Timing& timing);

}  // namespace varnel::market
