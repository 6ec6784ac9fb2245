// HTTP requests of the updater on libcurl: one worker thread per request,
// progress and the final report handed to the main thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "main_loop.hpp"

namespace solv {

// Every setting of a request; the worker gets its own copy when it starts.
struct HttpRequestSettings {
  std::string AcceptTypes = "*/*";
  std::string Agent;           // empty: none
  bool BinaryData = false;     // a file download that needs a stated content length
  std::uint32_t TimeOut = 0;   // ms for connect, send and receive; 0: the library's default
  std::string URL;             // host + object path; "http://" may lead, "https://" means TLS
  bool UseCache = false;       // false: always fetch from the server
  std::string FileName;        // target of a file download
  std::string UserName;
  std::string Password;
  std::string PostQuery;       // form-encoded body; not empty makes the request a POST
  std::string Referer;
  bool WaitThread = false;     // a file download returns only when its worker has reported
  std::uint64_t MaxBytes = 0;  // not 0: a reply stated or sent longer than this is cut off
  std::string CaFile;          // not empty: the certificates TLS trusts instead of the system's
};

// What a worker produced.
struct HttpWorkerResult {
  bool success = false;
  int status = 0;                  // HTTP status of the reply, 0 when none arrived
  bool lengthStated = false;       // the server stated a content length
  std::uint64_t fileSize = 0;      // the stated content length
  std::uint64_t bytesRead = 0;
  std::string reply;               // string mode: the reply text
  bool tooLarge = false;           // cut off at MaxBytes
};

using HttpWorkerProgress = std::function<void(std::uint64_t total, std::uint64_t read)>;

// The worker: performs one request from a copy of its settings, as HTTP/1.0,
// following up to five redirects (credentials stay with the first host; a
// request begun over https follows only https redirects, and TLS
// certificates are always checked).
// In string mode the body goes to the reply text; success needs at least one
// byte, whatever the status (the caller judges the text). In file mode the
// body goes to "<FileName>.part", which replaces FileName (keeping the old
// file's permissions) only when the status is 2xx and the body arrived whole;
// otherwise FileName stays as it was and no part file is left. With
// BinaryData a reply without a stated length fails before its body is read.
// With MaxBytes a stated length above it fails before the body is read, and
// a body that grows past it fails at once (tooLarge).
// With TimeOut the connection must be made in that time and the transfer
// fails once no data moved for that long; a slow but steady download is not
// cut off. progress is called in the worker thread after every block (total:
// the stated length, 0 when none); the request stops soon after stop is set.
// Never throws.
class TUTILHTTPThread {
 public:
  enum class Mode { File, String };
  static HttpWorkerResult Perform(const HttpRequestSettings& settings, Mode mode,
                                  const HttpWorkerProgress& progress,
                                  const std::atomic<bool>& stop);
};

class TUTILHTTP : public HttpRequestSettings {
 public:
  explicit TUTILHTTP(MainLoop& loop);
  // Stops a running worker and waits for it.
  ~TUTILHTTP();
  TUTILHTTP(const TUTILHTTP&) = delete;
  TUTILHTTP& operator=(const TUTILHTTP&) = delete;

  // The request in file mode; with WaitThread it returns once the worker has
  // reported, serving the main loop meanwhile.
  void GetFile();
  // The request in string mode; returns at once, the reply comes through
  // OnDoneString (or StringResult) or OnError. While Busy, GetFile and
  // GetString are ignored. Progress and reports are handled in the main
  // loop; a handler may start the next request or delete this component.
  void GetString();
  // Asks the running worker to stop; its report then goes to OnError (once),
  // and Busy stays true until it has. Does nothing when idle.
  void Abort();

  bool Busy() const { return busy_; }
  const std::string& StringResult() const { return stringResult_; }
  // The last report of a worker.
  const HttpWorkerResult& LastResult() const { return last_; }

  // When the main thread falls behind a fast download, counts in between are
  // skipped; the last count of a request comes before its report.
  std::function<void(TUTILHTTP&, std::uint64_t total, std::uint64_t read)> OnProgress;
  // fileSize: the stated length (what arrived when none was stated, which
  // only BinaryData false allows).
  std::function<void(TUTILHTTP&, const std::string& fileName, std::uint64_t fileSize)> OnDoneFile;
  std::function<void(TUTILHTTP&, const std::string& reply)> OnDoneString;
  std::function<void(TUTILHTTP&)> OnError;

 private:
  struct ProgressRelay;
  // Answers false when no worker was started (busy already, or no thread).
  bool Start(TUTILHTTPThread::Mode mode);
  void Report(std::uint64_t generation, TUTILHTTPThread::Mode mode, HttpWorkerResult result);

  MainLoop& loop_;
  bool busy_ = false;
  bool success_ = false;
  std::string stringResult_;
  std::string requestFileName_;  // FileName of the running request
  HttpWorkerResult last_;
  std::thread worker_;
  std::shared_ptr<std::atomic<bool>> stop_;
  std::shared_ptr<std::atomic<bool>> alive_;  // false once this component is gone
  std::uint64_t generation_ = 0;
};

}  // namespace solv
