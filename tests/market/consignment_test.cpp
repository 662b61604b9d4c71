#include "market/consignment.h"

#include "market/http_engine.h"
#include "market/url_text.h"
#include "market_test_support.h"
#include "raw_server.h"

#include <gtest/gtest.h>

namespace varnel::market {
namespace {

using testing::RawServer;

// The form as the marketplace writes it; `country_close` is how the country id's tag ends.
std::string consign_page(const std::string& country_close = "\"/>") {
  return gb(
      "<html><body><form><input name='_tb_token_' type='hidden' value='t0K3n'>\n"
      "<input type=\"hidden\" name=\"orderId\" value=\"2024030512\" />\n"
      "<input type=\"hidden\" name=\"province\" value=\"浙江省\" />\n"
      "<input id=\"contactName\" name=\"_fmw.r._0.c\" value=\"张三\" />\n"
      "<input id=\"province\" name=\"_fmw.r._0.p\" value=\"浙江省\" />\n"
      "<input id=\"dDDAdr\" name=\"_fmw.r._0.dd\" value=\"杭州市 西湖区\" />\n"
      "<input id=\"address\" name=\"_fmw.r._0.ad\" value=\"文三路 100号\" />\n"
      "<input id=\"zipCode\" name=\"_fmw.r._0.z\" value=\"310000\" />\n"
      "<input id=\"contactId\" name=\"_fmw.s._0.co\" value=\"8812\" />\n"
      "<input id=\"countryId\" name=\"_fmw.s._0.coun\" value=\"1" +
      country_close +
      "\n"
      "<input id=\"contactName\" name=\"_fmw.s._0.c\" value=\"李四\" />\n"
      "<input id=\"adr\" name=\"_fmw.s._0.adr\" value=\"上海市\" />\n"
      "<input id=\"dDDAdr\" name=\"_fmw.s._0.dd\" value=\"浦东新区\" />\n"
      "<input id=\"address\" name=\"_fmw.s._0.ad\" value=\"世纪大道1号\" />\n"
      "<input id=\"zipCode\" name=\"_fmw.s._0.z\" value=\"200120\" />\n"
      "<input id=\"mobilePhone\" name=\"_fmw.s._0.m\" value=\"13800000000\" />\n"
      "</form></body></html>");
}

TEST(Consignment, PageAddressUsesTheLogisticsHost) {
  Endpoints e;
  e.logistics_host = "wuliu.example:81";
  EXPECT_EQ(consign_page_address("123", e), "http://wuliu.example:81/user/consign.htm?trade_id=123");
}

TEST(Consignment, CutsTheSixteenValues) {
  const ConsignFields f = cut_consign_fields(consign_page());
  const ConsignFields expected{
      "t0K3n",  "2024030512", gb("浙江省"), gb("张三"), gb("浙江省"), gb("杭州市 西湖区"), gb("文三路 100号"),
      "310000", "8812",       "1",          gb("李四"), gb("上海市"), gb("浦东新区"),      gb("世纪大道1号"),
      "200120", "13800000000"};
  EXPECT_EQ(f, expected);
  // The country id's tag must close without a space.
  EXPECT_EQ(cut_consign_fields(consign_page("\" />")).sender_country_id, "");
  EXPECT_EQ(cut_consign_fields("<html>nothing</html>"), ConsignFields{});
}

TEST(Consignment, BodyIsTheTwentyFivePieces) {
  const ConsignFields f = cut_consign_fields(consign_page());
  const std::string s = "%C0%EE%CB%C4";  // 李四
  const std::string sender_tail = "co=8812&_fmw.X._0.coun=1&_fmw.X._0.c=" + s +
                                  "&_fmw.X._0.p=&_fmw.X._0.ci=&_fmw.X._0.cou=&_fmw.X._0.adr=%C9%CF%BA%A3%CA%D0"
                                  "&_fmw.X._0.dd=%C6%D6%B6%AB%D0%C2%C7%F8&_fmw.X._0.ad=%CA%C0%BC%CD%B4%F3%B5%C01%BA%C5"
                                  "&_fmw.X._0.z=200120&_fmw.X._0.ddd=&_fmw.X._0.ph=&_fmw.X._0.b=&_fmw.X._0.t="
                                  "&_fmw.X._0.m=13800000000";
  auto group = [&](char g) {
    std::string out = "&_fmw.X._0." + sender_tail;
    for (size_t at = out.find('X'); at != std::string::npos; at = out.find('X', at)) out[at] = g;
    return out;
  };
  const std::string expected =
      "source=&callUrl=&_tb_token_=t0K3n&mailNo=&companyCode=&orderId=2024030512&flag=&province=%D5%E3%BD%AD%CA%A1"
      "&action=user%2Fconsign_action&event_submit_do_online_consign=&event_submit_do_offline_consign="
      "&event_submit_do_dummy=1&event_submit_do_limit_consign=&event_submit_do_cod_consign="
      "&event_submit_do_store_consign=&event_submit_do_refresh_address=&event_submit_do_refresh_store="
      "&event_submit_do_store_cod_consign=&companyId=&_fmw.r._0.coun=&_fmw.r._0.c=%D5%C5%C8%FD"
      "&_fmw.r._0.p=%D5%E3%BD%AD%CA%A1&_fmw.r._0.ci=&_fmw.r._0.d=&_fmw.r._0.cou=&_fmw.r._0.adr="
      "&_fmw.r._0.dd=%BA%BC%D6%DD%CA%D0%20%CE%F7%BA%FE%C7%F8&_fmw.r._0.ad=%CE%C4%C8%FD%C2%B7%20100%BA%C5"
      "&_fmw.r._0.z=310000&_fmw.r._0.ddd=&_fmw.r._0.ph=&_fmw.r._0.b=&_fmw.r._0.t=&_fmw.r._0.mo="
      "&_fmw.n._0.g=%C4%FA%BF%C9%D2%D4%D4%DA%B4%CB%CA%E4%C8%EB%B1%B8%CD%FC%D0%C5%CF%A2%A3%A8%BD%F6%C2%F4%BC%D2%D7%D4"
      "%BC%BA%BF%C9%BC%FB%A3%A9%A1%A3" +
      group('s') + group('f') + "&companyName=%C7%EB%CA%E4%C8%EB%CE%EF%C1%F7%B9%AB%CB%BE%C3%FB%B3%C6";
  EXPECT_EQ(consign_form_body(f), expected);
}

TEST(Consignment, TokenAndOrderIdAreSentAsCut) {
  ConsignFields f;
  f.token = "a%2Fb c";
  f.order_id = "9-9";
  f.province = "9-9";
  const std::string body = consign_form_body(f);
  EXPECT_NE(body.find("&_tb_token_=a%2Fb c&"), std::string::npos);
  EXPECT_NE(body.find("&orderId=9-9&flag=&province=9%2D9&"), std::string::npos);
}

// A logistics host that answers each consign POST with the next of the given pages.
struct ConsignServer {
  explicit ConsignServer(std::vector<std::string> answers)
      : server([answers](const std::string&, int index) {
          const std::string& page = answers.at(std::min<size_t>(index, answers.size() - 1));
          return RawServer::Answer{RawServer::reply(gb(page))};
        }) {}
  Endpoints endpoints() const { return testing::loopback_endpoints(server.port()); }
  RawServer server;
};

TEST(Consignment, PathsOfTheDummyConsignment) {
  struct Case {
    const char* name;
    std::string page;
    std::vector<std::string> answers;
    bool shipped;
    size_t posts;
  };
  const Case cases[] = {
      {"success", consign_page(), {"<p>发货成功,正在读取物流信息</p>"}, true, 1},
      {"other answer", consign_page(), {"<p>系统繁忙</p>"}, false, 1},
      {"refused once, then shipped", consign_page(), {"请选择有效的省市区", "正在读取物流信息"}, true, 2},
      {"refused twice", consign_page(), {"请选择有效的省市区", "请选择有效的省市区", "正在读取物流信息"}, false, 2},
      {"unknown order", gb("<div>不存在该条订单</div>") + consign_page(), {"正在读取物流信息"}, false, 0},
      {"page without fields", "", {"<p>参数错误</p>"}, false, 1},
  };
  for (const Case& c : cases) {
    ConsignServer logistics(c.answers);
    EXPECT_EQ(consign_dummy("2024030512", c.page, logistics.endpoints(), testing::fast_timing()), c.shipped) << c.name;
    const auto requests = logistics.server.requests();
    ASSERT_EQ(requests.size(), c.posts) << c.name;
    const std::string expected =
        testing::expected_post(logistics.server.port(), "/user/consign.htm?trade_id=2024030512",
                               consign_form_body(cut_consign_fields(c.page)));
    for (const std::string& request : requests) EXPECT_EQ(request, expected) << c.name;
  }
}

TEST(Consignment, ConsignPageIsAPlainGet) {
  ConsignServer logistics({"page"});
  const Endpoints e = logistics.endpoints();
  EXPECT_EQ(http_fetch(consign_page_address("42", e), {}, testing::fast_timing()), gb("page"));
  EXPECT_EQ(logistics.server.requests().at(0),
            testing::expected_head("GET", logistics.server.port(), "/user/consign.htm?trade_id=42") + "\r\n");
}

}  // namespace
}  // namespace varnel::market
