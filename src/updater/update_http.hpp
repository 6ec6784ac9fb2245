// The update run's requests on the updater's three HTTP components: the update
// request, the server list and the files, each presenting itself as before.
#pragma once

#include <filesystem>
#include <string>

#include "main_loop.hpp"
#include "updater/update_run.hpp"
#include "utilhttp.hpp"

namespace solv {

class UpdateHttp : public HttpClient {
 public:
  explicit UpdateHttp(MainLoop& loop);

  HttpResponse Get(HttpRole role, const std::string& url, std::uint64_t maxBytes, const HttpProgress& progress,
                   const std::atomic<bool>& abort) override;
  HttpResponse Post(HttpRole role, const std::string& url, const std::string& formBody, std::uint64_t maxBytes,
                    const HttpProgress& progress, const std::atomic<bool>& abort) override;
  HttpResponse Download(HttpRole role, const std::string& url, const std::filesystem::path& target,
                        std::uint64_t maxBytes, const HttpProgress& progress,
                        const std::atomic<bool>& abort) override;
  // Stops whatever request is running; it then fails.
  void Abort();
  // The certificates TLS trusts instead of the system's (a test server).
  void TrustCertificates(const std::string& caFile);

  TUTILHTTP GetHTTPString;  // the update request
  TUTILHTTP GETHTTPFile01;  // the server list
  TUTILHTTP GETHTTPFile;    // each file

 private:
  HttpResponse Request(HttpRole role, const std::string& url, const std::string& formBody,
                       const std::filesystem::path* target, std::uint64_t maxBytes, const HttpProgress& progress,
                       const std::atomic<bool>& abort);
  TUTILHTTP& For(HttpRole role);

  MainLoop& loop_;
};

}  // namespace solv
