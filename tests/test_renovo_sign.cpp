// Publishing an update with renovo-sign: a key pair, a list with sizes and
// hashes, its signature; and the folder it prepares passes the updater.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <string>

#include "form_test_support.hpp"
#include "local_http_server.hpp"
#include "main_loop.hpp"
#include "rar_archive.hpp"
#include "rar_fixture.hpp"
#include "temp_folder.hpp"
#include "update_http.hpp"
#include "updater/update_run.hpp"

namespace fs = std::filesystem;
using solv::test::HttpReply;

namespace {

struct Sink : solv::UpdateSink {
  std::vector<std::string> log;
  void Log(const std::string& line) override { log.push_back(line); }
  void Description(const std::string&) override {}
};

class RenovoSign : public ::testing::Test {
 protected:
  ToolRun Sign(const std::vector<std::string>& args) { return RunTool(RENOVO_SIGN_PATH, args, scratch.Path()); }

  solv::test::TempFolder scratch{"solvsign"};
  solv::test::TempFolder published{"solvpub"};
  solv::test::TempFolder program{"solvprog"};
  const std::string secret = (scratch.Path() / "klucz.sec").string();
};

}  // namespace

TEST_F(RenovoSign, KeygenPublishVerifyAndTheUpdaterBelievesIt) {
  const ToolRun keygen = Sign({"keygen", secret});
  ASSERT_EQ(keygen.exitCode, 0) << keygen.err;
  const std::string publicKey = keygen.out.substr(0, keygen.out.find('\n'));
  EXPECT_EQ(publicKey.size(), 64u);
  struct stat st {};
  ASSERT_EQ(::stat(secret.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  // Never over an existing key.
  EXPECT_EQ(Sign({"keygen", secret}).exitCode, 2);

  published.Write("data41.dat", "Solv2010;2;;s.rar\r\npomoc.htm;3\r\n");
  published.Write("s.rar", rarfix::RarArchive({rarfix::File("_Solv2010", "nowy program")}));
  published.Write("pomoc.htm", "pomoc");
  const ToolRun publish = Sign({"publish", published.Path().string(), secret});
  ASSERT_EQ(publish.exitCode, 0) << publish.err;
  const std::string list = published.Read("data41.dat");
  EXPECT_TRUE(list.starts_with("Solv2010;2;;s.rar;" + std::to_string(published.Read("s.rar").size()) + ";"));
  EXPECT_NE(list.find("\r\npomoc.htm;3;;;5;"), std::string::npos);
  EXPECT_EQ(Sign({"verify", published.Path().string(), publicKey}).exitCode, 0);

  // The updater takes the folder as published.
  solv::test::LocalHttpServer server;
  server.Route("/tavena/app_offline/renovo_tavena2010_opp.php", HttpReply::Ok("KVZ:" + server.Host() + "|/pub/|"));
  for (const char* name : {"data41.dat", "data41.sig", "s.rar", "pomoc.htm"})
    server.Route(std::string("/pub/") + name, HttpReply::Ok(published.Read(name)));
  solv::QueueMainLoop loop;
  solv::UpdateHttp http(loop);
  solv::RarExtractor archives;
  Sink sink;
  solv::UpdateRun run(program.Path(), http, archives, sink, solv::UpdateTrust{publicKey, true});
  EXPECT_EQ(run.Start("http://" + server.Host(), false), solv::UpdateOutcome::Updated);
  EXPECT_EQ(program.Read("Solv2010"), "nowy program");
  EXPECT_EQ(program.Read("pomoc.htm"), "pomoc");

  // A file changed after publishing, or another key, does not verify.
  published.Write("pomoc.htm", "zmieniona");
  const ToolRun changed = Sign({"verify", published.Path().string(), publicKey});
  EXPECT_EQ(changed.exitCode, 1);
  EXPECT_EQ(changed.out, "plik nie zgadza się z listą: pomoc.htm\n");
  EXPECT_EQ(Sign({"verify", published.Path().string(), std::string(64, '0')}).exitCode, 1);
}

TEST_F(RenovoSign, WrongUseAndMissingFilesAreErrors) {
  ASSERT_EQ(Sign({"keygen", secret}).exitCode, 0);
  published.Write("data41.dat", "brak.txt;1\r\n");
  const ToolRun missing = Sign({"publish", published.Path().string(), secret});
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_EQ(missing.err, "renovo-sign: brak pliku albo nie można go odczytać: brak.txt\n");
  EXPECT_EQ(published.Read("data41.dat"), "brak.txt;1\r\n");  // left as it was
  EXPECT_FALSE(fs::exists(published.Path() / "data41.sig"));

  published.Write("klucz", "nie klucz");
  EXPECT_EQ(Sign({"publish", published.Path().string(), (published.Path() / "klucz").string()}).exitCode, 2);
  EXPECT_EQ(Sign({"verify", published.Path().string(), "xyz"}).exitCode, 2);
  EXPECT_EQ(Sign({}).exitCode, 2);
  EXPECT_EQ(Sign({"sign"}).exitCode, 2);
}
