// A small scripted HTTP/1.0 server on 127.0.0.1 for tests: one request per
// connection, replies chosen by path, every request recorded. It never keeps
// a test waiting: sockets are polled with short time-outs and the destructor
// releases stalled replies, closes everything and joins its threads.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace solv::test {

// A scripted reply.
struct HttpReply {
  int status = 200;
  std::string reason = "OK";
  std::vector<std::string> headers;          // extra header lines, e.g. "Location: /x"
  std::string body;
  bool contentLength = true;                 // false: no Content-Length, the body ends at close
  std::optional<std::size_t> statedLength;   // a Content-Length other than the body's size
  std::optional<std::size_t> stallAfter;     // body bytes sent before waiting for ReleaseStalls()
  std::size_t paceBytes = 0;                 // not 0: the rest of the body goes in pieces this big
  std::chrono::milliseconds paceDelay{0};    // with a pause this long before each piece
  std::uint64_t generatedBytes = 0;          // this many 'G' bytes follow the body, made as they are sent

  static HttpReply Ok(std::string body) {
    HttpReply reply;
    reply.body = std::move(body);
    return reply;
  }
  static HttpReply Status(int status, std::string reason, std::string body = {}) {
    HttpReply reply;
    reply.status = status;
    reply.reason = std::move(reason);
    reply.body = std::move(body);
    return reply;
  }
};

// A request as it arrived.
struct HttpRequestRecord {
  std::string head;     // request line and header lines, up to and without the blank line
  std::string method;
  std::string target;   // as in the request line: path and query
  std::string version;  // "HTTP/1.0"
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;

  static std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
  }
  bool HasHeader(const std::string& name) const {
    const std::string key = Lower(name);
    return std::any_of(headers.begin(), headers.end(),
                       [&](const auto& h) { return Lower(h.first) == key; });
  }
  // The first value of a header (name in any case); empty when missing.
  std::string Header(const std::string& name) const {
    const std::string key = Lower(name);
    for (const auto& h : headers) {
      if (Lower(h.first) == key) return h.second;
    }
    return {};
  }
};

class LocalHttpServer {
 public:
  // Listens on 127.0.0.1 at a port the system chooses. Clients of this
  // process that honour the proxy variables reach it directly.
  LocalHttpServer() {
    ::setenv("no_proxy", "127.0.0.1,localhost", 1);
    ::setenv("NO_PROXY", "127.0.0.1,localhost", 1);
    listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listen_ < 0) throw std::runtime_error("socket");
    int one = 1;
    ::setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    if (::bind(listen_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(listen_, 16) != 0 ||
        ::getsockname(listen_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
      ::close(listen_);
      throw std::runtime_error("bind/listen");
    }
    port_ = ntohs(addr.sin_port);
    acceptor_ = std::thread([this] { AcceptLoop(); });
  }

  ~LocalHttpServer() { Stop(); }
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  int Port() const { return port_; }
  // "127.0.0.1:PORT", the host part of a URL.
  std::string Host() const { return "127.0.0.1:" + std::to_string(port_); }

  // The reply for a path (the target without its query, or the whole target).
  void Route(const std::string& path, HttpReply reply) { Route(path, std::vector{std::move(reply)}); }
  // Replies served in turn for a path; the last one repeats.
  void Route(const std::string& path, std::vector<HttpReply> replies) {
    std::lock_guard<std::mutex> lock(mutex_);
    routes_[path] = {std::move(replies), 0};
  }

  std::vector<HttpRequestRecord> Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
  }
  std::size_t RequestCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_.size();
  }

  // Waits until `count` replies in all have reached their stall point; false
  // after the time-out.
  bool WaitStalled(std::size_t count = 1,
                   std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return stalled_ >= count; });
  }
  // Waits until `count` requests in all have been recorded.
  bool WaitRequests(std::size_t count,
                    std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return requests_.size() >= count; });
  }
  // Lets every stalled reply go on, now and from now on.
  void ReleaseStalls() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      released_ = true;
    }
    changed_.notify_all();
  }

  void Stop() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stopping_) return;
      stopping_ = true;
      released_ = true;
    }
    changed_.notify_all();
    if (acceptor_.joinable()) acceptor_.join();
    std::vector<std::thread> workers;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      workers.swap(workers_);
    }
    for (auto& worker : workers) worker.join();
    ::close(listen_);
  }

 private:
  static constexpr int kPollMs = 50;
  static constexpr auto kIdleLimit = std::chrono::seconds(10);  // a silent client is dropped

  bool Stopping() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return stopping_;
  }

  // Sleeps; false when the server stops meanwhile.
  bool Pause(std::chrono::milliseconds delay) {
    std::unique_lock<std::mutex> lock(mutex_);
    return !changed_.wait_for(lock, delay, [&] { return stopping_; });
  }

  void AcceptLoop() {
    while (!Stopping()) {
      pollfd p{listen_, POLLIN, 0};
      if (::poll(&p, 1, kPollMs) <= 0) continue;
      const int fd = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) continue;
      std::lock_guard<std::mutex> lock(mutex_);
      workers_.emplace_back([this, fd] {
        Serve(fd);
        ::close(fd);
      });
    }
  }

  // Reads until `more` says the data is complete; false on close, error, stop or silence.
  template <typename More>
  bool ReadUntil(int fd, std::string& data, More more) {
    auto last = std::chrono::steady_clock::now();
    while (more()) {
      if (Stopping() || std::chrono::steady_clock::now() - last > kIdleLimit) return false;
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, kPollMs) <= 0) continue;
      char buffer[4096];
      const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
      if (n <= 0) return false;
      data.append(buffer, static_cast<std::size_t>(n));
      last = std::chrono::steady_clock::now();
    }
    return true;
  }

  bool SendAll(int fd, const std::string& data) {
    std::size_t done = 0;
    auto last = std::chrono::steady_clock::now();
    while (done < data.size()) {
      if (Stopping() || std::chrono::steady_clock::now() - last > kIdleLimit) return false;
      pollfd p{fd, POLLOUT, 0};
      if (::poll(&p, 1, kPollMs) <= 0) continue;
      if (p.revents & (POLLERR | POLLHUP)) return false;
      const ssize_t n = ::send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
      if (n <= 0) return false;
      done += static_cast<std::size_t>(n);
      last = std::chrono::steady_clock::now();
    }
    return true;
  }

  static HttpRequestRecord Parse(const std::string& head) {
    HttpRequestRecord request;
    request.head = head;
    std::size_t pos = head.find("\r\n");
    const std::string line = head.substr(0, pos);
    const std::size_t a = line.find(' ');
    const std::size_t b = line.find(' ', a == std::string::npos ? a : a + 1);
    request.method = line.substr(0, a);
    if (a != std::string::npos) request.target = line.substr(a + 1, b == std::string::npos ? b : b - a - 1);
    if (b != std::string::npos) request.version = line.substr(b + 1);
    while (pos != std::string::npos) {
      const std::size_t start = pos + 2;
      pos = head.find("\r\n", start);
      const std::string header = head.substr(start, pos == std::string::npos ? pos : pos - start);
      const std::size_t colon = header.find(':');
      if (colon == std::string::npos) continue;
      std::string value = header.substr(colon + 1);
      value.erase(0, value.find_first_not_of(" \t"));
      request.headers.emplace_back(header.substr(0, colon), value);
    }
    return request;
  }

  HttpReply Pick(const std::string& target) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = routes_.find(target);
    if (it == routes_.end()) it = routes_.find(target.substr(0, target.find('?')));
    if (it == routes_.end() || it->second.first.empty()) {
      return HttpReply::Status(404, "Not Found", "not found");
    }
    auto& [replies, next] = it->second;
    HttpReply reply = replies[std::min(next, replies.size() - 1)];
    ++next;
    return reply;
  }

  void Serve(int fd) {
    std::string data;
    if (!ReadUntil(fd, data, [&] { return data.find("\r\n\r\n") == std::string::npos; })) return;
    const std::size_t headEnd = data.find("\r\n\r\n");
    HttpRequestRecord request = Parse(data.substr(0, headEnd));
    std::size_t length = 0;
    const std::string stated = request.Header("Content-Length");
    if (!stated.empty()) length = std::strtoul(stated.c_str(), nullptr, 10);
    std::string body = data.substr(headEnd + 4);
    if (!ReadUntil(fd, body, [&] { return body.size() < length; })) return;
    request.body = body.substr(0, length);
    const HttpReply reply = Pick(request.target);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(std::move(request));
    }
    changed_.notify_all();

    std::string head = "HTTP/1.0 " + std::to_string(reply.status) + " " + reply.reason + "\r\n";
    for (const auto& line : reply.headers) head += line + "\r\n";
    if (reply.contentLength) {
      head += "Content-Length: " +
              std::to_string(reply.statedLength.value_or(reply.body.size() + reply.generatedBytes)) + "\r\n";
    }
    head += "Connection: close\r\n\r\n";
    const std::size_t before = std::min(
        reply.stallAfter.value_or(reply.paceBytes ? 0 : reply.body.size()), reply.body.size());
    if (!SendAll(fd, head + reply.body.substr(0, before))) return;
    if (reply.stallAfter) {
      std::unique_lock<std::mutex> lock(mutex_);
      ++stalled_;
      changed_.notify_all();
      changed_.wait(lock, [&] { return released_; });
    }
    for (std::size_t sent = before; sent < reply.body.size();) {
      const std::size_t piece = reply.paceBytes ? reply.paceBytes : reply.body.size() - sent;
      if (reply.paceBytes && !Pause(reply.paceDelay)) return;
      if (!SendAll(fd, reply.body.substr(sent, piece))) return;
      sent += piece;
    }
    const std::string generated(64 * 1024, 'G');
    for (std::uint64_t sent = 0; sent < reply.generatedBytes;) {
      const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(generated.size(), reply.generatedBytes - sent));
      if (!SendAll(fd, generated.substr(0, piece))) return;
      sent += piece;
    }
    ::shutdown(fd, SHUT_WR);
    // Let the client read to the end before the socket closes.
    std::string rest;
    ReadUntil(fd, rest, [] { return true; });
  }

  int listen_ = -1;
  int port_ = 0;
  std::thread acceptor_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::thread> workers_;
  std::map<std::string, std::pair<std::vector<HttpReply>, std::size_t>> routes_;
  std::vector<HttpRequestRecord> requests_;
  std::size_t stalled_ = 0;
  bool released_ = false;
  bool stopping_ = false;
};

}  // namespace solv::test
