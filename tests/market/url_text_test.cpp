#include "market/url_text.h"

#include <gtest/gtest.h>

namespace varnel::market {
namespace {

TEST(UrlText, AddressSplitting) {
  struct Case {
    const char* address;
    const char* host;
    int port;
    const char* path;
  };
  const Case cases[] = {
      {"http://trade.taobao.com/trade/list.htm?a=B", "trade.taobao.com", 80, "/trade/list.htm?a=B"},
      {"HTTP://Trade.TaoBao.com/Path/Case", "trade.taobao.com", 80, "/Path/Case"},
      {"trade.taobao.com/x", "trade.taobao.com", 80, "/x"},
      {"http://host.example", "host.example", 80, "/"},
      {"host.example", "host.example", 80, "/"},
      {"http://host:8080/p:q/r", "host", 8080, "/p:q/r"},
      {"host:8080", "host", 8080, "/"},
      {"http://host:8080x/", "host", 8080, "/"},
      {"http://host:/", "host", 0, "/"},
      {"https://login.taobao.com/member/logout.jhtml?f=top", "login.taobao.com", 443, "/member/logout.jhtml?f=top"},
      {"https://host:8443/s", "host", 8443, "/s"},
      // A host that also occurs in the scheme prefix.
      {"http://t/abc", "t", 80, "/abc"},
      {"", "", 80, "/"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(url_host(c.address), c.host) << c.address;
    EXPECT_EQ(url_port(c.address), c.port) << c.address;
    EXPECT_EQ(url_path(c.address), c.path) << c.address;
  }
  EXPECT_TRUE(url_is_secure("HTTPS://x/"));
  EXPECT_FALSE(url_is_secure("http://x/"));
}

TEST(UrlText, EncodingKeepsOnlyLettersAndDigits) {
  struct Case {
    const char* text;
    const char* encoded;
  };
  const Case cases[] = {
      {"abcXYZ019", "abcXYZ019"},
      {" ", "%20"},
      {"-", "%2D"},
      {"._~+*/", "%2E%5F%7E%2B%2A%2F"},
      {"\t\n", "%09%0A"},
      {"中", "%D6%D0"},
      {"淘宝 a", "%CC%D4%B1%A6%20a"},
      {"€", "%A2%E3"},  // GB18030 two-byte form
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(url_encode(c.text), c.encoded) << c.text;
  EXPECT_EQ(url_encode_gb(std::string("\x00\xFF", 2)), "%00%FF");
}

TEST(UrlText, TextBetween) {
  struct Case {
    std::string text;
    std::string start;
    std::string end;
    size_t position;
    std::string expected;
  };
  const std::string zhong = gb("中");  // D6 D0
  const Case cases[] = {
      {"a<b>c</b>", "<b>", "</b>", 1, "c"},
      {"<b>1</b><b>2</b>", "<b>", "</b>", 1, "1"},
      {"<b>1</b><b>2</b>", "<b>", "</b>", 2, "2"},
      {"<b>1</b><b>2</b>", "<b>", "</b>", 0, "1"},
      {"<b>open", "<b>", "</b>", 1, ""},        // end marker missing
      {"no marker</b>", "<b>", "</b>", 1, ""},  // start marker missing
      {"<B>x</B>", "<b>", "</b>", 1, ""},       // case counts
      {"<b></b>", "<b>", "</b>", 1, ""},
      {"<b>x</b>", "<b>", "</b>", 99, ""},
      // "\xD0[" would match the trailing byte of 中: never taken as a start.
      {zhong + "[v]\xD0[w]", "\xD0[", "]", 1, "w"},
      {"[" + zhong + "\xD0]", "[", "\xD0]", 1, zhong},
      {gb("值=中文;"), gb("值="), ";", 1, gb("中文")},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(text_between(c.text, c.start, c.end, c.position), c.expected) << c.text << " @" << c.position;
  }
}

}  // namespace
}  // namespace varnel::market
