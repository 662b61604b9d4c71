#include "market/market_login.h"

#include "market/url_text.h"
#include "market_test_support.h"
#include "raw_server.h"

#include <gtest/gtest.h>

namespace varnel::market {
namespace {

using testing::RawServer;

const std::string kFixedTail =
    "&TPL_checkcode=&need_check_code=&_tb_token_=7c1b9f2d06e4a&action=Authenticator&event_submit_do_login=anything"
    "&TPL_redirect_url=&from=tb&fc=2&style=default&css_style="
    "&tid=XOR_1_000000000000000000000000000000_B1D4F09A7C2E8136D5A0F47C&support=000001"
    "&CtrlVersion=1%2C0%2C0%2C7&loginType=4&minititle=&minipara=&pstrong=&longLogin=-1&llnick=&sign=&need_sign="
    "&isIgnore=&popid=&callback=&guf=&not_duplite_str=&need_user_id=&poy=&gvfdcname=10"
    "&gvfdcre=687474703A2F2F7777772E74616F62616F2E636F6D2F&from_encoding=";

TEST(MarketLogin, BodyEncodesAccountAndPasswordThenTheFixedText) {
  struct Case {
    const char* account;
    const char* password;
    const char* head;
  };
  const Case cases[] = {
      {"shop", "pw", "TPL_username=shop&TPL_password=pw"},
      {"shop ", " pw-1", "TPL_username=shop%20&TPL_password=%20pw%2D1"},  // spaces are kept
      {"卖家", "密码", "TPL_username=%C2%F4%BC%D2&TPL_password=%C3%DC%C2%EB"},
      {"", "", "TPL_username=&TPL_password="},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(login_form_body(c.account, c.password, Endpoints{}), c.head + kFixedTail) << c.account;
  }
}

TEST(MarketLogin, FixedFormValuesComeFromTheEndpoints) {
  Endpoints e;
  e.tb_token = "tok";
  e.tid = "T1";
  e.home_page = "AB";
  const std::string body = login_form_body("a", "b", e);
  EXPECT_NE(body.find("&_tb_token_=tok&"), std::string::npos);
  EXPECT_NE(body.find("&tid=T1&"), std::string::npos);
  EXPECT_NE(body.find("&gvfdcre=4142&"), std::string::npos);
}

TEST(MarketLogin, MarkerAnywhereInThePageMeansLoggedIn) {
  EXPECT_TRUE(login_page_accepted(gb("<p>登录失败:我是买家 不能用于卖家中心</p>")));
  EXPECT_TRUE(login_page_accepted(gb("我是买家")));
  EXPECT_FALSE(login_page_accepted(gb("您输入的密码和账户名不匹配")));
  EXPECT_FALSE(login_page_accepted(""));
  EXPECT_FALSE(login_page_accepted("\xE6\x88\x91\xE6\x98\xAF\xE4\xB9\xB0\xE5\xAE\xB6"));  // the UTF-8 form
  EXPECT_FALSE(login_page_accepted(std::string("x\0", 2) + gb("我是买家")));              // after the end of text
}

TEST(MarketLogin, LoginPostsTheFormToTheLoginHost) {
  RawServer server([](const std::string&, int) { return RawServer::Answer{RawServer::reply(gb("欢迎 我是买家"))}; });
  const Endpoints e = testing::loopback_endpoints(server.port());
  EXPECT_TRUE(market_login("卖家 ", "pw", e, testing::fast_timing()));
  EXPECT_EQ(server.requests().at(0),
            testing::expected_post(server.port(), "/member/login.jhtml", login_form_body("卖家 ", "pw", e)));
}

TEST(MarketLogin, NoAnswerIsAFailedLogin) {
  const Endpoints e = testing::loopback_endpoints(testing::refused_port());
  EXPECT_FALSE(market_login("a", "b", e, testing::fast_timing()));
}

TEST(MarketLogin, LogoutSendsAPlainGet) {
  RawServer server([](const std::string&, int) { return RawServer::Answer{RawServer::reply("bye")}; });
  market_logout(testing::loopback_endpoints(server.port()), testing::fast_timing());
  EXPECT_EQ(server.requests().at(0),
            testing::expected_head("GET", server.port(), "/member/logout.jhtml?f=top") + "\r\n");
}

}  // namespace
}  // namespace varnel::market
