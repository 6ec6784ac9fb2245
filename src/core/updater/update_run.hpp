// The update run: compares the server list with the local list, downloads what
// is newer, checks each archive by unpacking it and puts the new files in place.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "updater/update_install.hpp"
#include "updater/update_list.hpp"

namespace solv {

struct HttpResponse {
  bool completed = false;  // the transfer ended without a connection error or abort
  int status = 0;
  std::string body;        // the reply text of a text request
  std::optional<std::uint64_t> contentLength;  // as stated by the server
  std::uint64_t bytes = 0;  // body bytes received
  bool tooLarge = false;    // stated or sent more than the limit: cut off
};

using HttpProgress = std::function<void(std::uint64_t total, std::uint64_t read)>;

// What a request is for: the client may present itself differently for each,
// and the window shows the progress of files on its gauge.
enum class HttpRole {
  Location,    // the update request; the reply is text
  ServerList,  // the server's file list and its signature
  File,        // one file or archive of the update
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // A text request; the client stops and answers an incomplete response once
  // abort is set, and once the reply passes maxBytes (tooLarge).
  virtual HttpResponse Get(HttpRole role, const std::string& url, std::uint64_t maxBytes,
                           const HttpProgress& progress, const std::atomic<bool>& abort) = 0;
  virtual HttpResponse Post(HttpRole role, const std::string& url, const std::string& formBody,
                            std::uint64_t maxBytes, const HttpProgress& progress,
                            const std::atomic<bool>& abort) = 0;
  // A file download streamed to target (a new file; none is left when the
  // download fails). It counts as complete only with a success status, a
  // stated length and exactly that many bytes; a stated length above
  // maxBytes, or more bytes than that, cuts it off (tooLarge).
  virtual HttpResponse Download(HttpRole role, const std::string& url, const std::filesystem::path& target,
                                std::uint64_t maxBytes, const HttpProgress& progress,
                                const std::atomic<bool>& abort) = 0;
};

struct ArchiveEntry {
  std::string name;
  bool link = false;  // symbolic or hard link, or another special file
};

struct ExtractResult {
  int error = 0;         // the last error code of the archive library, 0 when none
  bool refused = false;  // accept refused an entry; the extraction stopped there
  std::string refusedName;
  bool stopped = false;  // keepGoing answered false
};

class ArchiveExtractor {
 public:
  virtual ~ArchiveExtractor() = default;
  // Unpacks the whole archive into targetDir in one pass. Each entry is
  // first shown to accept; a refused entry ends the extraction. keepGoing is
  // asked after every entry; false ends it too.
  virtual ExtractResult ExtractAll(const std::filesystem::path& archive, const std::filesystem::path& targetDir,
                                   const std::function<bool(const ArchiveEntry&)>& accept,
                                   const std::function<bool()>& keepGoing) = 0;
};

class UpdateSink {
 public:
  virtual ~UpdateSink() = default;
  virtual void Log(const std::string& line) = 0;
  virtual void Description(const std::string& text) = 0;
  virtual void Progress(HttpRole /*role*/, std::uint64_t /*total*/, std::uint64_t /*read*/) {}
  // Called between the entries of an archive: the window serves its events
  // here, so that "Przerwij" works while files are unpacked.
  virtual void Idle() {}
};

// Whom an update run trusts: the publisher's key, and whether plain http may
// be used at all (a build option; by default only https).
struct UpdateTrust {
  std::string publicKeyHex;
  bool allowPlainHttp = false;
};

enum class UpdateOutcome {
  NoAnswer,       // the update request failed or the reply was an error page
  UpToDate,       // nothing to fetch
  UpdateNeeded,   // check-only run found newer files
  Updated,
  Failed,
};

class UpdateRun {
 public:
  // A damaged download is fetched again at most this many times.
  static constexpr int kMaxRedownloads = 3;
  // No file of an update may be larger, whatever the list says.
  static constexpr std::uint64_t kMaxFileBytes = 512ull << 20;
  static constexpr std::uint64_t kMaxListBytes = 1 << 20;
  static constexpr std::uint64_t kMaxSignatureBytes = 1024;
  static constexpr std::uint64_t kMaxReplyBytes = 64 * 1024;
  static constexpr const char* kEndpointPath = "/tavena/app_offline/renovo_tavena2010_opp.php";

  UpdateRun(std::filesystem::path programDir, HttpClient& http, ArchiveExtractor& archives,
            UpdateSink& sink, UpdateTrust trust);
  ~UpdateRun();

  // The whole exchange: the update request to endpointHost, the location
  // reply, the signed server list and then the run. endpointHost without a
  // scheme is reached over https; a download host named without a scheme
  // takes the endpoint's. An update begun over https never goes on over
  // http, and http is used only when the trust allows it.
  UpdateOutcome Start(const std::string& endpointHost, bool checkOnly);
  // Requested by the window's "Przerwij"; safe to call from a progress callback.
  void Abort();

  UpdateLocation location;
  const UpdateList& LocalList() const { return local_; }
  bool Failed() const { return failed_; }

 private:
  struct Fetched;
  UpdateOutcome Run(bool checkOnly);
  bool NeedsFetch(const UpdateRecord& server) const;
  bool CheckServerList();
  HttpResponse Fetch(HttpRole role, const std::string& name, const std::filesystem::path& target,
                     std::uint64_t maxBytes);
  bool FetchVerified(const UpdateRecord& record, Fetched& fetched);
  bool Unpack(const UpdateRecord& record, Fetched& fetched);
  void ConnectionLost();
  void Refuse(const std::string& line);
  UpdateOutcome Finish(UpdateOutcome outcome);

  std::filesystem::path dir_;
  HttpClient& http_;
  ArchiveExtractor& archives_;
  UpdateSink& sink_;
  UpdateTrust trust_;
  std::unique_ptr<StagedInstall> staging_;
  UpdateList local_;
  UpdateList server_;
  int count_ = 0;
  int counter_ = 0;
  bool failed_ = false;
  std::atomic<bool> abort_{false};
};

}  // namespace solv
