#include "market/market_login.h"

#include "market/http_engine.h"
#include "market/url_text.h"
#include "text/encoding.h"
#include "text/gbk_search.h"

namespace varnel::market {
namespace {

std::string upper_hex(std::string_view bytes) {
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    out.push_back(hex[c >> 4]);
    out.push_back(hex[c & 0x0F]);
  }
  return out;
}

}  // namespace

std::string login_form_body(std::string_view account, std::string_view password, const Endpoints& endpoints) {
  // Encoded text has no spaces left, so trimming it (as the form's author did) changes nothing.
  std::string body = "TPL_username=" + url_encode(account) + "&TPL_password=" + url_encode(password);
  body += "&TPL_checkcode=&need_check_code=&_tb_token_=" + endpoints.tb_token;
  body +=
      "&action=Authenticator&event_submit_do_login=anything&TPL_redirect_url=&from=tb&fc=2&style=default"
      "&css_style=&tid=" +
      endpoints.tid;
  body +=
      "&support=000001&CtrlVersion=1%2C0%2C0%2C7&loginType=4&minititle=&minipara=&pstrong=&longLogin=-1"
      "&llnick=&sign=&need_sign=&isIgnore=&popid=&callback=&guf=&not_duplite_str=&need_user_id=&poy="
      "&gvfdcname=10&gvfdcre=" +
      upper_hex(endpoints.home_page);
  body += "&from_encoding=";
  return body;
}

bool login_page_accepted(std::string_view page) {
  static const std::string marker = gb("我是买家");
  return text::gbk_find(text::until_nul(page), marker) != std::string_view::npos;
}

bool market_login(std::string_view account, std::string_view password, const Endpoints& endpoints,
                  const Timing& timing) {
  HttpOptions options;
  options.method = "POST";
  options.body = login_form_body(account, password, endpoints);
  options.ca_file = endpoints.ca_file;
  return login_page_accepted(
      http_request(endpoint_address(endpoints, endpoints.login_host, "/member/login.jhtml"), options, timing));
}

void market_logout(const Endpoints& endpoints, const Timing& timing) {
  HttpOptions options;
  options.ca_file = endpoints.ca_file;
  http_request(endpoint_address(endpoints, endpoints.login_host, "/member/logout.jhtml?f=top"), options, timing);
}

}  // namespace varnel::market
