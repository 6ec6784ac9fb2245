// The update run over scripted HTTP and archives: what it fetches, what it
// refuses, and that a failed run leaves the installation and its list whole.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "temp_folder.hpp"
#include "update_signing.hpp"
#include "updater/update_run.hpp"

namespace fs = std::filesystem;
using namespace solv;

namespace {

HttpResponse Body(const std::string& body) { return {true, 200, body, body.size()}; }

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Answers each URL from a queue of responses; the last one repeats. Bodies
// are handed over as the real client does: whole or not at all.
class FakeHttp : public HttpClient {
 public:
  std::map<std::string, std::deque<HttpResponse>> responses;
  std::vector<std::string> requests;
  std::vector<HttpRole> roles;
  std::string lastPostBody;
  std::string abortOn;  // this URL aborts the run while it downloads
  UpdateRun* run = nullptr;

  HttpResponse Answer(HttpRole role, const std::string& url, std::uint64_t maxBytes, const HttpProgress& progress,
                      const std::atomic<bool>& abort) {
    requests.push_back(url);
    roles.push_back(role);
    auto it = responses.find(url);
    if (it == responses.end() || it->second.empty()) return {};
    HttpResponse r = it->second.front();
    if (it->second.size() > 1) it->second.pop_front();
    if (progress) progress(r.contentLength.value_or(0), r.body.size() / 2);
    if (url == abortOn && run) run->Abort();
    if (abort) return {};
    if (maxBytes != 0 && (r.body.size() > maxBytes || r.contentLength.value_or(0) > maxBytes)) {
      HttpResponse cut;
      cut.status = r.status;
      cut.tooLarge = true;
      return cut;
    }
    r.bytes = r.body.size();
    return r;
  }
  HttpResponse Get(HttpRole role, const std::string& url, std::uint64_t maxBytes, const HttpProgress& progress,
                   const std::atomic<bool>& abort) override {
    return Answer(role, url, maxBytes, progress, abort);
  }
  HttpResponse Post(HttpRole role, const std::string& url, const std::string& body, std::uint64_t maxBytes,
                    const HttpProgress& progress, const std::atomic<bool>& abort) override {
    lastPostBody = body;
    return Answer(role, url, maxBytes, progress, abort);
  }
  HttpResponse Download(HttpRole role, const std::string& url, const fs::path& target, std::uint64_t maxBytes,
                        const HttpProgress& progress, const std::atomic<bool>& abort) override {
    HttpResponse r = Answer(role, url, maxBytes, progress, abort);
    r.completed = r.completed && r.status >= 200 && r.status < 300 && r.contentLength &&
                  *r.contentLength == r.body.size();
    if (r.completed) std::ofstream(target, std::ios::binary) << r.body;
    r.body.clear();
    return r;
  }
  int Count(const std::string& url) const { return static_cast<int>(std::count(requests.begin(), requests.end(), url)); }
};

// An archive is a file whose content names an entry set; any other content
// is damaged.
class FakeArchives : public ArchiveExtractor {
 public:
  struct Entry {
    std::string name;
    std::string content;
    bool link = false;
  };
  std::map<std::string, std::vector<Entry>> sets;

  ExtractResult ExtractAll(const fs::path& archive, const fs::path& dir,
                           const std::function<bool(const ArchiveEntry&)>& accept,
                           const std::function<bool()>& keepGoing) override {
    ExtractResult result;
    auto it = sets.find(ReadFile(archive));
    if (it == sets.end()) {
      result.error = 12;
      return result;
    }
    for (const auto& e : it->second) {
      if (!accept(ArchiveEntry{e.name, e.link})) {
        result.refused = true;
        result.refusedName = e.name;
        return result;
      }
      fs::create_directories((dir / e.name).parent_path());
      std::ofstream(dir / e.name, std::ios::binary) << e.content;
      if (!keepGoing()) {
        result.stopped = true;
        return result;
      }
    }
    return result;
  }
};

struct RecordingSink : UpdateSink {
  std::vector<std::string> log;
  std::string description;
  std::function<void()> onIdle;
  void Log(const std::string& line) override { log.push_back(line); }
  void Description(const std::string& text) override { description = text; }
  void Idle() override {
    if (onIdle) onIdle();
  }
};

const std::string kEndpoint = "https://upd.example/tavena/app_offline/renovo_tavena2010_opp.php";
const std::string kFiles = "https://dl.example/files/";

class UpdateRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = root / "program";
    fs::create_directories(dir);
    MakeRun(test::TestTrust(false));
    http.responses[kEndpoint] = {Body("OK KVZ:dl.example|/files/|")};
  }
  void MakeRun(UpdateTrust trust) {
    run = std::make_unique<UpdateRun>(dir, http, archives, sink, std::move(trust));
    http.run = run.get();
  }

  void Write(const std::string& name, const std::string& text) {
    fs::create_directories((dir / name).parent_path());
    std::ofstream(dir / name, std::ios::binary) << text;
  }
  std::string Read(const std::string& name) { return ReadFile(dir / name); }
  void Serve(const std::string& name, HttpResponse r) { http.responses[kFiles + name] = {r}; }
  // The signed list, its records with the size and hash of the files served now.
  void ServeList(const std::string& lines) {
    const std::string text = test::ListWithDigests(lines, [&](const std::string& name) -> std::optional<std::string> {
      auto it = http.responses.find(kFiles + name);
      if (it == http.responses.end() || it->second.empty()) return std::nullopt;
      return it->second.back().body;
    });
    Serve("data41.dat", Body(text));
    Serve("data41.sig", Body(test::SignWithTestKey(text)));
  }
  bool LogHas(const std::string& line) const {
    return std::find(sink.log.begin(), sink.log.end(), line) != sink.log.end();
  }
  std::vector<std::string> Tree() {
    std::vector<std::string> names;
    for (auto it = fs::recursive_directory_iterator(dir); it != fs::recursive_directory_iterator(); ++it)
      names.push_back(fs::relative(it->path(), dir).generic_string());
    std::sort(names.begin(), names.end());
    return names;
  }
  // What a refused run leaves: the files and the list as they were.
  void ExpectUntouched(const std::vector<std::string>& tree) {
    EXPECT_EQ(Tree(), tree);
    EXPECT_TRUE(LogHas("Aktualizacja przebiegła nieprawidłowo") || sink.description == "Aktualizacja przerwana.");
    EXPECT_EQ(sink.description, "Aktualizacja przerwana.");
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
  fs::permissions(dir / "Solv2010", fs::perms::owner_all);
  Write("old.htm", "old page");
  Write("same.txt", "kept");
  Serve("s.rar", Body("S"));
  Serve("old.htm", Body("new page"));
  Serve("n.rar", Body("N"));
  ServeList("Solv2010;12;;s.rar\r\nold.htm;0\r\nsame.txt;5;P;z.rar;\r\nnew.htm;3|x|n.rar\r\n");
  archives.sets["S"] = {{"_Solv2010", "new program"}, {"pomoc/nowa.htm", "pomoc"}};
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
  EXPECT_EQ(fs::status(dir / "Solv2010").permissions(), fs::perms::owner_all);  // kept from the old file
  EXPECT_EQ(Read("old.htm"), "new page");
  EXPECT_EQ(Read("new.htm"), "added");
  EXPECT_EQ(Read("pomoc/nowa.htm"), "pomoc");
  EXPECT_EQ(Read("same.txt"), "kept");
  EXPECT_EQ(Read("data041.dat"), "Solv2010;12\r\nold.htm;0\r\nsame.txt;5\r\nnew.htm;3\r\n");
  EXPECT_EQ(Tree(), (std::vector<std::string>{"Solv2010", "data041.dat", "new.htm", "old.htm", "pomoc",
                                              "pomoc/nowa.htm", "same.txt"}));
  EXPECT_EQ(http.Count(kFiles + "z.rar"), 0);
  EXPECT_EQ(http.roles, (std::vector<HttpRole>{HttpRole::Location, HttpRole::ServerList, HttpRole::ServerList,
                                               HttpRole::File, HttpRole::File, HttpRole::File}));
}

// https unless plain http is allowed and asked for; once on https, never http.
TEST_F(UpdateRunTest, TlsByDefaultAndNeverFallsBackToHttp) {
  const struct {
    const char* what;
    const char* endpoint;
    const char* reply;
    bool allowHttp;
    bool refused;
    const char* listUrl;
  } cases[] = {
      {"no scheme: https", "upd.example", "KVZ:dl.example|/files/|", false, false, "https://dl.example/files/"},
      {"https named", "https://upd.example", "KVZ:HTTPS://dl.example|/files/|", false, false,
       "HTTPS://dl.example/files/"},
      {"http endpoint refused", "http://upd.example", "KVZ:dl.example|/files/|", false, true, nullptr},
      {"https endpoint, http location", "upd.example", "KVZ:http://dl.example|/files/|", true, true, nullptr},
      {"http location not allowed", "upd.example", "KVZ:Http://dl.example|/files/|", false, true, nullptr},
      {"http when allowed", "http://upd.example", "KVZ:dl.example|/files/|", true, false, "http://dl.example/files/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MakeRun(test::TestTrust(c.allowHttp));
    sink.log.clear();
    http.requests.clear();
    const std::string scheme = std::string(c.endpoint).rfind("http://", 0) == 0 ? "http://" : "https://";
    http.responses[scheme + "upd.example/tavena/app_offline/renovo_tavena2010_opp.php"] = {Body(c.reply)};
    Write("data041.dat", "a.txt;1\r\n");
    if (c.listUrl) {
      const std::string list = test::ListWithDigests("a.txt;1\r\n", [](const std::string&) { return ""; });
      http.responses[std::string(c.listUrl) + "data41.dat"] = {Body(list)};
      http.responses[std::string(c.listUrl) + "data41.sig"] = {Body(test::SignWithTestKey(list))};
    }
    const UpdateOutcome outcome = run->Start(c.endpoint, false);
    if (c.refused) {
      EXPECT_EQ(outcome, UpdateOutcome::NoAnswer);
      EXPECT_EQ(sink.description, "Aktualizacja przerwana.");
      ASSERT_FALSE(sink.log.empty());
      EXPECT_NE(sink.log.back().find("bez szyfrowania (http)"), std::string::npos) << sink.log.back();
      for (const auto& url : http.requests) EXPECT_EQ(url.find("dl.example"), std::string::npos) << url;
      EXPECT_LE(http.requests.size(), 1u);  // at most the update request itself
    } else {
      EXPECT_EQ(outcome, UpdateOutcome::UpToDate);
      ASSERT_EQ(http.requests.size(), 3u);
      EXPECT_EQ(http.requests[1], std::string(c.listUrl) + "data41.dat");
    }
  }
}

// A list is believed only with a good signature by the publisher's key.
TEST_F(UpdateRunTest, UnsignedOrBadlySignedListsAreRefused) {
  const std::string lines = "Solv2010;2\r\n";
  Serve("Solv2010", Body("new program"));
  const std::string good = test::ListWithDigests(lines, [](const std::string&) { return "new program"; });
  const UpdateKeyPair other = MakeUpdateKeyPair();
  std::string tampered = good;
  tampered[tampered.find(";2;") + 1] = '3';
  const struct {
    const char* what;
    std::string list;
    std::optional<HttpResponse> signature;
    std::string key = test::TestUpdateKeyHex();
  } cases[] = {
      {"no signature on the server", good, HttpResponse{true, 404, "Not Found", 9}},
      {"another key", good, Body(SignUpdateList(good, other.secretKey))},
      {"list changed after signing", tampered, Body(test::SignWithTestKey(good))},
      {"not a signature", good, Body("abc")},
      {"empty signature", good, Body("")},
      {"no key in the program", good, Body(test::SignWithTestKey(good)), ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MakeRun(UpdateTrust{c.key, false});
    sink.log.clear();
    http.requests.clear();
    Write("Solv2010", "old program");
    Write("data041.dat", "Solv2010;1\r\n");
    Serve("data41.dat", Body(c.list));
    Serve("data41.sig", *c.signature);
    EXPECT_NE(run->Start("upd.example", false), UpdateOutcome::Updated);
    EXPECT_EQ(http.Count(kFiles + "Solv2010"), 0);
    EXPECT_TRUE(LogHas(c.key.empty() ? "Brak klucza do sprawdzenia podpisu aktualizacji - aktualizacja przerwana"
                                     : "Lista plików aktualizacji nie ma poprawnego podpisu - aktualizacja odrzucona"));
    ExpectUntouched({"Solv2010", "data041.dat"});
    EXPECT_EQ(Read("Solv2010"), "old program");
    EXPECT_EQ(Read("data041.dat"), "Solv2010;1\r\n");
  }
}

// Every file is checked against the size and SHA-256 the signed list states:
// one that differs is fetched again a few times and then refused.
TEST_F(UpdateRunTest, FilesThatDifferFromTheListAreRefused) {
  const struct {
    const char* what;
    std::string lines;
    std::vector<HttpResponse> served;  // after the list was signed
    const char* message;
  } cases[] = {
      {"tampered file", "Solv2010;2\r\n", {Body("evil program")},
       "Plik Solv2010 nie zgadza się z listą aktualizacji (rozmiar albo suma kontrolna) - aktualizacja odrzucona"},
      {"tampered archive", "Solv2010;2;;s.rar\r\n", {Body("T")},
       "Plik s.rar nie zgadza się z listą aktualizacji (rozmiar albo suma kontrolna) - aktualizacja odrzucona"},
      {"larger than stated", "Solv2010;2\r\n", {Body("new program and more")},
       "Plik Solv2010 jest większy, niż podaje lista aktualizacji - pobieranie przerwane"},
      {"shorter than stated", "Solv2010;2\r\n", {Body("new")},
       "Plik Solv2010 nie zgadza się z listą aktualizacji (rozmiar albo suma kontrolna) - aktualizacja odrzucona"},
  };
  archives.sets["T"] = {{"_Solv2010", "evil program"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    sink.log.clear();
    http.requests.clear();
    Write("Solv2010", "old program");
    Write("data041.dat", "Solv2010;1\r\n");
    Serve("Solv2010", Body("new program"));
    Serve("s.rar", Body("S"));
    ServeList(c.lines);
    const std::string fetched = c.lines.find("s.rar") != std::string::npos ? "s.rar" : "Solv2010";
    http.responses[kFiles + fetched] = {c.served.begin(), c.served.end()};
    EXPECT_EQ(run->Start("upd.example", false), UpdateOutcome::Failed);
    EXPECT_TRUE(LogHas(c.message));
    EXPECT_EQ(http.Count(kFiles + fetched), 1 + UpdateRun::kMaxRedownloads);
    EXPECT_EQ(std::count(sink.log.begin(), sink.log.end(), "Uszkodzony plik - pobieram ponownie"),
              UpdateRun::kMaxRedownloads);
    ExpectUntouched({"Solv2010", "data041.dat"});
    EXPECT_EQ(Read("Solv2010"), "old program");
    EXPECT_EQ(Read("data041.dat"), "Solv2010;1\r\n");
  }
}

TEST_F(UpdateRunTest, AFileDamagedOnceIsFetchedAgain) {
  Write("Solv2010", "old program");
  Serve("s.rar", Body("S"));
  ServeList("Solv2010;2;;s.rar\r\n");
  http.responses[kFiles + "s.rar"] = {Body("X"), Body("S")};
  archives.sets["S"] = {{"_Solv2010", "new program"}};
  EXPECT_EQ(run->Start("upd.example", false), UpdateOutcome::Updated);
  EXPECT_EQ(http.Count(kFiles + "s.rar"), 2);
  EXPECT_EQ(Read("Solv2010"), "new program");
  EXPECT_EQ(Read("data041.dat"), "Solv2010;2\r\n");
}

// A list that does not state what a file must be is refused as a whole.
TEST_F(UpdateRunTest, ListsWithoutSizesOrHashesAreRefused) {
  const std::string hash(64, 'a');
  for (const std::string& list : std::vector<std::string>{"a.txt;2\r\n", "a.txt;2;;;12\r\n", "a.txt;2;;;x;" + hash + "\r\n",
                                  "a.txt;2;;;12;" + hash.substr(1) + "\r\n",
                                  "a.txt;2;;;999999999999;" + hash + "\r\n"}) {
    SCOPED_TRACE(list);
    sink.log.clear();
    http.requests.clear();
    Serve("data41.dat", Body(list));
    Serve("data41.sig", Body(test::SignWithTestKey(list)));
    EXPECT_EQ(run->Start("upd.example", false), UpdateOutcome::Failed);
    EXPECT_EQ(http.Count(kFiles + "a.txt"), 0);
    ASSERT_GE(sink.log.size(), 2u);
    EXPECT_TRUE(sink.log[1].starts_with(list.find("999999") != std::string::npos ? "Plik a.txt jest za duży"
                                                                                 : "Lista plików aktualizacji nie "
                                                                                   "podaje rozmiaru"))
        << sink.log[1];
    ExpectUntouched({});
  }
}

TEST_F(UpdateRunTest, CheckOnlyReportsAndFetchesNothing) {
  Write("data041.dat", "Solv2010;11\r\n");
  ServeList("Solv2010;12;;s.rar;\r\n");
  EXPECT_EQ(run->Start("upd.example", true), UpdateOutcome::UpdateNeeded);
  EXPECT_EQ(http.lastPostBody, "test=1");
  EXPECT_EQ(sink.log, (std::vector<std::string>{"Pobieranie danych ...", "Liczba plików do pobrania: 1",
                                                "Twój program wymaga aktualizacji...", "Koniec"}));
  EXPECT_EQ(sink.description, "Sprawdzanie zakończone.");
  EXPECT_EQ(http.Count(kFiles + "s.rar"), 0);
  EXPECT_EQ(Tree(), std::vector<std::string>{"data041.dat"});
  EXPECT_EQ(Read("data041.dat"), "Solv2010;11\r\n");
}

TEST_F(UpdateRunTest, NothingToUpdate) {
  Write("data041.dat", "Solv2010;12\r\n");
  ServeList("Solv2010;12;P;s.rar\r\n");
  EXPECT_EQ(run->Start("upd.example", false), UpdateOutcome::UpToDate);
  EXPECT_EQ(sink.log, (std::vector<std::string>{"Pobieranie danych ...",
                                                "Program nie wymaga aktualizacji", "Koniec"}));
  EXPECT_EQ(sink.description, "Aktualizacja zakończona.");
  EXPECT_EQ(Tree(), std::vector<std::string>{"data041.dat"});
}

// A download that is not complete fails the run and leaves the old file and list alone.
TEST_F(UpdateRunTest, IncompleteDownloadsFail) {
  const std::pair<const char*, HttpResponse> cases[] = {
      {"short body", {true, 200, "new", 8}},
      {"no content length", {true, 200, "new page", std::nullopt}},
      {"error status", {true, 404, "missing", 7}},
      {"connection lost", {}},
  };
  for (const auto& [what, response] : cases) {
    SCOPED_TRACE(what);
    sink.log.clear();
    Write("data041.dat", "page.htm;1\r\n");
    Write("page.htm", "old page");
    Serve("page.htm", Body("new page"));
    ServeList("page.htm;2\r\n");
    Serve("page.htm", response);
    EXPECT_EQ(run->Start("upd.example", false), UpdateOutcome::Failed);
    EXPECT_TRUE(LogHas("Brak połączenia z serwerem"));
    EXPECT_TRUE(LogHas("Proces aktualizacji przerwany"));
    EXPECT_TRUE(LogHas("Operacja przerwana"));
    EXPECT_EQ(sink.log.back(), "Koniec");
    EXPECT_TRUE(LogHas("Aktualizacja przebiegła nieprawidłowo"));
    ExpectUntouched({"data041.dat", "page.htm"});
    EXPECT_EQ(Read("page.htm"), "old page");
    EXPECT_EQ(Read("data041.dat"), "page.htm;1\r\n");
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
  Serve("a.txt", Body("new a"));
  Serve("b.txt", Body("new b"));
  ServeList("a.txt;2\r\nb.txt;2\r\n");
  http.abortOn = kFiles + "a.txt";
  EXPECT_EQ(run->Start("upd.example", false), UpdateOutcome::Failed);
  EXPECT_EQ(http.Count(kFiles + "b.txt"), 0);
  EXPECT_TRUE(LogHas("Operacja przerwana"));
  ExpectUntouched({"a.txt", "data041.dat"});
  EXPECT_EQ(Read("a.txt"), "old a");
  EXPECT_EQ(Read("data041.dat"), "a.txt;1\r\nb.txt;1\r\n");
}

// "Przerwij" between two entries of an archive stops the unpacking: nothing
// is installed.
TEST_F(UpdateRunTest, AbortWhileUnpackingInstallsNothing) {
  Write("Solv2010", "old program");
  Serve("s.rar", Body("S"));
  ServeList("Solv2010;2;;s.rar\r\n");
  std::vector<FakeArchives::Entry> entries;
  for (int i = 0; i < 50; ++i) entries.push_back({"pomoc/" + std::to_string(i) + ".htm", "x"});
  entries.push_back({"_Solv2010", "new program"});
  archives.sets["S"] = entries;
  int idle = 0;
  sink.onIdle = [&] {
    if (++idle == 10) run->Abort();
  };
  EXPECT_EQ(run->Start("upd.example", false), UpdateOutcome::Failed);
  EXPECT_EQ(idle, 10);
  EXPECT_TRUE(LogHas("Operacja przerwana"));
  ExpectUntouched({"Solv2010"});
  EXPECT_EQ(Read("Solv2010"), "old program");
}

TEST_F(UpdateRunTest, NamesOutsideTheProgramOrOfTheUsersDataAreRejected) {
  const char* lists[] = {
      "../evil.txt;2\r\n",      "/tmp/evil.txt;2\r\n", "C:evil.txt;2\r\n", "sub\\..\\..\\evil.txt;2\r\n",
      "ok.txt;2;;../evil.rar\r\n", "SAVE/1.i10;2\r\n",  "7.i10;2\r\n",       "gr.xml;2\r\n",
      "data041.dat;2\r\n",       "ok.txt;2;;save/x.rar\r\n",
  };
  Write("SAVE/1.i10", "zeznanie");
  for (const char* list : lists) {
    SCOPED_TRACE(list);
    sink.log.clear();
    http.requests.clear();
    Serve("data41.dat", Body(test::ListWithDigests(list, [](const std::string&) { return "evil"; })));
    Serve("data41.sig", Body(test::SignWithTestKey(http.responses[kFiles + "data41.dat"].back().body)));
    EXPECT_EQ(run->Start("upd.example", false), UpdateOutcome::Failed);
    EXPECT_TRUE(sink.log.size() >= 2 && sink.log[1].starts_with("Niedozwolona nazwa pliku: ")) << sink.log[1];
    EXPECT_EQ(http.requests.back(), kFiles + "data41.sig");
    EXPECT_FALSE(fs::exists(root / "evil.txt"));
    ExpectUntouched({"SAVE", "SAVE/1.i10"});
    EXPECT_EQ(Read("SAVE/1.i10"), "zeznanie");
  }
}

TEST_F(UpdateRunTest, ArchiveEntriesOutsideTheProgramOrOfTheUsersDataAreRejected) {
  const std::vector<FakeArchives::Entry> entries[] = {
      {{"_Solv2010", "new"}, {"../evil.txt", "evil"}},
      {{"/tmp/evil.txt", "evil"}},
      {{"_Solv2010", "new", true}},
      {{"_Solv2010", "new"}, {"SAVE/1.i10", "evil"}},
      {{"_Solv2010", "new"}, {"save\\2.i10", "evil"}},
      {{"_Solv2010", "new"}, {"slo.xml", "evil"}},
  };
  Write("SAVE/1.i10", "zeznanie");
  for (const auto& set : entries) {
    sink.log.clear();
    http.requests.clear();
    Write("Solv2010", "old program");
    Serve("s.rar", Body("S"));
    ServeList("Solv2010;2;;s.rar\r\n");
    archives.sets["S"] = set;
    EXPECT_EQ(run->Start("upd.example", false), UpdateOutcome::Failed);
    EXPECT_TRUE(std::any_of(sink.log.begin(), sink.log.end(), [](const std::string& l) {
      return l.starts_with("Niedozwolona nazwa pliku w archiwum s.rar: ");
    }));
    EXPECT_EQ(http.Count(kFiles + "s.rar"), 1);  // not damaged: never fetched again
    EXPECT_FALSE(fs::exists(root / "evil.txt"));
    ExpectUntouched({"SAVE", "SAVE/1.i10", "Solv2010"});
    EXPECT_EQ(Read("SAVE/1.i10"), "zeznanie");
    EXPECT_EQ(Read("Solv2010"), "old program");
  }
}

// A file that cannot be put in place half-way through the install, or a list
// that cannot be saved, puts every old file back: the installation is whole.
TEST_F(UpdateRunTest, AFailingInstallPutsEveryOldFileBack) {
  const std::string longName(300, 'n');
  fs::create_directories(root / "outside");
  const struct {
    const char* what;
    std::function<void()> arrange;
    std::string lines;
    const char* message;
  } cases[] = {
      {"a name the file system refuses", [] {}, "a.txt;2\r\nb/c.txt;2\r\n" + longName + ";2\r\n",
       "Nie można zastąpić pliku "},
      {"a folder in the way", [&] { fs::create_directories(dir / "d.txt" / "x"); }, "a.txt;2\r\nb/c.txt;2\r\nd.txt;2\r\n",
       "Nie można zastąpić pliku d.txt"},
      {"a link to a folder elsewhere", [&] { fs::create_directory_symlink(root / "outside", dir / "lnk"); },
       "a.txt;2\r\nb/c.txt;2\r\nlnk/x.txt;2\r\n", "Nie można zastąpić pliku lnk/x.txt"},
      {"the list cannot be saved", [&] { fs::create_directories(dir / "data041.dat.tmp" / "x"); },
       "a.txt;2\r\nb/c.txt;2\r\n", "Nie można zapisać pliku data041.dat"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(dir);
    fs::create_directories(dir);
    sink.log.clear();
    Write("data041.dat", "a.txt;1\r\n");
    Write("a.txt", "old a");
    c.arrange();
    const std::vector<std::string> before = Tree();
    for (const char* name : {"a.txt", "b/c.txt", "d.txt", "lnk/x.txt"}) Serve(name, Body(std::string("new ") + name));
    Serve(longName, Body("new long"));
    ServeList(c.lines);
    EXPECT_EQ(run->Start("upd.example", false), UpdateOutcome::Failed);
    EXPECT_TRUE(std::any_of(sink.log.begin(), sink.log.end(),
                            [&](const std::string& l) { return l.starts_with(c.message); }));
    EXPECT_TRUE(LogHas("Przywrócono poprzednie pliki programu"));
    ExpectUntouched(before);
    EXPECT_EQ(Read("a.txt"), "old a");
    EXPECT_EQ(Read("data041.dat"), "a.txt;1\r\n");
    EXPECT_TRUE(fs::is_empty(root / "outside"));
  }
}

TEST_F(UpdateRunTest, UnreadableLocalListFailsWithMessage) {
  fs::create_directories(dir / "data041.dat");
  Serve("a.txt", Body("a"));
  ServeList("a.txt;2\r\n");
  EXPECT_EQ(run->Start("upd.example", false), UpdateOutcome::Failed);
  EXPECT_TRUE(LogHas("Nie można odczytać pliku data041.dat"));
  EXPECT_EQ(sink.description, "Aktualizacja przerwana.");
  EXPECT_EQ(http.Count(kFiles + "a.txt"), 0);
  EXPECT_EQ(Tree(), std::vector<std::string>{"data041.dat"});
}

// What an earlier run left in the staging folder (a crash) is removed, and a
// link put there instead of the folder is never followed.
TEST_F(UpdateRunTest, LeftoversOfAnEarlierRunAreRemovedAndLinksNotFollowed) {
  fs::create_directories(root / "outside");
  Write("a.txt", "old a");
  Serve("a.txt", Body("new a"));
  ServeList("a.txt;2\r\n");
  fs::create_directory_symlink(root / "outside", dir / kStagingName);
  EXPECT_EQ(run->Start("upd.example", false), UpdateOutcome::Updated);
  EXPECT_TRUE(fs::is_empty(root / "outside"));
  EXPECT_EQ(Read("a.txt"), "new a");

  Write(std::string(kStagingName) + "/d1", "left over");
  ServeList("a.txt;3\r\n");
  EXPECT_EQ(run->Start("upd.example", false), UpdateOutcome::Updated);
  EXPECT_EQ(Tree(), (std::vector<std::string>{"a.txt", "data041.dat"}));
}
