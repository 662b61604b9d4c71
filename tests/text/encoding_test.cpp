#include <gtest/gtest.h>

#include "text/encoding.h"

using namespace varnel::text;

TEST(Encoding, RoundTripsChineseThroughGb18030) {
  const std::string utf8 = "卡密 帐号：abc123 𠀀";  // the last one is outside GBK, kept by GB18030
  const std::string gb = utf8_to_gb(utf8);
  EXPECT_EQ(gb.substr(0, 4), "\xBF\xA8\xC3\xDC");  // 卡密 in GBK
  EXPECT_EQ(gb_to_utf8(gb), utf8);
  EXPECT_EQ(gb_to_utf8_strict(gb).value(), utf8);
}

TEST(Encoding, InvalidBytesAreReplacedOrRefused) {
  const std::string bad = std::string("ok\xFF") + "\xBF";  // 0xFF is never valid; 0xBF is a cut-off lead byte
  EXPECT_EQ(gb_to_utf8(bad), "ok\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_FALSE(gb_to_utf8_strict(bad).has_value());
}

TEST(Encoding, RecognisesUtf8) {
  EXPECT_TRUE(is_valid_utf8("plain ascii"));
  EXPECT_TRUE(is_valid_utf8("卡密"));
  EXPECT_FALSE(is_valid_utf8("\xBF\xA8\xC3\xDC"));  // GBK bytes
  EXPECT_FALSE(is_valid_utf8("\xC0\xAF"));          // overlong
  EXPECT_FALSE(is_valid_utf8("\xED\xA0\x80"));      // surrogate
}

TEST(Encoding, TextEndsAtFirstZeroByte) {
  EXPECT_EQ(until_nul(std::string_view("ab\0cd", 5)), "ab");
  EXPECT_EQ(until_nul("abc"), "abc");
}
