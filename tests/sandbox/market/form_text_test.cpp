#include "sandbox/market/form_text.h"

#include <gtest/gtest.h>

namespace varnel::sandbox {
namespace {

TEST(FormText, ParsesWhatTheProgramSends) {
  const auto form = parse_form("a=1&b=%D6%D0%20x&empty=&flag&a=2&bad=%G1%4&=skipped");
  EXPECT_EQ(form.at("a"), "1");
  EXPECT_EQ(form.at("b"), "\xD6\xD0 x");
  EXPECT_EQ(form.at("empty"), "");
  EXPECT_EQ(form.at("flag"), "");
  EXPECT_EQ(form.at("bad"), "%G1%4");
  EXPECT_EQ(form.size(), 5u);
  EXPECT_TRUE(parse_form("").empty());
  EXPECT_EQ(percent_decode("a+b%2Fc%"), "a+b/c%");
}

TEST(FormText, CookiesAndEscaping) {
  EXPECT_EQ(cookie_value("x=1; cookie2=abc; y=2", "cookie2"), "abc");
  EXPECT_EQ(cookie_value("xcookie2=1", "cookie2"), "");
  EXPECT_EQ(cookie_value("", "cookie2"), "");
  EXPECT_EQ(html_escape("a<b>&\"c\""), "a&lt;b&gt;&amp;&quot;c&quot;");
}

}  // namespace
}  // namespace varnel::sandbox
