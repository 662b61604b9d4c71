#pragma once
// The libcurl side of the HTTP engine: one easy handle per call, one process-wide cookie store.

#include "market/http_engine.h"

#include <string>
#include <string_view>

namespace varnel::market::detail {

// Runs one request to the end on the calling thread.
std::string curl_transfer(std::string_view address, const HttpOptions& options, const Timing& timing);

}  // namespace varnel::market::detail
