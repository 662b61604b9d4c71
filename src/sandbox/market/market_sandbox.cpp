#include "sandbox/market/market_sandbox.h"

#include "market/endpoints.h"

#include <httplib.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <thread>

namespace varnel::sandbox {
namespace {

bool same_name(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

}  // namespace

std::string RecordedRequest::header(const std::string& name) const {
  for (const auto& [key, value] : headers) {
    if (same_name(key, name)) return value;
  }
  return {};
}

struct MarketSandbox::Server {
  httplib::Server http;
  std::thread thread;
};

MarketSandbox::MarketSandbox(SellerAccount account) : shop_(std::move(account)), server_(std::make_unique<Server>()) {
  auto serve = [this](const httplib::Request& req, httplib::Response& res) {
    RecordedRequest recorded{req.method, req.target, {req.headers.begin(), req.headers.end()}, req.body};
    record(recorded);
    const size_t q = req.target.find('?');
    ShopRequest shop_request{req.method, req.path, q == std::string::npos ? "" : req.target.substr(q + 1),
                             req.get_header_value("Cookie"), req.body};
    ShopResponse answer = shop_.handle(shop_request);
    res.status = answer.status;
    for (const auto& [name, value] : answer.headers) res.set_header(name, value);
    res.set_content(answer.body, "text/html; charset=GBK");
  };
  server_->http.Get(".*", serve);
  server_->http.Post(".*", serve);
  const int port = server_->http.bind_to_any_port("127.0.0.1");
  if (port <= 0) return;
  port_ = port;
  server_->thread = std::thread([this] { server_->http.listen_after_bind(); });
  // stop() does nothing to a server that has not started listening yet, so a sandbox destroyed right
  // away would otherwise wait on its thread forever.
  for (int i = 0; i < 5000 && !server_->http.is_running(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

MarketSandbox::~MarketSandbox() {
  server_->http.stop();
  if (server_->thread.joinable()) server_->thread.join();
}

std::string MarketSandbox::host() const { return "127.0.0.1:" + std::to_string(port_); }

void MarketSandbox::record(RecordedRequest request) {
  std::lock_guard lock(requests_mutex_);
  if (requests_.size() >= kKeptRequests) requests_.erase(requests_.begin());
  requests_.push_back(std::move(request));
}

std::vector<RecordedRequest> MarketSandbox::requests() const {
  std::lock_guard lock(requests_mutex_);
  return requests_;
}

void MarketSandbox::clear_requests() {
  std::lock_guard lock(requests_mutex_);
  requests_.clear();
}

bool write_sandbox_endpoints(const std::filesystem::path& run_dir, const MarketSandbox& sandbox) {
  market::Endpoints endpoints;
  endpoints.login_host = endpoints.trade_host = endpoints.logistics_host = sandbox.host();
  endpoints.seller_id = sandbox.seller_id();
  return save_endpoints(market::endpoints_file(run_dir), endpoints);
}

}  // namespace varnel::sandbox
