#include "market/consignment.h"

#include "market/http_engine.h"
#include "market/url_text.h"
#include "text/encoding.h"
#include "text/gbk_search.h"

namespace varnel::market {
namespace {

bool contains(std::string_view page, std::string_view utf8_marker) {
  return text::gbk_find(text::until_nul(page), gb(utf8_marker)) != std::string_view::npos;
}

struct FieldMarker {
  std::string ConsignFields::*field;
  const char* start;
  const char* end;
};

constexpr FieldMarker kFieldMarkers[] = {
    {&ConsignFields::token, "'_tb_token_' type='hidden' value='", "'>"},
    {&ConsignFields::order_id, "\"orderId\" value=\"", "\" />"},
    {&ConsignFields::province, "\"province\" value=\"", "\" />"},
    {&ConsignFields::receiver_name, "contactName\" name=\"_fmw.r._0.c\" value=\"", "\" />"},
    {&ConsignFields::receiver_province, "province\" name=\"_fmw.r._0.p\" value=\"", "\" />"},
    {&ConsignFields::receiver_district_address, "dDDAdr\" name=\"_fmw.r._0.dd\" value=\"", "\" />"},
    {&ConsignFields::receiver_address, "address\" name=\"_fmw.r._0.ad\" value=\"", "\" />"},
    {&ConsignFields::receiver_zip, "zipCode\" name=\"_fmw.r._0.z\" value=\"", "\" />"},
    {&ConsignFields::sender_contact_id, "contactId\" name=\"_fmw.s._0.co\" value=\"", "\" />"},
    {&ConsignFields::sender_country_id, "countryId\" name=\"_fmw.s._0.coun\" value=\"", "\"/>"},
    {&ConsignFields::sender_name, "contactName\" name=\"_fmw.s._0.c\" value=\"", "\" />"},
    {&ConsignFields::sender_area, "adr\" name=\"_fmw.s._0.adr\" value=\"", "\" />"},
    {&ConsignFields::sender_district_address, "dDDAdr\" name=\"_fmw.s._0.dd\" value=\"", "\" />"},
    {&ConsignFields::sender_address, "address\" name=\"_fmw.s._0.ad\" value=\"", "\" />"},
    {&ConsignFields::sender_zip, "zipCode\" name=\"_fmw.s._0.z\" value=\"", "\" />"},
    {&ConsignFields::sender_mobile, "mobilePhone\" name=\"_fmw.s._0.m\" value=\"", "\" />"},
};

// The sender group, sent once as _fmw.s and once more as _fmw.f.
std::string sender_group(const ConsignFields& f, char group) {
  const std::string g = std::string("&_fmw.") + group + "._0.";
  std::string out;
  out += g + "co=" + url_encode_gb(f.sender_contact_id);
  out += g + "coun=" + url_encode_gb(f.sender_country_id);
  out += g + "c=" + url_encode_gb(f.sender_name);
  out += g + "p=" + g + "ci=" + g + "cou=" + g + "adr=" + url_encode_gb(f.sender_area);
  out += g + "dd=" + url_encode_gb(f.sender_district_address);
  out += g + "ad=" + url_encode_gb(f.sender_address);
  out += g + "z=" + url_encode_gb(f.sender_zip);
  out += g + "ddd=" + g + "ph=" + g + "b=" + g + "t=" + g + "m=" + url_encode_gb(f.sender_mobile);
  return out;
}

}  // namespace

std::string consign_page_address(std::string_view trade_id, const Endpoints& endpoints) {
  return endpoint_address(endpoints, endpoints.logistics_host, "/user/consign.htm?trade_id=" + std::string(trade_id));
}

bool consign_page_unknown_order(std::string_view page) { return contains(page, "不存在该条订单"); }

ConsignFields cut_consign_fields(std::string_view page) {
  const std::string_view text = text::until_nul(page);
  ConsignFields fields;
  for (const FieldMarker& m : kFieldMarkers) fields.*(m.field) = std::string(text_between(text, gb(m.start), m.end));
  return fields;
}

std::string consign_form_body(const ConsignFields& f) {
  std::string body = "source=&callUrl=&_tb_token_=" + f.token;
  body += "&mailNo=&companyCode=&orderId=" + f.order_id;
  body += "&flag=&province=" + url_encode_gb(f.province);
  body +=
      "&action=user%2Fconsign_action&event_submit_do_online_consign=&event_submit_do_offline_consign="
      "&event_submit_do_dummy=1&event_submit_do_limit_consign=&event_submit_do_cod_consign="
      "&event_submit_do_store_consign=&event_submit_do_refresh_address=&event_submit_do_refresh_store="
      "&event_submit_do_store_cod_consign=&companyId=&_fmw.r._0.coun=&_fmw.r._0.c=" +
      url_encode_gb(f.receiver_name);
  body += "&_fmw.r._0.p=" + url_encode_gb(f.receiver_province);
  body += "&_fmw.r._0.ci=&_fmw.r._0.d=&_fmw.r._0.cou=&_fmw.r._0.adr=&_fmw.r._0.dd=" +
          url_encode_gb(f.receiver_district_address);
  body += "&_fmw.r._0.ad=" + url_encode_gb(f.receiver_address);
  body += "&_fmw.r._0.z=" + url_encode_gb(f.receiver_zip);
  // The memo placeholder of the marketplace's own form, already encoded.
  body +=
      "&_fmw.r._0.ddd=&_fmw.r._0.ph=&_fmw.r._0.b=&_fmw.r._0.t=&_fmw.r._0.mo=&_fmw.n._0.g="
      "%C4%FA%BF%C9%D2%D4%D4%DA%B4%CB%CA%E4%C8%EB%B1%B8%CD%FC%D0%C5%CF%A2%A3%A8%BD%F6%C2%F4%BC%D2%D7%D4%BC%BA%BF%C9"
      "%BC%FB%A3%A9%A1%A3";
  body += sender_group(f, 's');
  body += sender_group(f, 'f');
  body += "&companyName=%C7%EB%CA%E4%C8%EB%CE%EF%C1%F7%B9%AB%CB%BE%C3%FB%B3%C6";
  return body;
}

bool consign_dummy(std::string_view trade_id, std::string_view page, const Endpoints& endpoints, const Timing& timing) {
  if (consign_page_unknown_order(page)) return false;
  HttpOptions options;
  options.method = "POST";
  options.body = consign_form_body(cut_consign_fields(page));
  options.ca_file = endpoints.ca_file;
  const std::string address = consign_page_address(trade_id, endpoints);
  std::string answer = http_request(address, options, timing);
  if (contains(answer, "请选择有效的省市区")) answer = http_request(address, options, timing);
  return contains(answer, "正在读取物流信息");
}

}  // namespace varnel::market
