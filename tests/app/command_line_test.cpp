#include <gtest/gtest.h>

#include "app/command_line.h"

using namespace varnel::app;

TEST(CommandLine, ParsesTheOptions) {
  std::string error;
  auto cl = parse_command_line({"--sandbox", "--run-dir", "/tmp/x", "--autopilot", "3", "--operator", "clerk:a:b",
                                "--autopilot-timeout", "90"},
                               error);
  ASSERT_TRUE(cl) << error;
  EXPECT_TRUE(cl->sandbox);
  EXPECT_EQ(cl->run_dir, "/tmp/x");
  EXPECT_EQ(cl->autopilot_orders, 3);
  EXPECT_EQ(cl->operator_login.name, "clerk");
  EXPECT_EQ(cl->operator_login.password, "a:b");
  EXPECT_EQ(cl->autopilot_timeout_s, 90);
  EXPECT_FALSE(cl->market_login);

  cl = parse_command_line({}, error);
  ASSERT_TRUE(cl);
  EXPECT_EQ(cl->operator_login.name, "admin");
  EXPECT_EQ(cl->operator_login.password, "888");
  EXPECT_EQ(cl->autopilot_timeout_s, 600);
}

TEST(CommandLine, RefusesBadArguments) {
  const std::vector<std::vector<std::string>> bad = {
      {"--bogus"},
      {"--run-dir"},
      {"--autopilot", "zero"},
      {"--autopilot", "0", "--sandbox"},
      {"--sandbox", "--autopilot", "2", "--operator", "nocolon"},
      {"--sandbox", "--sandbox-im"},
      {"--autopilot", "2"},  // outside the sandbox it needs a marketplace account
      {"--sandbox", "--autopilot-timeout", "-5"},
  };
  for (const auto& args : bad) {
    std::string error;
    EXPECT_FALSE(parse_command_line(args, error)) << args[0];
    EXPECT_FALSE(error.empty());
  }
}
