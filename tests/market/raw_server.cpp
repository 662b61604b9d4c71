#include "raw_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace varnel::testing {
namespace {

int bound_socket(int* port) {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) std::abort();
  socklen_t len = sizeof addr;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  *port = ntohs(addr.sin_port);
  return fd;
}

bool wait_readable(int fd, const std::atomic<bool>& stop) {
  while (!stop) {
    pollfd p{fd, POLLIN, 0};
    int r = ::poll(&p, 1, 20);
    if (r > 0) return true;
  }
  return false;
}

}  // namespace

RawServer::RawServer(Responder responder) : responder_(std::move(responder)) {
  listen_fd_ = bound_socket(&port_);
  ::listen(listen_fd_, 16);
  thread_ = std::thread([this] { serve(); });
}

RawServer::~RawServer() {
  stop_ = true;
  thread_.join();
  ::close(listen_fd_);
}

std::string RawServer::address(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> RawServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::string RawServer::reply(const std::string& body, const std::string& status, const std::string& headers) {
  return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n" +
         headers + "\r\n" + body;
}

// Reads the header block and as many body bytes as its Content-Length says.
std::string RawServer::read_request(int fd) {
  std::string data;
  char buf[65536];
  size_t need = std::string::npos;
  while (data.size() < need) {
    if (!wait_readable(fd, stop_)) break;
    ssize_t n = ::recv(fd, buf, sizeof buf, 0);
    if (n <= 0) break;
    data.append(buf, static_cast<size_t>(n));
    size_t end = data.find("\r\n\r\n");
    if (end != std::string::npos && need == std::string::npos) {
      size_t length = 0;
      std::string head = data.substr(0, end);
      for (const char* name : {"\r\nContent-Length: ", "\r\ncontent-length: "}) {
        size_t at = head.find(name);
        if (at != std::string::npos) length = std::strtoul(head.c_str() + at + std::strlen(name), nullptr, 10);
      }
      need = end + 4 + length;
    }
  }
  return data;
}

void RawServer::serve() {
  for (int index = 0; wait_readable(listen_fd_, stop_); ++index) {
    int fd = ::accept(listen_fd_, nullptr, nullptr);
    if (fd < 0) continue;
    std::string request = read_request(fd);
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request);
    }
    Answer answer = responder_(request, index);
    if (answer.stall) {
      wait_readable(fd, stop_);  // until the client gives up or the server stops
    } else {
      size_t sent = 0;
      while (sent < answer.reply.size()) {
        ssize_t n = ::send(fd, answer.reply.data() + sent, answer.reply.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break;
        sent += static_cast<size_t>(n);
      }
    }
    ::close(fd);
  }
}

int refused_port() {
  int port = 0;
  int fd = bound_socket(&port);
  ::close(fd);
  return port;
}

}  // namespace varnel::testing
