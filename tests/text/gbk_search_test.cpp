#include <gtest/gtest.h>

#include "text/encoding.h"
#include "text/gbk_search.h"

using namespace varnel::text;

TEST(GbkSearch, NeverMatchesFromATrailingByte) {
  // B0 A1 ("啊") followed by A1 A1 (full-width space): the byte pair A1 A1 first occurs at offset 1.
  const std::string hay = "\xB0\xA1\xA1\xA1";
  EXPECT_EQ(hay.find("\xA1\xA1"), 1u);
  EXPECT_EQ(gbk_find(hay, "\xA1\xA1"), 2u);
  EXPECT_EQ(gbk_find("\xB0\xA1", "\xA1"), std::string_view::npos);
}

TEST(GbkSearch, FindsAsciiAndChineseMarkers) {
  const std::string page = utf8_to_gb("<td>买家已付款</td><td>订单号：123</td>");
  EXPECT_EQ(gbk_find(page, utf8_to_gb("订单号")), page.find(utf8_to_gb("订单号")));
  EXPECT_EQ(gbk_find(page, "</td>", 4), page.find("</td>"));
  EXPECT_EQ(gbk_find(page, "absent"), std::string_view::npos);
  EXPECT_EQ(gbk_find("abc", "x", 10), std::string_view::npos);
}

TEST(GbkSearch, CaseInsensitiveAsciiSearch) {
  EXPECT_EQ(gbk_find_nocase("X-Referer: a\r\nACCEPT: b", "accept: "), 14u);
  EXPECT_EQ(gbk_find_nocase("abc", "ABC"), 0u);
}

TEST(GbkSearch, FourByteSequencesAreOneCharacter) {
  const std::string hay = utf8_to_gb("𠀀") + "0";  // 95 32 82 36, then '0'
  ASSERT_EQ(hay.size(), 5u);
  EXPECT_EQ(gbk_char_length(hay, 0), 4u);
  EXPECT_EQ(gbk_find(hay, "6"), std::string_view::npos);
  EXPECT_EQ(gbk_find(hay, "0"), 4u);
}
