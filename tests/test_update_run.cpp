#include <gtest/gtest.h>

#include <unistd.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "temp_folder.hpp"
#include "updater/update_run.hpp"

namespace fs = std::filesystem;
using namespace solv;

namespace {

HttpResponse Body(const std::string& body) { return {true, 200, body, body.size()}; }

// Answers each URL from a queue of responses; the last one repeats.
class FakeHttp : public HttpClient {
 public:
  std::map<std::string, std::deque<HttpResponse>> responses;
  std::vector<std::string> requests;
  std::string lastPostBody;
  std::string abortOn;  // this URL aborts the run while it downloads
  UpdateRun* run = nullptr;

  std::vector<HttpRole> roles;

  HttpResponse Get(HttpRole role, const std::string& url, const HttpProgress& progress,
                   const std::atomic<bool>& abort) override {
    requests.push_back(url);
    roles.push_back(role);
    auto it = responses.find(url);
    if (it == responses.end() || it->second.empty()) return {};
    HttpResponse r = it->second.front();
    if (it->second.size() > 1) it->second.pop_front();
    if (progress) progress(r.contentLength.value_or(0), r.body.size() / 2);
    if (url == abortOn && run) run->Abort();
    if (abort) return {};
    return r;
  }
  HttpResponse Post(HttpRole role, const std::string& url, const std::string& body,
                    const HttpProgress& progress, const std::atomic<bool>& abort) override {
    lastPostBody = body;
    return Get(role, url, progress, abort);
  }
  int Count(const std::string& url) const {
    int n = 0;
    for (const auto& r : requests) n += r == url;
    return n;
  }
};

// An archive is a file whose content names an entry set; "DAMAGED" fails to open.
class FakeArchives : public ArchiveExtractor {
 public:
  struct Entry {
    std::string name;
    std::string content;
    bool link = false;
  };
  std::map<std::string, std::vector<Entry>> sets;
  int lists = 0;

  static std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  int List(const fs::path& archive, std::vector<ArchiveEntry>& entries) override {
    ++lists;
    auto it = sets.find(Read(archive));
    if (it == sets.end()) return 12;
    for (const auto& e : it->second) entries.push_back({e.name, e.link});
    return 0;
  }
  int Extract(const fs::path& archive, const std::string& entry, const fs::path& dir) override {
    for (const auto& e : sets.at(Read(archive)))
      if (e.name == entry) {
        std::ofstream(dir / e.name, std::ios::binary) << e.content;
        return 0;
      }
    return 22;
  }
};

struct RecordingSink : UpdateSink {
  std::vector<std::string> log;
  std::string description;
  void Log(const std::string& line) override { log.push_back(line); }
  void Description(const std::string& text) override { description = text; }
};

const std::string kEndpoint = "upd.example/tavena/app_offline/renovo_tavena2010_opp.php";
const std::string kFiles = "dl.example/files/";

class UpdateRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = root / "program";
    fs::create_directories(dir);
    run = std::make_unique<UpdateRun>(dir, http, archives, sink);
    http.run = run.get();
    http.responses[kEndpoint] = {Body("OK KVZ:dl.example|/files/|")};
  }

  void Write(const std::string& name, const std::string& text) {
    std::ofstream(dir / name, std::ios::binary) << text;
  }
  std::string Read(const std::string& name) { return FakeArchives::Read(dir / name); }
  void Serve(const std::string& name, HttpResponse r) { http.responses[kFiles + name] = {r}; }
  bool LogHas(const std::string& line) const {
    return std::find(sink.log.begin(), sink.log.end(), line) != sink.log.end();
  }

  solv::test::TempFolder folder{"solvrun"};
  fs::path root = folder.Path();
  fs::path dir;
  FakeHttp http;
  FakeArchives archives;
  RecordingSink sink;
  std::unique_ptr<UpdateRun> run;
};

}  // namespace

TEST_F(UpdateRunTest, FullUpdate) {
  Write("data041.dat", "Solv2010;11\r\nold.htm;abc\r\nsame.txt;5\r\n");
  Write("Solv2010", "old program");
  Write("old.htm", "old page");
  Write("same.txt", "kept");
  Serve("data41.dat", Body("Solv2010;12;;s.rar\r\nold.htm;0\r\nsame.txt;5;P;z.rar;\r\nnew.htm;3|x|n.rar\r\n"));
  Serve("s.rar", Body("S"));
  Serve("old.htm", Body("new page"));
  Serve("n.rar", Body("N"));
  archives.sets["S"] = {{"_Solv2010", "new program"}};
  archives.sets["N"] = {{"_new.htm", "added"}};

  EXPECT_EQ(run->Start("upd.example", false), UpdateOutcome::Updated);
  EXPECT_EQ(http.lastPostBody, "");
  EXPECT_EQ(sink.log, (std::vector<std::string>{
                          "Pobieranie danych ...", "Liczba plików do pobrania: 3",
                          "Pobieram : 1/3 ...", "Pobieram : 2/3 ...", "Pobieram : 3/3 ...",
                          "Sprawdzanie plików ...", "Aktualizacja ...",
                          "Aktualizacja przebiegła prawidłowo", "Koniec"}));
  EXPECT_EQ(sink.description, "Aktualizacja zakończona.");
  EXPECT_EQ(Read("Solv2010"), "new program");
  EXPECT_EQ(Read("old.htm"), "new page");
  EXPECT_EQ(Read("new.htm"), "added");
  EXPECT_EQ(Read("same.txt"), "kept");
  EXPECT_EQ(Read("data041.dat"), "Solv2010;12\r\nold.htm;0\r\nsame.txt;5\r\nnew.htm;3\r\n");
  for (const char* gone : {"data41.dat", "s.rar", "n.rar", "_Solv2010", "_new.htm", "old.htm.part"})
    EXPECT_FALSE(fs::exists(dir / gone)) << gone;
  EXPECT_EQ(http.Count(kFiles + "z.rar"), 0);
  EXPECT_EQ(http.roles, (std::vector<HttpRole>{HttpRole::Location, HttpRole::ServerList,
                                               HttpRole::File, HttpRole::File, HttpRole::File}));
}

TEST_F(UpdateRunTest, DownloadsKeepTheSchemeOfTheEndpoint) {
  Write("data041.dat", "a.txt;1\r\n");
  http.responses["https://" + kEndpoint] = {Body("OK KVZ:dl.example|/files/|")};
  http.responses["https://" + kFiles + "data41.dat"] = {Body("a.txt;1\r\n")};
  EXPECT_EQ(run->Start("https://upd.example", false), UpdateOutcome::UpToDate);
  EXPECT_EQ(http.requests, (std::vector<std::string>{"https://" + kEndpoint,
                                                     "https://" + kFiles + "data41.dat"}));
}

TEST_F(UpdateRunTest, CheckOnlyReportsAndFetchesNothing) {
  Write("data041.dat", "Solv2010;11\r\n");
  Serve("data41.dat", Body("Solv2010;12;;s.rar;\r\n"));
  EXPECT_EQ(run->Start("upd.example", true), UpdateOutcome::UpdateNeeded);
  EXPECT_EQ(http.lastPostBody, "test=1");
  EXPECT_EQ(sink.log, (std::vector<std::string>{"Pobieranie danych ...", "Liczba plików do pobrania: 1",
                                                "Twój program wymaga aktualizacji...", "Koniec"}));
  EXPECT_EQ(sink.description, "Sprawdzanie zakończone.");
  EXPECT_FALSE(fs::exists(dir / "data41.dat"));
  EXPECT_EQ(http.Count(kFiles + "s.rar"), 0);
  EXPECT_EQ(Read("data041.dat"), "Solv2010;11\r\n");
}

TEST_F(UpdateRunTest, NothingToUpdate) {
  Write("data041.dat", "Solv2010;12\r\n");
  Serve("data41.dat", Body("Solv2010;12;P;s.rar\r\n"));
  EXPECT_EQ(run->Start("upd.example", false), UpdateOutcome::UpToDate);
  EXPECT_EQ(sink.log, (std::vector<std::string>{"Pobieranie danych ...",
                                                "Program nie wymaga aktualizacji", "Koniec"}));
  EXPECT_EQ(sink.description, "Aktualizacja zakończona.");
  EXPECT_FALSE(fs::exists(dir / "data41.dat"));
}

// A download that is not complete fails the run and leaves the old file and list alone.
TEST_F(UpdateRunTest, IncompleteDownloadsFail) {
  const std::pair<const char*, HttpResponse> cases[] = {
      {"short body", {true, 200, "new", 10}},
      {"no content length", {true, 200, "new page", std::nullopt}},
      {"error status", {true, 404, "missing", 7}},
      {"connection lost", {}},
  };
  for (const auto& [what, response] : cases) {
    SCOPED_TRACE(what);
    sink.log.clear();
    Write("data041.dat", "page.htm;1\r\n");
    Write("page.htm", "old page");
    Serve("data41.dat", Body("page.htm;2\r\n"));
    Serve("page.htm", response);
    EXPECT_EQ(run->Start("upd.example", false), UpdateOutcome::Failed);
    EXPECT_TRUE(LogHas("Brak połączenia z serwerem"));
    EXPECT_TRUE(LogHas("Proces aktualizacji przerwany"));
    EXPECT_TRUE(LogHas("Operacja przerwana"));
    EXPECT_EQ(sink.log.back(), "Koniec");
    EXPECT_TRUE(LogHas("Aktualizacja przebiegła nieprawidłowo"));
    EXPECT_EQ(sink.description, "Aktualizacja przerwana.");
    EXPECT_EQ(Read("page.htm"), "old page");
    EXPECT_EQ(Read("data041.dat"), "page.htm;1\r\n");
    EXPECT_FALSE(fs::exists(dir / "page.htm.part"));
    EXPECT_FALSE(fs::exists(dir / "data41.dat"));
  }
}

TEST_F(UpdateRunTest, ReplyWithoutLocation) {
  const std::pair<const char*, HttpResponse> cases[] = {
      {"error page", Body("<html><body>Not found</body></html>")},
      {"ERROR", Body("ERROR")},
      {"empty reply", Body("")},
      {"error status with a plain text", HttpResponse{true, 404, "KVZ:dl.example|/files/|", 23}},
  };
  for (const auto& [what, response] : cases) {
    SCOPED_TRACE(what);
    http.requests.clear();
    http.responses[kEndpoint] = {response};
    EXPECT_EQ(run->Start("upd.example", false), UpdateOutcome::NoAnswer);
    EXPECT_EQ(sink.description, "Aktualizacja przerwana.");
    EXPECT_EQ(http.requests, std::vector<std::string>{kEndpoint});
  }
}

TEST_F(UpdateRunTest, AbortDuringDownloadKeepsLocalList) {
  Write("data041.dat", "a.txt;1\r\nb.txt;1\r\n");
  Write("a.txt", "old a");
  Serve("data41.dat", Body("a.txt;2\r\nb.txt;2\r\n"));
  Serve("a.txt", Body("new a"));
  Serve("b.txt", Body("new b"));
  http.abortOn = kFiles + "a.txt";
  EXPECT_EQ(run->Start("upd.example", false), UpdateOutcome::Failed);
  EXPECT_EQ(http.Count(kFiles + "b.txt"), 0);
  EXPECT_TRUE(LogHas("Operacja przerwana"));
  EXPECT_EQ(sink.description, "Aktualizacja przerwana.");
  EXPECT_EQ(Read("a.txt"), "old a");
  EXPECT_EQ(Read("data041.dat"), "a.txt;1\r\nb.txt;1\r\n");
}

TEST_F(UpdateRunTest, DamagedArchiveIsFetchedThreeTimesMoreThenFails) {
  Write("data041.dat", "Solv2010;1\r\n");
  Write("Solv2010", "old program");
  Serve("data41.dat", Body("Solv2010;2;;s.rar\r\n"));
  Serve("s.rar", Body("DAMAGED"));
  EXPECT_EQ(run->Start("upd.example", false), UpdateOutcome::Failed);
  EXPECT_EQ(http.Count(kFiles + "s.rar"), 1 + UpdateRun::kMaxRedownloads);
  EXPECT_EQ(std::count(sink.log.begin(), sink.log.end(), "Uszkodzony plik - pobieram ponownie"),
            UpdateRun::kMaxRedownloads);
  EXPECT_TRUE(LogHas("Plik s.rar jest uszkodzony - nie można go pobrać poprawnie"));
  EXPECT_TRUE(LogHas("Aktualizacja przebiegła nieprawidłowo"));
  EXPECT_EQ(Read("Solv2010"), "old program");
  EXPECT_EQ(Read("data041.dat"), "Solv2010;1\r\n");
  EXPECT_FALSE(fs::exists(dir / "s.rar"));
}

TEST_F(UpdateRunTest, ArchiveDamagedOnceIsFetchedAgain) {
  Write("Solv2010", "old program");
  Serve("data41.dat", Body("Solv2010;2;;s.rar\r\n"));
  http.responses[kFiles + "s.rar"] = {Body("DAMAGED"), Body("S")};
  archives.sets["S"] = {{"_Solv2010", "new program"}};
  EXPECT_EQ(run->Start("upd.example", false), UpdateOutcome::Updated);
  EXPECT_EQ(http.Count(kFiles + "s.rar"), 2);
  EXPECT_EQ(Read("Solv2010"), "new program");
  EXPECT_EQ(Read("data041.dat"), "Solv2010;2\r\n");
}

TEST_F(UpdateRunTest, NamesLeavingTheProgramFolderAreRejected) {
  const char* lists[] = {
      "../evil.txt;2\r\n", "/tmp/evil.txt;2\r\n", "C:evil.txt;2\r\n",
      "sub\\..\\..\\evil.txt;2\r\n", "ok.txt;2;;../evil.rar\r\n",
  };
  for (const char* list : lists) {
    SCOPED_TRACE(list);
    sink.log.clear();
    Serve("data41.dat", Body(list));
    http.responses[kFiles + "../evil.txt"] = {Body("evil")};
    EXPECT_EQ(run->Start("upd.example", false), UpdateOutcome::Failed);
    EXPECT_TRUE(sink.log.size() >= 2 && sink.log[1].rfind("Niedozwolona nazwa pliku: ", 0) == 0);
    EXPECT_TRUE(LogHas("Aktualizacja przebiegła nieprawidłowo"));
    EXPECT_EQ(http.requests.back(), kFiles + "data41.dat");
    EXPECT_FALSE(fs::exists(root / "evil.txt"));
    EXPECT_FALSE(fs::exists(dir / "data041.dat"));
  }
}

TEST_F(UpdateRunTest, ArchiveEntriesLeavingTheProgramFolderAreRejected) {
  const std::vector<FakeArchives::Entry> entries[] = {
      {{"_Solv2010", "new"}, {"../evil.txt", "evil"}},
      {{"/tmp/evil.txt", "evil"}},
      {{"_Solv2010", "new", true}},
  };
  for (const auto& set : entries) {
    sink.log.clear();
    Write("Solv2010", "old program");
    Serve("data41.dat", Body("Solv2010;2;;s.rar\r\n"));
    Serve("s.rar", Body("S"));
    archives.sets["S"] = set;
    EXPECT_EQ(run->Start("upd.example", false), UpdateOutcome::Failed);
    EXPECT_TRUE(LogHas("Aktualizacja przebiegła nieprawidłowo"));
    EXPECT_EQ(http.Count(kFiles + "s.rar"), 1);  // not damaged: never fetched again
    EXPECT_FALSE(fs::exists(root / "evil.txt"));
    EXPECT_FALSE(fs::exists(dir / "_Solv2010"));
    EXPECT_EQ(Read("Solv2010"), "old program");
    EXPECT_FALSE(fs::exists(dir / "data041.dat"));
    http.requests.clear();
  }
}

TEST_F(UpdateRunTest, UnreadableLocalListFailsWithMessage) {
  fs::create_directories(dir / "data041.dat");
  Serve("data41.dat", Body("a.txt;2\r\n"));
  EXPECT_EQ(run->Start("upd.example", false), UpdateOutcome::Failed);
  EXPECT_TRUE(LogHas("Nie można odczytać pliku data041.dat"));
  EXPECT_EQ(sink.description, "Aktualizacja przerwana.");
  EXPECT_EQ(http.Count(kFiles + "a.txt"), 0);
  EXPECT_FALSE(fs::exists(dir / "data41.dat"));
}
