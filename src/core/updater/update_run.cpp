#include "updater/update_run.hpp"

#include <fstream>
#include <system_error>
#include <utility>

#include "util/ascii.hpp"
#include "value/number.hpp"

namespace solv {

namespace {

std::string Count(int n) { return Format("0", static_cast<long double>(n)); }

bool WriteFile(const std::filesystem::path& file, const std::string& body) {
  std::error_code ec;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(body.data(), static_cast<std::streamsize>(body.size()));
  out.flush();
  return static_cast<bool>(out);
}

// A file download succeeds only with a success status, a stated length and
// exactly that many bytes.
bool CompleteFile(const HttpResponse& r) {
  return r.completed && r.status >= 200 && r.status < 300 && r.contentLength &&
         *r.contentLength == r.body.size();
}

// "http://" or "https://" when the text starts with it (any case), else "".
std::string SchemeOf(const std::string& host) {
  for (const char* scheme : {"http://", "https://"}) {
    const std::string_view s(scheme);
    if (host.size() >= s.size() && EqualsIgnoreAsciiCase(std::string_view(host).substr(0, s.size()), s))
      return host.substr(0, s.size());
  }
  return {};
}

}  // namespace

UpdateRun::UpdateRun(std::filesystem::path programDir, HttpClient& http,
                     ArchiveExtractor& archives, UpdateSink& sink)
    : dir_(std::move(programDir)), http_(http), archives_(archives), sink_(sink) {}

void UpdateRun::Abort() {
  abort_ = true;
  failed_ = true;
}

void UpdateRun::ConnectionLost() {
  sink_.Log("Brak połączenia z serwerem");
  sink_.Log("Proces aktualizacji przerwany");
  failed_ = true;
  abort_ = true;
  sink_.Description("Aktualizacja przerwana.");
}

UpdateOutcome UpdateRun::Start(const std::string& endpointHost, bool checkOnly) {
  abort_ = false;
  failed_ = false;
  auto progress = [this](HttpRole role) {
    return [this, role](std::uint64_t total, std::uint64_t read) { sink_.Progress(role, total, read); };
  };
  const std::string url = endpointHost + kEndpointPath;
  HttpResponse reply =
      checkOnly ? http_.Post(HttpRole::Location, url, "test=1", progress(HttpRole::Location), abort_)
                : http_.Get(HttpRole::Location, url, progress(HttpRole::Location), abort_);
  if (!reply.completed || abort_ || reply.body.empty()) {
    ConnectionLost();
    return UpdateOutcome::NoAnswer;
  }
  // A reply with an error status is an error page, whatever its text.
  if (reply.status < 200 || reply.status >= 300 ||
      ParseLocationReply(reply.body, location) == LocationReply::NoAnswer) {
    sink_.Description("Aktualizacja przerwana.");
    return UpdateOutcome::NoAnswer;
  }
  const std::string scheme = SchemeOf(endpointHost);
  if (!scheme.empty() && SchemeOf(location.host).empty()) location.host = scheme + location.host;
  sink_.Log("Pobieranie danych ...");
  HttpResponse list = http_.Get(HttpRole::ServerList, location.host + location.path + kServerListName,
                                progress(HttpRole::ServerList), abort_);
  if (!CompleteFile(list) || abort_ || !WriteFile(dir_ / kServerListName, list.body)) {
    ConnectionLost();
    return UpdateOutcome::NoAnswer;
  }
  sink_.Description("Proszę czekać, trwa pobieranie plików...");
  return Run(checkOnly);
}

bool UpdateRun::NeedsFetch(const UpdateRecord& server) const {
  const UpdateRecord* local = local_.Find(server.name);
  return !(local && UpdateVersion(local->version) >= UpdateVersion(server.version));
}

bool UpdateRun::Download(const std::string& name, bool replaceInPlace) {
  auto progress = [this](std::uint64_t total, std::uint64_t read) {
    sink_.Progress(HttpRole::File, total, read);
  };
  HttpResponse r = http_.Get(HttpRole::File, location.host + location.path + name, progress, abort_);
  if (!CompleteFile(r) || abort_) {
    ConnectionLost();
    return false;
  }
  const std::filesystem::path target = dir_ / name;
  if (!replaceInPlace) {
    if (WriteFile(target, r.body)) return true;
    sink_.Log("Nie można zapisać pliku " + name);
    failed_ = true;
    return false;
  }
  // The old file stays until the new one is complete on disk.
  std::filesystem::path temp = target;
  temp += ".part";
  std::error_code ec;
  if (WriteFile(temp, r.body)) {
    std::filesystem::rename(temp, target, ec);
    if (!ec) return true;
  }
  std::filesystem::remove(temp, ec);
  sink_.Log("Nie można zapisać pliku " + name);
  failed_ = true;
  return false;
}

bool UpdateRun::CheckArchive(const UpdateRecord& record) {
  const std::filesystem::path archive = dir_ / record.archive;
  std::vector<ArchiveEntry> entries;
  if (archives_.List(archive, entries) != 0) return false;
  for (const auto& entry : entries) {
    if (entry.link || !IsSafeRelativeName(entry.name)) {
      sink_.Log("Niedozwolona nazwa pliku w archiwum " + record.archive + ": " + entry.name);
      unsafeArchive_ = true;
      failed_ = true;
      return true;
    }
  }
  bool damaged = false;
  for (const auto& entry : entries)
    if (archives_.Extract(archive, entry.name, dir_) != 0) damaged = true;
  return !damaged;
}

void UpdateRun::Remove(const std::string& name) {
  std::error_code ec;
  std::filesystem::remove(dir_ / name, ec);
}

void UpdateRun::RemoveUnpacked() {
  for (const auto& r : local_.items)
    if (r.flag == 'P' && !r.archive.empty()) Remove("_" + r.name);
}

void UpdateRun::Install() {
  for (const auto& r : local_.items) {
    if (r.flag != 'P' || r.archive.empty()) continue;
    const std::filesystem::path unpacked = dir_ / ("_" + r.name);
    std::error_code ec;
    if (!std::filesystem::exists(unpacked, ec)) continue;
    // The new file keeps the permissions of the one it replaces (archives made
    // elsewhere carry none, and the program must stay executable).
    const std::filesystem::path target = dir_ / r.name;
    const auto old = std::filesystem::status(target, ec);
    if (!ec && std::filesystem::is_regular_file(old))
      std::filesystem::permissions(unpacked, old.permissions(), ec);
    Remove(r.name);
    std::filesystem::rename(unpacked, target, ec);
    if (ec) failed_ = true;
  }
}

UpdateOutcome UpdateRun::Finish(UpdateOutcome outcome) {
  std::error_code ec;
  std::filesystem::remove(dir_ / kServerListName, ec);
  sink_.Log("Koniec");
  return outcome;
}

UpdateOutcome UpdateRun::Run(bool checkOnly) {
  failed_ = false;
  count_ = 0;
  counter_ = 0;
  unsafeArchive_ = false;

  for (auto [file, list] : {std::pair{kLocalListName, &local_}, std::pair{kServerListName, &server_}}) {
    if (LoadUpdateList(dir_ / file, *list) == ListLoad::Unreadable) {
      sink_.Log(std::string("Nie można odczytać pliku ") + file);
      failed_ = true;
      sink_.Description("Aktualizacja przerwana.");
      sink_.Log("Aktualizacja przebiegła nieprawidłowo");
      return Finish(UpdateOutcome::Failed);
    }
  }

  // Names from the server must stay inside the program folder.
  for (const auto& r : server_.items) {
    if (!IsSafeRelativeName(r.name) || (!r.archive.empty() && !IsSafeRelativeName(r.archive))) {
      sink_.Log("Niedozwolona nazwa pliku: " + (IsSafeRelativeName(r.name) ? r.archive : r.name));
      failed_ = true;
      sink_.Description("Aktualizacja przerwana.");
      sink_.Log("Aktualizacja przebiegła nieprawidłowo");
      return Finish(UpdateOutcome::Failed);
    }
  }

  for (const auto& r : server_.items)
    if (NeedsFetch(r)) ++count_;
  if (count_ == 0) {
    sink_.Description("Aktualizacja zakończona.");
    sink_.Log("Program nie wymaga aktualizacji");
    return Finish(UpdateOutcome::UpToDate);
  }
  sink_.Log("Liczba plików do pobrania: " + Count(count_));

  if (checkOnly) {
    Remove(kServerListName);
    sink_.Log("Twój program wymaga aktualizacji...");
    sink_.Log("Koniec");
    sink_.Description("Sprawdzanie zakończone.");
    return UpdateOutcome::UpdateNeeded;
  }

  // Fetch.
  for (const auto& r : server_.items) {
    if (!NeedsFetch(r)) continue;
    ++counter_;
    sink_.Log("Pobieram : " + Count(counter_) + "/" + Count(count_) + " ...");
    const bool packed = !r.archive.empty();
    const bool ok = Download(packed ? r.archive : r.name, !packed);
    if (ok) {
      UpdateRecord* local = local_.Find(r.name);
      if (!local) {
        local_.items.push_back(UpdateRecord{r.name, "", 0, ""});
        local = &local_.items.back();
      }
      local->version = r.version;
      local->archive = r.archive;
      local->flag = 'P';
    }
    if (abort_ || failed_) break;
  }
  if (abort_) {
    failed_ = true;
    sink_.Log("Operacja przerwana");
  }

  if (!failed_) {
    // Check and unpack; a damaged archive is downloaded again a few times.
    sink_.Log("Sprawdzanie plików ...");
    for (const auto& r : local_.items) {
      if (r.flag != 'P' || r.archive.empty()) continue;
      std::error_code ec;
      if (!std::filesystem::exists(dir_ / r.archive, ec)) continue;
      int redownloads = 0;
      while (!CheckArchive(r)) {
        if (abort_) break;
        if (redownloads == kMaxRedownloads) {
          sink_.Log("Plik " + r.archive + " jest uszkodzony - nie można go pobrać poprawnie");
          failed_ = true;
          break;
        }
        sink_.Log("Uszkodzony plik - pobieram ponownie");
        ++redownloads;
        if (!Download(r.archive, false)) break;
      }
      if (abort_ || failed_) break;
    }
    if (abort_) {
      failed_ = true;
      sink_.Log("Operacja przerwana");
    }
    if (failed_) {
      RemoveUnpacked();
    } else {
      sink_.Log("Aktualizacja ...");
      Install();
    }
  }

  if (!failed_ && !SaveUpdateList(dir_ / kLocalListName, local_)) {
    sink_.Log(std::string("Nie można zapisać pliku ") + kLocalListName);
    failed_ = true;
  }
  for (const auto& r : local_.items)
    if (r.flag == 'P' && !r.archive.empty()) Remove(r.archive);

  if (failed_) {
    sink_.Description("Aktualizacja przerwana.");
    sink_.Log("Aktualizacja przebiegła nieprawidłowo");
  } else {
    sink_.Description("Aktualizacja zakończona.");
    sink_.Log("Aktualizacja przebiegła prawidłowo");
  }
  return Finish(failed_ ? UpdateOutcome::Failed : UpdateOutcome::Updated);
}

}  // namespace solv
