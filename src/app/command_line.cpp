#include "app/command_line.h"

#include <charconv>

namespace varnel::app {
namespace {

std::optional<int> positive_number(const std::string& text) {
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < 1) return std::nullopt;
  return value;
}

std::optional<Credentials> credentials(const std::string& text) {
  size_t colon = text.find(':');
  if (colon == std::string::npos || colon == 0) return std::nullopt;
  return Credentials{text.substr(0, colon), text.substr(colon + 1)};
}

}  // namespace

std::optional<CommandLine> parse_command_line(const std::vector<std::string>& args, std::string& error) {
  CommandLine cl;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--sandbox") {
      cl.sandbox = true;
      continue;
    }
    if (a == "--sandbox-im") {
      cl.sandbox_im = true;
      continue;
    }
    if (a != "--run-dir" && a != "--autopilot" && a != "--operator" && a != "--market-login" &&
        a != "--autopilot-timeout") {
      error = "unknown option " + a;
      return std::nullopt;
    }
    if (i + 1 >= args.size()) {
      error = a + " needs a value";
      return std::nullopt;
    }
    const std::string& v = args[++i];
    bool ok = true;
    if (a == "--run-dir") {
      cl.run_dir = v;
    } else if (a == "--autopilot") {
      auto n = positive_number(v);
      ok = n.has_value();
      cl.autopilot_orders = n.value_or(0);
    } else if (a == "--autopilot-timeout") {
      auto n = positive_number(v);
      ok = n.has_value();
      cl.autopilot_timeout_s = n.value_or(0);
    } else {
      auto c = credentials(v);
      ok = c.has_value();
      if (c && a == "--operator") cl.operator_login = *c;
      if (c && a == "--market-login") cl.market_login = *c;
    }
    if (!ok) {
      error = "bad value for " + a + ": " + v;
      return std::nullopt;
    }
  }
  if (cl.sandbox && cl.sandbox_im) {
    error = "--sandbox and --sandbox-im exclude each other";
    return std::nullopt;
  }
  if (cl.autopilot_orders > 0 && !cl.sandbox && !cl.market_login) {
    error = "--autopilot outside --sandbox needs --market-login";
    return std::nullopt;
  }
  return cl;
}

}  // namespace varnel::app
