#pragma once
// One GET or form POST per call, the whole reply body as bytes. Every thread shares one cookie store,
// so the cookies of the marketplace login go with the later queries of the delivery workers.
//
// Safe on any thread. On the thread of the Qt event loop the transfer runs on a helper thread while
// the loop keeps running, so the windows repaint and react while the request waits.

#include "text/timing.h"

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace varnel::market {

inline constexpr const char* kUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
// A reply larger than this is a failure (empty bytes), never an exhausted memory.
inline constexpr size_t kMaxReplyBytes = size_t{64} << 20;

// An option left empty (std::nullopt) is not supplied.
struct HttpOptions {
  // Only "POST" (any case, sent as written) makes a POST; anything else is a GET.
  std::optional<std::string> method;
  // A proxy for http addresses; not supplied or empty means a direct connection.
  std::optional<std::string> proxy;
  // Header lines, each ending in CR LF; the default lines are added where their name is absent.
  std::optional<std::string> extra_headers;
  // The form body of a POST, already percent-encoded. A GET never sends it.
  std::optional<std::string> body;
  // When set, receives the raw header lines of the final reply.
  std::string* response_headers = nullptr;
  // A PEM file of certificate authorities trusted for https instead of the system's.
  std::string ca_file;
  // When set and it turns true, the request ends at once with empty bytes (exit). Only requests whose
  // abandoning changes nothing on the marketplace pass one: queries and page fetches, never a consignment.
  const std::atomic<bool>* cancel = nullptr;
};

// Empty bytes when the request cannot be made (bad address, refused, unknown host, no answer in time,
// reply over kMaxReplyBytes); the bytes read so far when the connection breaks mid-body. The HTTP
// status is not looked at: an error page comes back like any other page.
std::string http_request(std::string_view address, const HttpOptions& options, const Timing& timing);

// The same with every option supplied: those left out arrive as empty text.
std::string http_fetch(std::string_view address, HttpOptions options, const Timing& timing);

}  // namespace varnel::market
