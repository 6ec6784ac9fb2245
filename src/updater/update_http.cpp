#include "update_http.hpp"

#include <system_error>


namespace solv {

namespace {

// The server's fixed credentials and the settings all three components share.
void Configure(TUTILHTTP& http, const char* agent, bool binary) {
  http.Agent = agent;
  http.BinaryData = binary;
  http.AcceptTypes = "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";
  http.TimeOut = 5000;
  http.UseCache = false;
  http.WaitThread = true;
  http.UserName = "merelka";
  http.Password = "pelor";
}

}  // namespace

UpdateHttp::UpdateHttp(MainLoop& loop)
    : GetHTTPString(loop), GETHTTPFile01(loop), GETHTTPFile(loop), loop_(loop) {
  Configure(GetHTTPString, "KVZ", false);
  Configure(GETHTTPFile01, "KVZ2", true);
  Configure(GETHTTPFile, "KVZ1", true);
}

TUTILHTTP& UpdateHttp::For(HttpRole role) {
  switch (role) {
    case HttpRole::Location: return GetHTTPString;
    case HttpRole::ServerList: return GETHTTPFile01;
    case HttpRole::File: break;
  }
  return GETHTTPFile;
}

void UpdateHttp::Abort() {
  GetHTTPString.Abort();
  GETHTTPFile01.Abort();
  GETHTTPFile.Abort();
}

void UpdateHttp::TrustCertificates(const std::string& caFile) {
  for (TUTILHTTP* http : {&GetHTTPString, &GETHTTPFile01, &GETHTTPFile}) http->CaFile = caFile;
}

HttpResponse UpdateHttp::Get(HttpRole role, const std::string& url, std::uint64_t maxBytes,
                             const HttpProgress& progress, const std::atomic<bool>& abort) {
  return Request(role, url, {}, nullptr, maxBytes, progress, abort);
}

HttpResponse UpdateHttp::Post(HttpRole role, const std::string& url, const std::string& formBody,
                              std::uint64_t maxBytes, const HttpProgress& progress, const std::atomic<bool>& abort) {
  return Request(role, url, formBody, nullptr, maxBytes, progress, abort);
}

HttpResponse UpdateHttp::Download(HttpRole role, const std::string& url, const std::filesystem::path& target,
                                  std::uint64_t maxBytes, const HttpProgress& progress,
                                  const std::atomic<bool>& abort) {
  return Request(role, url, {}, &target, maxBytes, progress, abort);
}

HttpResponse UpdateHttp::Request(HttpRole role, const std::string& url, const std::string& formBody,
                                 const std::filesystem::path* target, std::uint64_t maxBytes,
                                 const HttpProgress& progress, const std::atomic<bool>& abort) {
  TUTILHTTP& http = For(role);
  HttpResponse response;
  if (abort || http.Busy()) return response;

  bool reported = false;
  http.URL = url;
  http.PostQuery = formBody;
  http.MaxBytes = maxBytes;
  // The body streams to target's part file, which becomes target only whole.
  http.FileName = target ? target->string() : std::string();
  http.OnProgress = [&](TUTILHTTP&, std::uint64_t total, std::uint64_t read) {
    if (progress) progress(total, read);
  };
  http.OnDoneString = [&](TUTILHTTP&, const std::string& reply) {
    response.completed = true;
    response.body = reply;
    reported = true;
  };
  http.OnDoneFile = [&](TUTILHTTP&, const std::string&, std::uint64_t) {
    response.completed = true;
    reported = true;
  };
  http.OnError = [&](TUTILHTTP&) { reported = true; };

  if (target) http.GetFile();
  else http.GetString();
  // Served events may press "Przerwij"; the abort then reaches the worker.
  loop_.WaitUntil([&] {
    if (abort && http.Busy()) http.Abort();
    return reported && !http.Busy();
  });

  const HttpWorkerResult& result = http.LastResult();
  response.status = result.status;
  response.bytes = result.bytesRead;
  response.tooLarge = result.tooLarge;
  if (result.lengthStated) response.contentLength = result.fileSize;
  if (abort) response.completed = false;
  if (target && !response.completed) {
    std::error_code ec;
    std::filesystem::remove(*target, ec);
  }
  http.OnProgress = nullptr;
  http.OnDoneString = nullptr;
  http.OnDoneFile = nullptr;
  http.OnError = nullptr;
  return response;
}

}  // namespace solv
