#include "text/encoding.h"

#include <cerrno>
#include <iconv.h>

namespace varnel::text {
namespace {

// Converts with iconv; on an invalid sequence either gives up (strict) or writes the replacement and
// skips one input byte.
std::optional<std::string> convert(const char* to, const char* from, std::string_view in, bool strict,
                                   std::string_view replacement) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out;
  out.reserve(in.size() * 3 / 2 + 16);
  char* src = const_cast<char*>(in.data());
  size_t src_left = in.size();
  char buf[4096];
  bool ok = true;
  while (src_left > 0) {
    char* dst = buf;
    size_t dst_left = sizeof buf;
    size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
    out.append(buf, static_cast<size_t>(dst - buf));
    if (r != static_cast<size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    if (strict) {
      ok = false;
      break;
    }
    // EILSEQ or EINVAL (truncated sequence at the end): replace one byte and go on.
    out.append(replacement);
    ++src;
    --src_left;
  }
  iconv_close(cd);
  if (!ok) return std::nullopt;
  return out;
}

}  // namespace

std::string gb_to_utf8(std::string_view gb) {
  return convert("UTF-8", "GB18030", gb, false, "\xEF\xBF\xBD").value_or(std::string());
}

std::optional<std::string> gb_to_utf8_strict(std::string_view gb) {
  return convert("UTF-8", "GB18030", gb, true, {});
}

std::string utf8_to_gb(std::string_view utf8) {
  return convert("GB18030", "UTF-8", utf8, false, "?").value_or(std::string());
}

bool is_valid_utf8(std::string_view s) {
  size_t i = 0;
  const size_t n = s.size();
  while (i < n) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    size_t len;
    unsigned cp;
    if ((c & 0xE0) == 0xC0) {
      len = 2;
      cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      len = 3;
      cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      len = 4;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + len > n) return false;
    for (size_t k = 1; k < len; ++k) {
      unsigned char t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (t & 0x3F);
    }
    static constexpr unsigned min_for_len[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < min_for_len[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += len;
  }
  return true;
}

std::string_view until_nul(std::string_view bytes) {
  size_t z = bytes.find('\0');
  return z == std::string_view::npos ? bytes : bytes.substr(0, z);
}

}  // namespace varnel::text
