#pragma once

#include <optional>
#include <string>
#include <vector>

namespace varnel::app {

struct CommandLine {
  std::string run_dir;  // empty: the folder of the executable
};

// Parses the arguments after the program name; nothing on an unknown or incomplete option, with `error` set.
std::optional<CommandLine> parse_command_line(const std::vector<std::string>& args, std::string& error);

}  // namespace varnel::app
