#pragma once
// The simulated IM client's record of sent messages: im-transcript.txt in the run directory, UTF-8, one line
// a message: the nick, a tab, and the text with its line breaks written as \n.

#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace varnel::sandbox {

inline constexpr const char* kTranscriptFile = "im-transcript.txt";

// One line of the file without its end: every CR LF, and a CR or LF standing alone, becomes \n (in the nick too).
std::string transcript_line(std::string_view nick, std::string_view text);

class SimTranscript {
 public:
  explicit SimTranscript(const std::filesystem::path& run_dir);
  bool append(std::string_view nick, std::string_view text);
  // Every line the file holds, earlier runs' included.
  std::vector<std::string> lines() const;

 private:
  std::filesystem::path path_;
  mutable std::mutex lock_;
};

}  // namespace varnel::sandbox
