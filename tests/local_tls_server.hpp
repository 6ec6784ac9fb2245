// A small HTTPS server on 127.0.0.1 for tests: a certificate made at start
// (its own CA, for 127.0.0.1), replies chosen by path, one connection at a
// time, every request target recorded. CaFile() is the certificate to trust.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "local_http_server.hpp"

namespace solv::test {

class LocalTlsServer {
 public:
  explicit LocalTlsServer(const std::filesystem::path& folder) : caFile_((folder / "test-ca.pem").string()) {
    key_ = EVP_EC_gen("P-256");
    cert_ = X509_new();
    if (!key_ || !cert_) throw std::runtime_error("no test certificate");
    X509_set_version(cert_, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert_), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert_), -60);
    X509_gmtime_adj(X509_getm_notAfter(cert_), 3600);
    X509_set_pubkey(cert_, key_);
    X509_NAME* name = X509_get_subject_name(cert_);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1,
                               0);
    X509_set_issuer_name(cert_, name);
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, cert_, cert_, nullptr, nullptr, 0);
    for (const auto& [nid, value] : {std::pair{NID_subject_alt_name, "IP:127.0.0.1"},
                                     std::pair{NID_basic_constraints, "critical,CA:TRUE"}}) {
      X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
      X509_add_ext(cert_, ext, -1);
      X509_EXTENSION_free(ext);
    }
    X509_sign(cert_, key_, EVP_sha256());
    if (std::FILE* f = std::fopen(caFile_.c_str(), "w")) {
      PEM_write_X509(f, cert_);
      std::fclose(f);
    }
    ssl_ = SSL_CTX_new(TLS_server_method());
    SSL_CTX_use_certificate(ssl_, cert_);
    SSL_CTX_use_PrivateKey(ssl_, key_);

    listen_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(listen_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(listen_, 16) != 0)
      throw std::runtime_error("no test TLS server");
    socklen_t len = sizeof addr;
    ::getsockname(listen_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { Loop(); });
  }
  ~LocalTlsServer() {
    stopping_ = true;
    thread_.join();
    ::close(listen_);
    SSL_CTX_free(ssl_);
    X509_free(cert_);
    EVP_PKEY_free(key_);
  }

  std::string Host() const { return "127.0.0.1:" + std::to_string(port_); }
  const std::string& CaFile() const { return caFile_; }
  void Route(const std::string& path, HttpReply reply) {
    std::lock_guard<std::mutex> lock(mutex_);
    routes_[path] = std::move(reply);
  }
  std::vector<std::string> Targets() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return targets_;
  }

 private:
  void Loop() {
    while (!stopping_) {
      pollfd p{listen_, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0) continue;
      const int fd = ::accept(listen_, nullptr, nullptr);
      if (fd < 0) continue;
      timeval timeout{5, 0};
      ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
      ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
      SSL* ssl = SSL_new(ssl_);
      SSL_set_fd(ssl, fd);
      if (SSL_accept(ssl) == 1) Serve(ssl);
      SSL_shutdown(ssl);
      SSL_free(ssl);
      ::close(fd);
      ERR_clear_error();
    }
  }

  void Serve(SSL* ssl) {
    std::string data;
    char buffer[4096];
    while (data.find("\r\n\r\n") == std::string::npos) {
      const int n = SSL_read(ssl, buffer, sizeof buffer);
      if (n <= 0) return;
      data.append(buffer, static_cast<std::size_t>(n));
    }
    const std::size_t start = data.find(' ') + 1;
    const std::string target = data.substr(start, data.find(' ', start) - start);
    HttpReply reply = HttpReply::Status(404, "Not Found", "brak");
    {
      std::lock_guard<std::mutex> lock(mutex_);
      targets_.push_back(target);
      auto it = routes_.find(target);
      if (it != routes_.end()) reply = it->second;
    }
    std::string out = "HTTP/1.0 " + std::to_string(reply.status) + " " + reply.reason + "\r\n";
    for (const auto& line : reply.headers) out += line + "\r\n";
    out += "Content-Length: " + std::to_string(reply.body.size()) + "\r\nConnection: close\r\n\r\n" + reply.body;
    SSL_write(ssl, out.data(), static_cast<int>(out.size()));
  }

  std::string caFile_;
  EVP_PKEY* key_ = nullptr;
  X509* cert_ = nullptr;
  SSL_CTX* ssl_ = nullptr;
  int listen_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
  mutable std::mutex mutex_;
  std::map<std::string, HttpReply> routes_;
  std::vector<std::string> targets_;
};

}  // namespace solv::test
