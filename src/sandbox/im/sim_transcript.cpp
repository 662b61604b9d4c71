#include "sandbox/im/sim_transcript.h"

#include <fstream>

namespace varnel::sandbox {

namespace {

// A line break of any kind would end the line early, so each is written as the two characters \n.
void append_on_one_line(std::string& line, std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      line += "\\n";
    } else {
      line += text[i];
    }
  }
}

}  // namespace

std::string transcript_line(std::string_view nick, std::string_view text) {
  std::string line;
  append_on_one_line(line, nick);
  line += '\t';
  append_on_one_line(line, text);
  return line;
}

SimTranscript::SimTranscript(const std::filesystem::path& run_dir) : path_(run_dir / kTranscriptFile) {}

bool SimTranscript::append(std::string_view nick, std::string_view text) {
  std::lock_guard lock(lock_);
  std::ofstream file(path_, std::ios::binary | std::ios::app);
  file << transcript_line(nick, text) << '\n';
  return static_cast<bool>(file.flush());
}

std::vector<std::string> SimTranscript::lines() const {
  std::lock_guard lock(lock_);
  std::vector<std::string> out;
  std::ifstream file(path_, std::ios::binary);
  for (std::string line; std::getline(file, line);) out.push_back(line);
  return out;
}

}  // namespace varnel::sandbox
