// Updates over TLS against a local HTTPS server: certificates are checked,
// and an update begun over https never goes on over http.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "local_http_server.hpp"
#include "local_tls_server.hpp"
#include "main_loop.hpp"
#include "rar_archive.hpp"
#include "temp_folder.hpp"
#include "update_http.hpp"
#include "update_signing.hpp"
#include "updater/update_run.hpp"
#include "utilhttp.hpp"

namespace fs = std::filesystem;
using namespace solv;
using solv::test::HttpReply;

namespace {

const std::string kEndpoint = "/tavena/app_offline/renovo_tavena2010_opp.php";

struct Sink : UpdateSink {
  std::vector<std::string> log;
  void Log(const std::string& line) override { log.push_back(line); }
  void Description(const std::string&) override {}
  bool Has(const std::string& line) const { return std::find(log.begin(), log.end(), line) != log.end(); }
};

class UpdateOverTls : public ::testing::Test {
 protected:
  // One request of the HTTP component, waited for.
  HttpWorkerResult Fetch(const std::string& url, const std::string& caFile) {
    HttpRequestSettings settings;
    settings.URL = url;
    settings.CaFile = caFile;
    settings.TimeOut = 5000;
    std::atomic<bool> stop{false};
    return TUTILHTTPThread::Perform(settings, TUTILHTTPThread::Mode::String, nullptr, stop);
  }

  solv::test::TempFolder folder{"solvtls"};
  fs::path dir = folder.Path();
  solv::test::LocalTlsServer tls{dir};
  solv::test::LocalHttpServer plain;
};

}  // namespace

TEST_F(UpdateOverTls, CertificatesAreCheckedAndRedirectsNeverLeaveTls) {
  tls.Route("/ok", HttpReply::Ok("przez TLS"));
  HttpReply toHttp = HttpReply::Status(302, "Found", "moved");
  toHttp.headers = {"Location: http://" + plain.Host() + "/plain"};
  tls.Route("/to-http", toHttp);
  HttpReply toHttps = HttpReply::Status(302, "Found", "moved");
  toHttps.headers = {"Location: /ok"};
  tls.Route("/to-https", toHttps);
  plain.Route("/plain", HttpReply::Ok("bez szyfrowania"));

  const HttpWorkerResult trusted = Fetch("https://" + tls.Host() + "/ok", tls.CaFile());
  EXPECT_TRUE(trusted.success);
  EXPECT_EQ(trusted.reply, "przez TLS");
  // The system's certificates do not know the test server's.
  EXPECT_FALSE(Fetch("https://" + tls.Host() + "/ok", "").success);
  EXPECT_TRUE(Fetch("https://" + tls.Host() + "/to-https", tls.CaFile()).success);
  const HttpWorkerResult downgraded = Fetch("https://" + tls.Host() + "/to-http", tls.CaFile());
  EXPECT_FALSE(downgraded.success);
  EXPECT_NE(downgraded.reply, "bez szyfrowania");
  EXPECT_EQ(plain.RequestCount(), 0u);
}

TEST_F(UpdateOverTls, AWholeUpdateOverHttpsAndNoFallbackToHttp) {
  QueueMainLoop loop;
  UpdateHttp http(loop);
  http.TrustCertificates(tls.CaFile());
  RarExtractor archives;
  Sink sink;
  const fs::path program = dir / "program";
  fs::create_directories(program);

  const std::string list = solv::test::ListWithDigests("a.txt;2\r\n", [](const std::string&) { return "nowy"; });
  tls.Route(kEndpoint, HttpReply::Ok("KVZ:" + tls.Host() + "|/files/|"));
  tls.Route("/files/data41.dat", HttpReply::Ok(list));
  tls.Route("/files/data41.sig", HttpReply::Ok(solv::test::SignWithTestKey(list)));
  tls.Route("/files/a.txt", HttpReply::Ok("nowy"));
  {
    UpdateRun run(program, http, archives, sink, solv::test::TestTrust(false));
    EXPECT_EQ(run.Start("https://" + tls.Host(), false), UpdateOutcome::Updated);
  }
  EXPECT_EQ(folder.Read("program/a.txt"), "nowy");

  // The same server naming a plain http location: refused, nothing asked of it.
  tls.Route(kEndpoint, HttpReply::Ok("KVZ:http://" + plain.Host() + "|/files/|"));
  plain.Route("/files/data41.dat", HttpReply::Ok(list));
  sink.log.clear();
  UpdateRun run(program, http, archives, sink, solv::test::TestTrust(true));
  EXPECT_EQ(run.Start("https://" + tls.Host(), false), UpdateOutcome::NoAnswer);
  EXPECT_TRUE(sink.Has("Serwer wskazał pobieranie bez szyfrowania (http) - aktualizacja odrzucona"));
  EXPECT_EQ(plain.RequestCount(), 0u);
}
