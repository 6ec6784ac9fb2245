#include "utilhttp.hpp"

#include <curl/curl.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <utility>

namespace solv {

namespace {

constexpr long kBlockSize = 1025;     // bytes handed over per read
constexpr int kPollMs = 50;           // how often a running transfer looks at stop and stall
constexpr long kMaxRedirects = 5;

void GlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool StartsWith(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0;
}

// A host name, an IPv4 address or a bracketed IPv6 address, with an optional
// port. Anything else (user info, query, blanks) would change what is asked.
bool PlainHost(const std::string& host) {
  if (host.empty()) return false;
  for (unsigned char c : host) {
    if (!std::isalnum(c) && c != '.' && c != '-' && c != '_' && c != ':' && c != '[' && c != ']')
      return false;
  }
  return true;
}

// The object path as sent: bytes that cannot stand in a request line are
// percent-encoded, and "#" too (it would otherwise cut the path short).
std::string EncodeObject(const std::string& object) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : object) {
    if (c <= 0x20 || c >= 0x7F || c == '#') {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

// URL: host followed by the object path, "http://" allowed in front and
// dropped; "https://" keeps its scheme.
bool BuildUrl(const std::string& url, std::string& full, bool& tls) {
  std::string rest = url;
  std::string scheme = "http://";
  const std::string lower = Lower(url);
  if (StartsWith(lower, "http://")) {
    rest = url.substr(7);
  } else if (StartsWith(lower, "https://")) {
    scheme = "https://";
    rest = url.substr(8);
  }
  const std::size_t slash = rest.find('/');
  const std::string host = rest.substr(0, slash);
  const std::string object = slash == std::string::npos ? "/" : rest.substr(slash);
  if (!PlainHost(host)) return false;
  full = scheme + host + EncodeObject(object);
  tls = scheme == "https://";
  return true;
}

struct SlistGuard {
  curl_slist* list = nullptr;
  ~SlistGuard() { curl_slist_free_all(list); }
  bool Add(const std::string& line) {
    curl_slist* next = curl_slist_append(list, line.c_str());
    if (!next) return false;
    list = next;
    return true;
  }
};

struct EasyGuard {
  CURL* easy = curl_easy_init();
  ~EasyGuard() {
    if (easy) curl_easy_cleanup(easy);
  }
};

struct MultiGuard {
  CURLM* multi = curl_multi_init();
  CURL* added = nullptr;
  ~MultiGuard() {
    if (multi && added) curl_multi_remove_handle(multi, added);
    if (multi) curl_multi_cleanup(multi);
  }
};

// The body of a file download goes to "<FileName>.part" and replaces
// FileName only when it arrived whole, so a broken download never leaves a
// truncated file behind in place of a good one.
class PartFile {
 public:
  explicit PartFile(std::string target) : target_(std::move(target)), part_(target_ + ".part") {}
  ~PartFile() { Discard(); }

  bool Open() {
    ::unlink(part_.c_str());
    const int fd = ::open(part_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    struct stat old {};
    // The replaced file keeps its permissions (a program stays executable).
    if (::stat(target_.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd, old.st_mode & 07777);
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
      ::close(fd);
      ::unlink(part_.c_str());
      return false;
    }
    open_ = true;
    return true;
  }

  bool Write(const char* data, std::size_t size) {
    return file_ && std::fwrite(data, 1, size, file_) == size;
  }

  // Closes the part file and puts it in place of the target.
  bool Commit() {
    if (!file_) return false;
    bool ok = std::fflush(file_) == 0 && ::fsync(::fileno(file_)) == 0;
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    ok = ok && std::rename(part_.c_str(), target_.c_str()) == 0;
    if (ok) open_ = false;
    return ok;
  }

  void Discard() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    if (open_) ::unlink(part_.c_str());
    open_ = false;
  }

 private:
  std::string target_;
  std::string part_;
  std::FILE* file_ = nullptr;
  bool open_ = false;  // the part file exists and is ours
};

using Clock = std::chrono::steady_clock;

struct Transfer {
  const HttpRequestSettings& settings;
  TUTILHTTPThread::Mode mode;
  const HttpWorkerProgress& progress;
  const std::atomic<bool>& stop;
  CURL* easy = nullptr;
  HttpWorkerResult& result;
  PartFile file;

  enum class Stage { Headers, Body, Refused } stage = Stage::Headers;
  bool locationSeen = false;
  Clock::time_point lastActivity = Clock::now();

  Transfer(const HttpRequestSettings& s, TUTILHTTPThread::Mode m, const HttpWorkerProgress& p,
           const std::atomic<bool>& st, HttpWorkerResult& r)
      : settings(s), mode(m), progress(p), stop(st), result(r), file(s.FileName) {}

  // The end of a header block: a redirect that will be followed, or the
  // reply whose body is read or refused.
  bool HeadersDone() {
    long code = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &code);
    if (code >= 100 && code < 200) return true;
    const bool redirect =
        code == 301 || code == 302 || code == 303 || code == 307 || code == 308;
    if (redirect && locationSeen) {
      locationSeen = false;
      return true;
    }
    result.status = static_cast<int>(code);
    curl_off_t length = -1;
    curl_easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    result.lengthStated = length >= 0;
    result.fileSize = length >= 0 ? static_cast<std::uint64_t>(length) : 0;
    stage = Stage::Refused;
    if (settings.BinaryData && !result.lengthStated) return false;
    // An error page fails as such, however long it is.
    if (settings.MaxBytes != 0 && result.lengthStated && result.fileSize > settings.MaxBytes && code >= 200 &&
        code <= 299) {
      result.tooLarge = true;
      return false;
    }
    if (mode == TUTILHTTPThread::Mode::File) {
      // An error page is never written as the requested file.
      if (code < 200 || code > 299) return false;
      if (settings.FileName.empty() || !file.Open()) return false;
    }
    stage = Stage::Body;
    return true;
  }

  bool Header(const char* data, std::size_t size) {
    lastActivity = Clock::now();
    if (stop) return false;
    std::string line(data, size);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (StartsWith(line, "HTTP/")) {
      locationSeen = false;
      return true;
    }
    if (line.empty()) return stage == Stage::Headers ? HeadersDone() : true;
    const std::string lower = Lower(line);
    if (StartsWith(lower, "location:") && lower.find_first_not_of(" \t", 9) != std::string::npos)
      locationSeen = true;
    return true;
  }

  bool Body(const char* data, std::size_t size) {
    lastActivity = Clock::now();
    if (stop) return false;
    if (stage == Stage::Headers) return true;  // the body of a redirect
    if (stage != Stage::Body) return false;
    if (settings.MaxBytes != 0 && size > settings.MaxBytes - result.bytesRead) {
      result.tooLarge = true;
      return false;
    }
    if (mode == TUTILHTTPThread::Mode::File) {
      if (!file.Write(data, size)) return false;
    } else {
      result.reply.append(data, size);
    }
    result.bytesRead += size;
    if (progress) progress(result.fileSize, result.bytesRead);
    return true;
  }
};

std::size_t HeaderCallback(char* data, std::size_t size, std::size_t count, void* user) {
  const std::size_t bytes = size * count;
  try {
    return static_cast<Transfer*>(user)->Header(data, bytes) ? bytes : 0;
  } catch (...) {
    return 0;
  }
}

std::size_t WriteCallback(char* data, std::size_t size, std::size_t count, void* user) {
  const std::size_t bytes = size * count;
  try {
    return static_cast<Transfer*>(user)->Body(data, bytes) ? bytes : 0;
  } catch (...) {
    return 0;
  }
}

bool Configure(CURL* easy, const HttpRequestSettings& s, const std::string& url, bool tls,
               curl_slist* headers, Transfer& transfer) {
  bool ok = true;
  auto set = [&ok](CURLcode code) { ok = ok && code == CURLE_OK; };
  set(curl_easy_setopt(easy, CURLOPT_URL, url.c_str()));
  // Once on TLS, a redirect never leads off it.
  set(curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, tls ? "https" : "http,https"));
  set(curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, tls ? "https" : "http,https"));
  set(curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L));
  set(curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L));
  if (!s.CaFile.empty()) set(curl_easy_setopt(easy, CURLOPT_CAINFO, s.CaFile.c_str()));
  set(curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L));
  set(curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects));
  set(curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L));
  set(curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0)));
  set(curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kBlockSize));
  if (!s.Agent.empty()) set(curl_easy_setopt(easy, CURLOPT_USERAGENT, s.Agent.c_str()));
  if (!s.Referer.empty()) set(curl_easy_setopt(easy, CURLOPT_REFERER, s.Referer.c_str()));
  if (!s.UserName.empty() || !s.Password.empty()) {
    set(curl_easy_setopt(easy, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC)));
    set(curl_easy_setopt(easy, CURLOPT_USERNAME, s.UserName.c_str()));
    set(curl_easy_setopt(easy, CURLOPT_PASSWORD, s.Password.c_str()));
  }
  if (s.TimeOut != 0)
    set(curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(s.TimeOut)));
  if (!s.PostQuery.empty()) {
    set(curl_easy_setopt(easy, CURLOPT_POST, 1L));
    set(curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(s.PostQuery.size())));
    set(curl_easy_setopt(easy, CURLOPT_POSTFIELDS, s.PostQuery.c_str()));
  }
  set(curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers));
  set(curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &HeaderCallback));
  set(curl_easy_setopt(easy, CURLOPT_HEADERDATA, &transfer));
  set(curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &WriteCallback));
  set(curl_easy_setopt(easy, CURLOPT_WRITEDATA, &transfer));
  return ok;
}

HttpWorkerResult PerformUnguarded(const HttpRequestSettings& s, TUTILHTTPThread::Mode mode,
                                  const HttpWorkerProgress& progress,
                                  const std::atomic<bool>& stop) {
  HttpWorkerResult result;
  if (stop) return result;
  std::string url;
  bool tls = false;
  if (!BuildUrl(s.URL, url, tls)) return result;
  GlobalInit();

  SlistGuard headers;
  // An empty "Accept:" removes the header instead of sending a blank one.
  bool ok = headers.Add(s.AcceptTypes.empty() ? "Accept:" : "Accept: " + s.AcceptTypes);
  if (!s.UseCache) {
    ok = ok && headers.Add("Pragma: no-cache") && headers.Add("Cache-Control: no-cache");
  }
  if (!s.PostQuery.empty()) {
    ok = ok && headers.Add("Content-Type: application/x-www-form-urlencoded");
  }
  if (!ok) return result;

  // The transfer outlives the handles whose callbacks point at it.
  Transfer transfer(s, mode, progress, stop, result);
  EasyGuard easy;
  MultiGuard multi;
  if (!easy.easy || !multi.multi) return result;
  transfer.easy = easy.easy;
  if (!Configure(easy.easy, s, url, tls, headers.list, transfer)) return result;
  if (curl_multi_add_handle(multi.multi, easy.easy) != CURLM_OK) return result;
  multi.added = easy.easy;

  // The receive time-out: no data for TimeOut ms once connected. The connect
  // phase has its own limit; a slow but moving download is never cut off.
  const auto idleLimit = std::chrono::milliseconds(s.TimeOut);
  curl_off_t sent = 0;
  int running = 1;
  for (;;) {
    if (curl_multi_perform(multi.multi, &running) != CURLM_OK) return result;
    if (stop) return result;
    if (!running) break;
    if (s.TimeOut != 0) {
      const auto now = Clock::now();
      curl_off_t pretransfer = 0;
      curl_easy_getinfo(easy.easy, CURLINFO_PRETRANSFER_TIME_T, &pretransfer);
      curl_off_t uploaded = 0;
      curl_easy_getinfo(easy.easy, CURLINFO_SIZE_UPLOAD_T, &uploaded);
      if (pretransfer == 0 || uploaded != sent) {
        sent = uploaded;
        transfer.lastActivity = now;
      } else if (now - transfer.lastActivity > idleLimit) {
        return result;
      }
    }
    if (curl_multi_poll(multi.multi, nullptr, 0, kPollMs, nullptr) != CURLM_OK) return result;
  }

  CURLcode code = CURLE_FAILED_INIT;
  int left = 0;
  while (CURLMsg* msg = curl_multi_info_read(multi.multi, &left)) {
    if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy.easy) code = msg->data.result;
  }
  if (code != CURLE_OK || stop || transfer.stage != Transfer::Stage::Body) return result;

  if (mode == TUTILHTTPThread::Mode::File) {
    if (result.lengthStated && result.bytesRead != result.fileSize) return result;
    if (!transfer.file.Commit()) return result;
    result.success = true;
  } else {
    result.success = result.bytesRead > 0;
  }
  return result;
}

}  // namespace

HttpWorkerResult TUTILHTTPThread::Perform(const HttpRequestSettings& settings, Mode mode,
                                          const HttpWorkerProgress& progress,
                                          const std::atomic<bool>& stop) {
  try {
    return PerformUnguarded(settings, mode, progress, stop);
  } catch (...) {
    return {};
  }
}

// Progress of one request on its way to the main thread: the worker keeps the
// latest counts and posts a task only when none is pending, so a fast
// download does not flood the main loop; the task shows the latest counts.
struct TUTILHTTP::ProgressRelay {
  std::atomic<std::uint64_t> total{0};
  std::atomic<std::uint64_t> read{0};
  std::atomic<bool> pending{false};
};

TUTILHTTP::TUTILHTTP(MainLoop& loop)
    : loop_(loop),
      stop_(std::make_shared<std::atomic<bool>>(false)),
      alive_(std::make_shared<std::atomic<bool>>(true)) {}

TUTILHTTP::~TUTILHTTP() {
  *alive_ = false;
  *stop_ = true;
  if (worker_.joinable()) worker_.join();
}

void TUTILHTTP::GetFile() {
  if (!Start(TUTILHTTPThread::Mode::File) || !WaitThread) return;
  auto alive = alive_;
  const std::uint64_t generation = generation_;
  // A handler run meanwhile may delete this component or start its next request.
  loop_.WaitUntil([this, alive, generation] {
    return !*alive || generation_ != generation || !busy_;
  });
}

void TUTILHTTP::GetString() { Start(TUTILHTTPThread::Mode::String); }

void TUTILHTTP::Abort() {
  if (!busy_) return;
  success_ = false;
  *stop_ = true;
}

bool TUTILHTTP::Start(TUTILHTTPThread::Mode mode) {
  success_ = false;
  if (busy_) return false;
  if (worker_.joinable()) worker_.join();
  busy_ = true;
  stringResult_.clear();
  last_ = {};
  const std::uint64_t generation = ++generation_;
  stop_ = std::make_shared<std::atomic<bool>>(false);
  requestFileName_ = FileName;

  auto relay = std::make_shared<ProgressRelay>();
  HttpRequestSettings settings = *this;
  MainLoop& loop = loop_;
  auto stop = stop_;
  auto alive = alive_;
  HttpWorkerProgress progress = [this, &loop, relay, stop, alive, generation](
                                    std::uint64_t total, std::uint64_t read) {
    relay->total = total;
    relay->read = read;
    if (relay->pending.exchange(true)) return;
    loop.Post([this, relay, stop, alive, generation] {
      relay->pending = false;
      if (!*alive || *stop || generation != generation_ || !busy_) return;
      auto handler = OnProgress;
      if (handler) handler(*this, relay->total, relay->read);
    });
  };
  try {
    worker_ = std::thread([this, settings = std::move(settings), mode, progress = std::move(progress),
                           &loop, stop, alive, generation] {
      HttpWorkerResult result = TUTILHTTPThread::Perform(settings, mode, progress, *stop);
      try {
        loop.Post([this, alive, generation, mode, result = std::move(result)]() mutable {
          if (*alive) Report(generation, mode, std::move(result));
        });
      } catch (...) {
        // Nothing can reach the main thread any more.
      }
    });
  } catch (...) {
    // No thread: the request fails at once.
    busy_ = false;
    auto handler = OnError;
    if (handler) handler(*this);
    return false;
  }
  return true;
}

void TUTILHTTP::Report(std::uint64_t generation, TUTILHTTPThread::Mode mode,
                       HttpWorkerResult result) {
  if (generation != generation_) return;
  if (worker_.joinable()) worker_.join();
  if (*stop_) result.success = false;  // aborted: whatever arrived does not count
  success_ = result.success;
  last_ = std::move(result);
  busy_ = false;
  // A handler may start the next request or delete this component: nothing
  // of this object is touched after it.
  if (!success_) {
    auto handler = OnError;
    if (handler) handler(*this);
  } else if (mode == TUTILHTTPThread::Mode::String) {
    auto handler = OnDoneString;
    if (!handler) {
      stringResult_ = last_.reply;
      return;
    }
    const std::string reply = last_.reply;
    handler(*this, reply);
  } else {
    auto handler = OnDoneFile;
    const std::string fileName = requestFileName_;
    // The stated size; without one (only when BinaryData is off) what arrived.
    const std::uint64_t size = last_.lengthStated ? last_.fileSize : last_.bytesRead;
    if (handler) handler(*this, fileName, size);
  }
}

}  // namespace solv
