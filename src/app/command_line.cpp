#include "app/command_line.h"

namespace varnel::app {

std::optional<CommandLine> parse_command_line(const std::vector<std::string>& args, std::string& error) {
  CommandLine cl;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return std::nullopt;
      }
      return args[++i];
    };
    if (a == "--run-dir") {
      auto v = value();
      if (!v) return std::nullopt;
      cl.run_dir = *v;
    } else {
      error = "unknown option " + a;
      return std::nullopt;
    }
  }
  return cl;
}

}  // namespace varnel::app
