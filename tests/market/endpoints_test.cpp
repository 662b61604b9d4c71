#include "market/endpoints.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace varnel::market {
namespace {

struct EndpointsFile : ::testing::Test {
  Endpoints load(const std::string& text) {
    std::filesystem::create_directories(dir.path() / "data");
    std::ofstream(endpoints_file(dir.path()), std::ios::binary) << text;
    return load_endpoints(endpoints_file(dir.path()), [this](const std::string& line) { log.push_back(line); });
  }
  testing::TempDir dir;
  std::vector<std::string> log;
};

TEST_F(EndpointsFile, MissingFileGivesTheDefaultsSilently) {
  EXPECT_EQ(load_endpoints(endpoints_file(dir.path()), [&](const std::string& l) { log.push_back(l); }), Endpoints{});
  EXPECT_TRUE(log.empty());
}

TEST_F(EndpointsFile, ValuesOverrideTheDefaults) {
  const Endpoints e = load(
      "\xEF\xBB\xBF; sandbox\r\n[other]\r\nlogin_host = ignored\r\n[marketplace]\r\n"
      "scheme=https\r\n login_host = 127.0.0.1:4711 \r\ntrade_host = trade.example\r\n"
      "logistics_host = wuliu-2.example:8080\r\n# comment\r\nseller_id = 87654321\r\n");
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(e.scheme, "https");
  EXPECT_EQ(e.login_host, "127.0.0.1:4711");
  EXPECT_EQ(e.trade_host, "trade.example");
  EXPECT_EQ(e.logistics_host, "wuliu-2.example:8080");
  EXPECT_EQ(e.seller_id, "87654321");
  EXPECT_EQ(e.tb_token, Endpoints{}.tb_token);
  EXPECT_EQ(endpoint_address(e, e.login_host, "/member/login.jhtml"), "https://127.0.0.1:4711/member/login.jhtml");
}

TEST_F(EndpointsFile, MalformedFileIsReportedOnceAndNotUsed) {
  const char* bad[] = {
      "seller_id = 99999999\n[marketplace]\n",    // no section
      "[marketplace]\nlogin_host\n",              // no "="
      "[marketplace]\nlogin_hots = a.example\n",  // unknown key
      "[marketplace]\nscheme = ftp\n",
      "[marketplace]\nlogin_host = a b\n",
      "[marketplace]\nlogin_host = a.example/x\n",
      "[marketplace]\ntrade_host = a.example:0\n",
      "[marketplace]\ntrade_host = a.example:99999\n",
      "[marketplace]\nlogistics_host = :80\n",
      "[marketplace]\nseller_id = 1234x\n",
      "[marketplace]\nseller_id =\n",
      "[marketplace]\ntb_token = a&b\n",
      "[marketplace\nseller_id = 1\n",
  };
  for (const char* text : bad) {
    log.clear();
    EXPECT_EQ(load(text), Endpoints{}) << text;
    ASSERT_EQ(log.size(), 1u) << text;
    EXPECT_NE(log[0].find("endpoints.ini"), std::string::npos);
  }
}

TEST_F(EndpointsFile, SavedValuesLoadBack) {
  Endpoints e;
  e.scheme = "https";
  e.login_host = e.trade_host = e.logistics_host = "127.0.0.1:5000";
  e.seller_id = "10203040";
  e.ca_file = "/tmp/ca file.pem";
  ASSERT_TRUE(save_endpoints(endpoints_file(dir.path()), e));
  EXPECT_EQ(load_endpoints(endpoints_file(dir.path()), [&](const std::string& l) { log.push_back(l); }), e);
  EXPECT_TRUE(log.empty());
}

}  // namespace
}  // namespace varnel::market
