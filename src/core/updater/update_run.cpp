#include "updater/update_run.hpp"

#include <system_error>
#include <utility>

#include "updater/update_signature.hpp"
#include "util/ascii.hpp"
#include "util/file_io.hpp"
#include "value/number.hpp"

namespace solv {

namespace {

std::string Count(int n) { return Format("0", static_cast<long double>(n)); }

constexpr std::string_view kHttp = "http://";
constexpr std::string_view kHttps = "https://";

// "http://" or "https://" when the text starts with it (any case), else "".
std::string_view SchemeOf(std::string_view host) {
  for (const std::string_view scheme : {kHttp, kHttps}) {
    if (host.size() >= scheme.size() && EqualsIgnoreAsciiCase(host.substr(0, scheme.size()), scheme)) return scheme;
  }
  return {};
}

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return text;
}

// What is downloaded for a record: its archive, or the file itself.
const std::string& FetchedName(const UpdateRecord& r) { return r.archive.empty() ? r.name : r.archive; }

}  // namespace

// One verified download of the run, waiting in the staging folder.
struct UpdateRun::Fetched {
  std::filesystem::path file;
};

UpdateRun::UpdateRun(std::filesystem::path programDir, HttpClient& http, ArchiveExtractor& archives,
                     UpdateSink& sink, UpdateTrust trust)
    : dir_(std::move(programDir)),
      http_(http),
      archives_(archives),
      sink_(sink),
      trust_(std::move(trust)),
      staging_(std::make_unique<StagedInstall>(dir_)) {}

UpdateRun::~UpdateRun() = default;

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

// Ends the run before anything is fetched: a rule of trust was broken.
void UpdateRun::Refuse(const std::string& line) {
  sink_.Log(line);
  failed_ = true;
  sink_.Description("Aktualizacja przerwana.");
}

UpdateOutcome UpdateRun::Start(const std::string& endpointHost, bool checkOnly) {
  abort_ = false;
  failed_ = false;
  std::string endpoint = endpointHost;
  std::string scheme(SchemeOf(endpoint));
  if (scheme.empty()) {
    scheme = kHttps;
    endpoint = scheme + endpoint;
  }
  if (scheme == kHttp && !trust_.allowPlainHttp) {
    Refuse("Połączenie bez szyfrowania (http) jest wyłączone - aktualizacja przerwana");
    return UpdateOutcome::NoAnswer;
  }
  if (!ParsePublicKey(trust_.publicKeyHex)) {
    Refuse("Brak klucza do sprawdzenia podpisu aktualizacji - aktualizacja przerwana");
    return UpdateOutcome::NoAnswer;
  }

  auto progress = [this](HttpRole role) {
    return [this, role](std::uint64_t total, std::uint64_t read) { sink_.Progress(role, total, read); };
  };
  const std::string url = endpoint + kEndpointPath;
  HttpResponse reply =
      checkOnly ? http_.Post(HttpRole::Location, url, "test=1", kMaxReplyBytes, progress(HttpRole::Location), abort_)
                : http_.Get(HttpRole::Location, url, kMaxReplyBytes, progress(HttpRole::Location), abort_);
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
  const std::string_view downloadScheme = SchemeOf(location.host);
  if (downloadScheme.empty()) {
    location.host = scheme + location.host;
  } else if (downloadScheme == kHttp && (scheme == kHttps || !trust_.allowPlainHttp)) {
    Refuse("Serwer wskazał pobieranie bez szyfrowania (http) - aktualizacja odrzucona");
    return UpdateOutcome::NoAnswer;
  }
  sink_.Log("Pobieranie danych ...");
  if (!staging_->Prepare()) {
    Refuse(std::string("Nie można utworzyć folderu ") + kStagingName + " w folderze programu");
    sink_.Log("Aktualizacja przebiegła nieprawidłowo");
    return Finish(UpdateOutcome::Failed);
  }
  HttpResponse list = Fetch(HttpRole::ServerList, kServerListName, staging_->Folder() / kServerListName, kMaxListBytes);
  if (!list.completed || abort_) {
    if (list.tooLarge) Refuse("Lista plików aktualizacji jest za duża - aktualizacja odrzucona");
    else ConnectionLost();
    return Finish(UpdateOutcome::NoAnswer);
  }
  HttpResponse signature =
      Fetch(HttpRole::ServerList, kSignatureName, staging_->Folder() / kSignatureName, kMaxSignatureBytes);
  // A server that answers without the signature has none to give: the
  // list is refused below; only a lost connection is reported as such.
  if (!signature.completed && (abort_ || signature.status == 0) && !signature.tooLarge) {
    ConnectionLost();
    return Finish(UpdateOutcome::NoAnswer);
  }
  sink_.Description("Proszę czekać, trwa pobieranie plików...");
  return Run(checkOnly);
}

bool UpdateRun::NeedsFetch(const UpdateRecord& server) const {
  const UpdateRecord* local = local_.Find(server.name);
  return !(local && UpdateVersion(local->version) >= UpdateVersion(server.version));
}

// The signed list: read, its signature checked, every record sound.
bool UpdateRun::CheckServerList() {
  const std::optional<std::string> text = ReadWholeFile(staging_->Folder() / kServerListName);
  const std::optional<std::string> signature = ReadWholeFile(staging_->Folder() / kSignatureName);
  const std::optional<UpdatePublicKey> key = ParsePublicKey(trust_.publicKeyHex);
  if (!text || !signature || !key || !VerifyUpdateList(*text, *signature, *key)) {
    Refuse("Lista plików aktualizacji nie ma poprawnego podpisu - aktualizacja odrzucona");
    return false;
  }
  server_.ParseText(*text);
  for (const auto& r : server_.items) {
    for (const std::string* name : {&r.name, &r.archive}) {
      if (name->empty() && name == &r.archive) continue;
      if (!IsSafeRelativeName(*name) || IsProtectedName(*name)) {
        Refuse("Niedozwolona nazwa pliku: " + *name);
        return false;
      }
    }
    const std::optional<std::uint64_t> size = UpdateSize(r.size);
    if (!size || !IsSha256Text(r.sha256)) {
      Refuse("Lista plików aktualizacji nie podaje rozmiaru i sumy kontrolnej pliku " + FetchedName(r) +
             " - aktualizacja odrzucona");
      return false;
    }
    if (*size > kMaxFileBytes) {
      Refuse("Plik " + FetchedName(r) + " jest za duży - aktualizacja odrzucona");
      return false;
    }
  }
  return true;
}

HttpResponse UpdateRun::Fetch(HttpRole role, const std::string& name, const std::filesystem::path& target,
                              std::uint64_t maxBytes) {
  auto progress = [this, role](std::uint64_t total, std::uint64_t read) { sink_.Progress(role, total, read); };
  HttpResponse r = http_.Download(role, location.host + location.path + name, target, maxBytes, progress, abort_);
  if (abort_) r.completed = false;
  if (!r.completed) {
    std::error_code ec;
    std::filesystem::remove(target, ec);
  }
  return r;
}

// Downloads what the record names until its size and SHA-256 are the ones
// the signed list states, a few times at most.
bool UpdateRun::FetchVerified(const UpdateRecord& record, Fetched& fetched) {
  const std::string& name = FetchedName(record);
  const std::uint64_t size = *UpdateSize(record.size);
  const std::string sha256 = Lower(record.sha256);
  for (int attempt = 0; attempt <= kMaxRedownloads; ++attempt) {
    if (attempt > 0) sink_.Log("Uszkodzony plik - pobieram ponownie");
    const std::filesystem::path target = staging_->NewName("d");
    const HttpResponse r = Fetch(HttpRole::File, name, target, size);
    if (abort_) return false;
    if (r.tooLarge) {
      sink_.Log("Plik " + name + " jest większy, niż podaje lista aktualizacji - pobieranie przerwane");
      continue;
    }
    if (!r.completed) {
      ConnectionLost();
      return false;
    }
    const std::optional<FileDigest> digest = DigestFile(target);
    if (digest && digest->size == size && digest->sha256 == sha256) {
      fetched.file = target;
      return true;
    }
    std::error_code ec;
    std::filesystem::remove(target, ec);
  }
  sink_.Log("Plik " + name + " nie zgadza się z listą aktualizacji (rozmiar albo suma kontrolna) - "
            "aktualizacja odrzucona");
  failed_ = true;
  return false;
}

// Unpacks a verified archive into the staging folder in one pass and adds
// its files to the install: "_" + name becomes the record's file, every other
// entry keeps its name.
bool UpdateRun::Unpack(const UpdateRecord& record, Fetched& fetched) {
  const std::filesystem::path into = staging_->NewName("x");
  std::error_code ec;
  if (!std::filesystem::create_directory(into, ec)) {
    sink_.Log("Nie można rozpakować pliku " + record.archive);
    failed_ = true;
    return false;
  }
  const std::string mainEntry = "_" + record.name;
  const auto installedAs = [&](const std::string& entry) { return entry == mainEntry ? record.name : entry; };
  const auto accept = [&](const ArchiveEntry& entry) {
    return !entry.link && IsSafeRelativeName(entry.name) && !IsProtectedName(entry.name) &&
           !IsProtectedName(installedAs(entry.name));
  };
  const auto keepGoing = [this] {
    sink_.Idle();
    return !abort_;
  };
  const ExtractResult result = archives_.ExtractAll(fetched.file, into, accept, keepGoing);
  if (abort_) return false;
  if (result.refused) {
    sink_.Log("Niedozwolona nazwa pliku w archiwum " + record.archive + ": " + result.refusedName);
    failed_ = true;
    return false;
  }
  if (result.error != 0 || result.stopped) {
    sink_.Log("Plik " + record.archive + " jest uszkodzony - nie można go rozpakować");
    failed_ = true;
    return false;
  }
  for (auto it = std::filesystem::recursive_directory_iterator(into, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (!it->is_regular_file(ec) || it->is_symlink(ec)) continue;
    staging_->Add(it->path(), installedAs(std::filesystem::relative(it->path(), into).generic_string()));
  }
  if (ec) {
    sink_.Log("Nie można rozpakować pliku " + record.archive);
    failed_ = true;
    return false;
  }
  return true;
}

UpdateOutcome UpdateRun::Finish(UpdateOutcome outcome) {
  staging_->Remove();
  sink_.Log("Koniec");
  return outcome;
}

UpdateOutcome UpdateRun::Run(bool checkOnly) {
  failed_ = false;
  count_ = 0;
  counter_ = 0;

  if (LoadUpdateList(dir_ / kLocalListName, local_) == ListLoad::Unreadable) {
    Refuse(std::string("Nie można odczytać pliku ") + kLocalListName);
    sink_.Log("Aktualizacja przebiegła nieprawidłowo");
    return Finish(UpdateOutcome::Failed);
  }
  if (!CheckServerList()) {
    sink_.Log("Aktualizacja przebiegła nieprawidłowo");
    return Finish(UpdateOutcome::Failed);
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
    staging_->Remove();
    sink_.Log("Twój program wymaga aktualizacji...");
    sink_.Log("Koniec");
    sink_.Description("Sprawdzanie zakończone.");
    return UpdateOutcome::UpdateNeeded;
  }

  // Fetch: every file is verified against the list as it arrives.
  std::vector<std::pair<const UpdateRecord*, Fetched>> fetched;
  for (const auto& r : server_.items) {
    if (!NeedsFetch(r)) continue;
    ++counter_;
    sink_.Log("Pobieram : " + Count(counter_) + "/" + Count(count_) + " ...");
    Fetched file;
    if (!FetchVerified(r, file)) break;
    UpdateRecord* local = local_.Find(r.name);
    if (!local) {
      local_.items.push_back(UpdateRecord{r.name, "", 0, "", "", ""});
      local = &local_.items.back();
    }
    local->version = r.version;
    local->archive = r.archive;
    local->flag = 'P';
    fetched.emplace_back(&r, file);
    if (abort_) break;
  }

  if (!failed_ && !abort_) {
    // Check and unpack, into the staging folder.
    sink_.Log("Sprawdzanie plików ...");
    for (auto& [record, file] : fetched) {
      if (record->archive.empty()) staging_->Add(file.file, record->name);
      else if (!Unpack(*record, file)) break;
    }
  }
  if (abort_) {
    failed_ = true;
    sink_.Log("Operacja przerwana");
  }

  if (!failed_) {
    sink_.Log("Aktualizacja ...");
    bool listSaved = true;
    const StagedInstall::Result installed = staging_->Install([&] {
      listSaved = SaveUpdateList(dir_ / kLocalListName, local_);
      return listSaved;
    });
    if (!installed.ok) {
      sink_.Log(listSaved ? "Nie można zastąpić pliku " + installed.failedTarget
                          : std::string("Nie można zapisać pliku ") + kLocalListName);
      sink_.Log("Przywrócono poprzednie pliki programu");
      failed_ = true;
    }
  }

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
