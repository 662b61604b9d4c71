#include "store/statement_kind.h"

#include <cctype>

namespace varnel::store {
namespace {

constexpr std::string_view kFullWidthSpace = "\xE3\x80\x80";

bool starts_with_space(std::string_view s, size_t* len) {
  if (s.empty()) return false;
  if (s.substr(0, 3) == kFullWidthSpace) return *len = 3, true;
  unsigned char c = static_cast<unsigned char>(s[0]);
  if (c == ' ' || c == '\t' || c == '\r' || c == '\n') return *len = 1, true;
  return false;
}

bool ends_with_space(std::string_view s, size_t* len) {
  if (s.empty()) return false;
  if (s.size() >= 3 && s.substr(s.size() - 3) == kFullWidthSpace) return *len = 3, true;
  unsigned char c = static_cast<unsigned char>(s.back());
  if (c == ' ' || c == '\t' || c == '\r' || c == '\n') return *len = 1, true;
  return false;
}

bool keyword_is(std::string_view s, std::string_view word) {
  if (s.size() < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(s[i])) != word[i]) return false;
  // The keyword must end there: "selection" is no SELECT.
  return s.size() == word.size() || !(std::isalnum(static_cast<unsigned char>(s[word.size()])) ||
                                      s[word.size()] == '_');
}

}  // namespace

std::string_view trim_statement(std::string_view s) {
  size_t n;
  while (starts_with_space(s, &n)) s.remove_prefix(n);
  while (ends_with_space(s, &n)) s.remove_suffix(n);
  return s;
}

bool is_selection(std::string_view sql) {
  std::string_view s = trim_statement(sql);
  return keyword_is(s, "select") || keyword_is(s, "with");
}

}  // namespace varnel::store
