#include <gtest/gtest.h>

#include "delivery/delivery_engine.h"

namespace varnel::delivery {
namespace {

TEST(ComposeDeliveryMessage, ReplacesDelimitedMarkersOrAppendsTheKey) {
  struct Case {
    const char* name;
    std::string template_text;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"both markers", "感谢购买#帐号:123456789##密码:123456789#祝您愉快", "感谢购买帐号:AB12密码:x9祝您愉快"},
      {"empty template", "", "帐号:AB12密码:x9"},
      {"account marker only", "卡号#帐号:123456789#请查收", "卡号#帐号:123456789#请查收帐号:AB12密码:x9"},
      {"no markers", "谢谢!\r\n", "谢谢!\r\n帐号:AB12密码:x9"},
      {"placeholders typed without #", "#帐号:123456789 密码:123456789#", "帐号:123456789 密码:123456789"},
      {"markers repeated", "#帐号:123456789#/#帐号:123456789#,#密码:123456789#", "帐号:AB12/帐号:AB12,密码:x9"},
      {"ordinary # signs vanish", "#1号#帐号:123456789#密码:123456789##", "1号帐号:AB12密码:x9"},
      {"line breaks kept", "您好\r\n#帐号:123456789#\r\n#密码:123456789#\r\n", "您好\r\n帐号:AB12\r\n密码:x9\r\n"},
      {"marker needs its exact digits", "#帐号:12345678##密码:123456789#",
       "#帐号:12345678##密码:123456789#帐号:AB12密码:x9"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(compose_delivery_message(c.template_text, "AB12", "x9"), c.expected) << c.name;
  }
}

TEST(ComposeDeliveryMessage, KeyTextsArriveAsTheyStand) {
  // A key holding "#" or a placeholder is not taken apart: the key is inserted after the split.
  EXPECT_EQ(compose_delivery_message("#帐号:123456789##密码:123456789#", "#帐号:123456789#", "p#w"),
            "帐号:#帐号:123456789#密码:p#w");
  EXPECT_EQ(compose_delivery_message("", "", ""), "帐号:密码:");
}

}  // namespace
}  // namespace varnel::delivery
