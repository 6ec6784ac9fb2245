// The update run: compares the server list with the local list, downloads what
// is newer, checks each archive by unpacking it and puts the new files in place.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "updater/update_list.hpp"

namespace solv {

struct HttpResponse {
  bool completed = false;  // the transfer ended without a connection error or abort
  int status = 0;
  std::string body;
  std::optional<std::uint64_t> contentLength;  // as stated by the server
};

using HttpProgress = std::function<void(std::uint64_t total, std::uint64_t read)>;

// What a request is for: the client may present itself differently for each,
// and the window shows the progress of files on its gauge.
enum class HttpRole {
  Location,    // the update request; the reply is text
  ServerList,  // the server's file list
  File,        // one file or archive of the update
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // The client stops and answers an incomplete response once abort is set.
  // A ServerList or File response counts as complete only with a stated length.
  virtual HttpResponse Get(HttpRole role, const std::string& url, const HttpProgress& progress,
                           const std::atomic<bool>& abort) = 0;
  virtual HttpResponse Post(HttpRole role, const std::string& url, const std::string& formBody,
                            const HttpProgress& progress, const std::atomic<bool>& abort) = 0;
};

struct ArchiveEntry {
  std::string name;
  bool link = false;  // symbolic or hard link
};

class ArchiveExtractor {
 public:
  virtual ~ArchiveExtractor() = default;
  // 0 on success, otherwise the error code of the archive library.
  virtual int List(const std::filesystem::path& archive, std::vector<ArchiveEntry>& entries) = 0;
  virtual int Extract(const std::filesystem::path& archive, const std::string& entry,
                      const std::filesystem::path& targetDir) = 0;
};

class UpdateSink {
 public:
  virtual ~UpdateSink() = default;
  virtual void Log(const std::string& line) = 0;
  virtual void Description(const std::string& text) = 0;
  virtual void Progress(HttpRole /*role*/, std::uint64_t /*total*/, std::uint64_t /*read*/) {}
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
  // A damaged archive is downloaded again at most this many times.
  static constexpr int kMaxRedownloads = 3;
  static constexpr const char* kEndpointPath = "/tavena/app_offline/renovo_tavena2010_opp.php";

  UpdateRun(std::filesystem::path programDir, HttpClient& http, ArchiveExtractor& archives,
            UpdateSink& sink);

  // The whole exchange: the update request to endpointHost, the location reply,
  // the server list and then Run. endpointHost may start with "http://" or
  // "https://"; a download host named without a scheme then takes the
  // endpoint's, so an update begun over TLS stays on TLS.
  UpdateOutcome Start(const std::string& endpointHost, bool checkOnly);
  // The run proper, over the server list already in the program folder.
  UpdateOutcome Run(bool checkOnly);
  // Requested by the window's "Przerwij"; safe to call from a progress callback.
  void Abort();

  UpdateLocation location;
  const UpdateList& LocalList() const { return local_; }
  bool Failed() const { return failed_; }

 private:
  bool NeedsFetch(const UpdateRecord& server) const;
  bool Download(const std::string& name, bool replaceInPlace);
  void ConnectionLost();
  bool CheckArchive(const UpdateRecord& record);  // false: damaged
  void RemoveUnpacked();
  void Install();
  void Remove(const std::string& name);
  UpdateOutcome Finish(UpdateOutcome outcome);

  std::filesystem::path dir_;
  HttpClient& http_;
  ArchiveExtractor& archives_;
  UpdateSink& sink_;
  UpdateList local_;
  UpdateList server_;
  int count_ = 0;
  int counter_ = 0;
  bool unsafeArchive_ = false;
  bool failed_ = false;
  std::atomic<bool> abort_{false};
};

}  // namespace solv
