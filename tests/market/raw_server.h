#pragma once
// A loopback HTTP server for tests that must see the exact request bytes: it records each request as
// received and answers with the bytes the test chose. One connection at a time.

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace varnel::testing {

class RawServer {
 public:
  // What to do with one request: send `reply` and close, or keep the connection open without answering.
  struct Answer {
    std::string reply;
    bool stall = false;
  };
  // Called with the request bytes and the request's number (0, 1, ...).
  using Responder = std::function<Answer(const std::string& request, int index)>;

  explicit RawServer(Responder responder);
  ~RawServer();
  RawServer(const RawServer&) = delete;
  RawServer& operator=(const RawServer&) = delete;

  int port() const { return port_; }
  std::string address(const std::string& path) const;
  std::vector<std::string> requests() const;

  // A complete reply with the given status line, extra header lines and body.
  static std::string reply(const std::string& body, const std::string& status = "200 OK",
                           const std::string& headers = "");

 private:
  void serve();
  std::string read_request(int fd);

  Responder responder_;
  int listen_fd_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

// A port on 127.0.0.1 that nothing listens on.
int refused_port();

}  // namespace varnel::testing
