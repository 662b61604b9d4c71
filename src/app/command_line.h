#pragma once

#include <optional>
#include <string>
#include <vector>

namespace varnel::app {

struct Credentials {
  std::string name;
  std::string password;
};

struct CommandLine {
  std::string run_dir;       // empty: the folder of the executable (with --sandbox: its sandbox/ folder)
  bool sandbox = false;      // simulated marketplace and IM client
  bool sandbox_im = false;   // simulated IM client only
  int autopilot_orders = 0;  // 0: no autopilot
  Credentials operator_login{"admin", "888"};
  std::optional<Credentials> market_login;  // none: the sandbox's account
  int autopilot_timeout_s = 600;
};

inline constexpr const char* kUsage =
    "usage: varnel [--run-dir DIR] [--sandbox | --sandbox-im]\n"
    "              [--autopilot N [--operator NAME:PASSWORD] [--market-login ACCOUNT:PASSWORD]\n"
    "               [--autopilot-timeout SECONDS]]\n";

// Parses the arguments after the program name; nothing on a bad argument, with `error` set.
std::optional<CommandLine> parse_command_line(const std::vector<std::string>& args, std::string& error);

}  // namespace varnel::app
