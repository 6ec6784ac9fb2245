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
  // Downloads go to a temporary file in tempDir (the program folder) and are
  // handed over whole; the file is removed afterwards.
  UpdateHttp(MainLoop& loop, std::filesystem::path tempDir);

  HttpResponse Get(HttpRole role, const std::string& url, const HttpProgress& progress,
                   const std::atomic<bool>& abort) override;
  HttpResponse Post(HttpRole role, const std::string& url, const std::string& formBody,
                    const HttpProgress& progress, const std::atomic<bool>& abort) override;
  // Stops whatever request is running; it then fails.
  void Abort();

  TUTILHTTP GetHTTPString;  // the update request
  TUTILHTTP GETHTTPFile01;  // the server list
  TUTILHTTP GETHTTPFile;    // each file

 private:
  HttpResponse Request(HttpRole role, const std::string& url, const std::string& formBody,
                       const HttpProgress& progress, const std::atomic<bool>& abort);
  TUTILHTTP& For(HttpRole role);

  MainLoop& loop_;
  std::filesystem::path tempFile_;
};

}  // namespace solv
