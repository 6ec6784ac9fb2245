// The updater's wizard driven by clicks against a local update server.
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "local_http_server.hpp"
#include "rar_fixture.hpp"
#include "temp_folder.hpp"
#include "update_signing.hpp"
#include "wizard_form.hpp"

namespace fs = std::filesystem;
using solv::HttpRole;
using solv::TWizardForm;
using solv::test::HttpReply;
using solv::test::LocalHttpServer;

namespace {

const std::string kEndpoint = "/tavena/app_offline/renovo_tavena2010_opp.php";

QString Q(const char* text) { return QString::fromUtf8(text); }

class WizardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server.Route(kEndpoint, HttpReply::Ok("KVZ:" + server.Host() + "|/files/|"));
  }
  void TearDown() override {
    wizard.reset();
    server.Stop();
  }

  TWizardForm& Open(QStringList arguments = {}) {
    solv::WizardOptions options;
    options.programDir = QString::fromStdString(dir.string());
    options.endpointHost = QString::fromStdString("http://" + server.Host());
    options.arguments = arguments;
    options.trust = solv::test::TestTrust();
    if (pendingList) {
      // The list as the publisher signs it, with the size and hash of each file served.
      const std::string list = solv::test::ListWithDigests(*pendingList, [&](const std::string& name) {
        auto it = bodies.find(name);
        return it == bodies.end() ? std::optional<std::string>() : it->second;
      });
      server.Route("/files/data41.dat", HttpReply::Ok(list));
      server.Route("/files/data41.sig", HttpReply::Ok(solv::test::SignWithTestKey(list)));
    }
    wizard = std::make_unique<TWizardForm>(options);
    wizard->AskRestart = [this] {
      ++asked;
      return restart;
    };
    wizard->StartProgram = [this](const QString& program) {
      started << program;
      return true;
    };
    return *wizard;
  }

  void Write(const std::string& name, const std::string& text) { folder.Write(name, text); }
  std::string Read(const std::string& name) { return folder.Read(name); }
  void Serve(const std::string& name, HttpReply reply) {
    if (name == "data41.dat") {
      pendingList = reply.body;
      return;
    }
    bodies[name] = reply.body;
    server.Route("/files/" + name, reply);
  }
  void Click(QPushButton* button) {
    ASSERT_TRUE(button->isVisible()) << button->text().toStdString();
    QTest::mouseClick(button, Qt::LeftButton);
  }
  QStringList Log() const {
    QStringList lines;
    for (int i = 0; i < wizard->LMsg()->count(); ++i) lines << wizard->LMsg()->item(i)->text();
    return lines;
  }
  // The caption of each button, or "" when it is hidden.
  QStringList Buttons() const {
    QStringList captions;
    for (QPushButton* b : {wizard->TestButton(), wizard->WsteczButton(), wizard->DalejButton(),
                           wizard->AnulujButton()})
      captions << (b->isVisible() ? b->text() : QString());
    return captions;
  }

  LocalHttpServer server;
  solv::test::TempFolder folder{"solvwizard"};
  fs::path dir = folder.Path();
  std::unique_ptr<TWizardForm> wizard;
  bool restart = false;
  int asked = 0;
  QStringList started;
  std::map<std::string, std::string> bodies;
  std::optional<std::string> pendingList;
};

}  // namespace

TEST_F(WizardTest, StepsShowTheirButtonsAndTexts) {
  TWizardForm& w = Open();
  w.show();
  EXPECT_EQ(w.windowTitle(), Q("Aktualizator programu Solvenor Vandrel"));
  EXPECT_EQ(w.size(), QSize(495, 358));

  struct Row {
    int step;
    QStringList buttons;
    const char* title;
  };
  const Row welcome{0, {"", "", Q("Dalej >"), "Anuluj"}, ""};
  const Row choice{1, {Q("Sprawdź wersję"), "< Wstecz", "Dalej >", "Anuluj"},
                   "Proszę wybrać jedną z opcji"};
  auto expect = [&](const Row& row) {
    SCOPED_TRACE(row.step);
    EXPECT_EQ(w.Step(), row.step);
    EXPECT_EQ(Buttons(), row.buttons);
    EXPECT_EQ(w.OuterNotebook()->currentIndex(), row.step == 0 ? 0 : 1);
    if (row.step > 0) {
      EXPECT_EQ(w.PageNameLabel()->text(), Q(row.title));
    }
  };
  expect(welcome);
  Click(w.DalejButton());
  expect(choice);
  EXPECT_EQ(w.InnerNotebook()->currentIndex(), 0);
  Click(w.WsteczButton());
  expect(welcome);
  EXPECT_EQ(server.RequestCount(), 0u);
}

TEST_F(WizardTest, FullUpdateFromTheWindow) {
  Write("data041.dat", "Solv2010;1\r\n");
  Write("Solv2010", "old program");
  Serve("data41.dat", HttpReply::Ok("Solv2010;2;;s.rar\r\n"));
  Serve("s.rar", HttpReply::Ok(rarfix::RarArchive({rarfix::File("_Solv2010", std::string(4000, 'N'))})));

  TWizardForm& w = Open();
  w.show();
  Click(w.DalejButton());
  Click(w.DalejButton());  // the run ends before the click returns

  EXPECT_EQ(w.Step(), 2);
  EXPECT_FALSE(w.CheckOnly());
  EXPECT_EQ(w.InnerNotebook()->currentIndex(), 1);
  EXPECT_EQ(Log(), (QStringList{"Pobieranie danych ...", Q("Liczba plików do pobrania: 1"),
                                "Pobieram : 1/1 ...", Q("Sprawdzanie plików ..."),
                                "Aktualizacja ...", Q("Aktualizacja przebiegła prawidłowo"),
                                "Koniec"}));
  EXPECT_EQ(w.PageDescriptionLabel()->text(), Q("Aktualizacja zakończona."));
  EXPECT_EQ(Buttons(), (QStringList{"", "< Wstecz", "", Q("Zakończ")}));
  EXPECT_EQ(w.ProgressGauge()->value(), w.ProgressGauge()->maximum());
  EXPECT_GT(w.ProgressGauge()->maximum(), 4000);
  EXPECT_EQ(Read("Solv2010"), std::string(4000, 'N'));
  EXPECT_EQ(Read("data041.dat"), "Solv2010;2\r\n");

  // Back leads to the choice, from where the check can run again.
  Click(w.WsteczButton());
  EXPECT_EQ(w.Step(), 1);
  Click(w.TestButton());
  EXPECT_TRUE(w.CheckOnly());
  EXPECT_EQ(Log().last(), "Koniec");
  EXPECT_TRUE(Log().contains("Program nie wymaga aktualizacji"));
}

TEST_F(WizardTest, ArgumentZeroOneChecksAtOnce) {
  Write("data041.dat", "Solv2010;1\r\n");
  Serve("data41.dat", HttpReply::Ok("Solv2010;2;;s.rar\r\n"));
  TWizardForm& w = Open({"--nic", "01"});
  QSignalSpy finished(&w, &TWizardForm::RunFinished);
  w.show();
  ASSERT_TRUE(finished.wait(10000));
  EXPECT_EQ(w.Step(), 2);
  EXPECT_TRUE(w.CheckOnly());
  EXPECT_EQ(w.PageDescriptionLabel()->text(), Q("Sprawdzanie zakończone."));
  EXPECT_TRUE(Log().contains(Q("Twój program wymaga aktualizacji...")));
  EXPECT_FALSE(fs::exists(dir / "data41.dat"));
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);  // the update request, the list and its signature
  EXPECT_EQ(requests[0].body, "test=1");
  EXPECT_EQ(Buttons(), (QStringList{"", "< Wstecz", "", Q("Zakończ")}));
}

TEST_F(WizardTest, PrzerwijDuringADownloadStopsTheRun) {
  Write("data041.dat", "a.txt;1\r\n");
  Write("a.txt", "old a");
  Serve("data41.dat", HttpReply::Ok("a.txt;2\r\n"));
  auto stalled = HttpReply::Ok(std::string(10000, 'a'));
  stalled.stallAfter = 2000;
  Serve("a.txt", stalled);

  TWizardForm& w = Open();
  w.show();
  Click(w.DalejButton());
  // Once the download hangs, the user presses "Przerwij".
  QTimer poll;
  bool pressed = false;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (pressed || !server.WaitStalled(1, std::chrono::milliseconds(0))) return;
    pressed = true;
    EXPECT_EQ(w.AnulujButton()->text(), "Przerwij");
    QTest::mouseClick(w.AnulujButton(), Qt::LeftButton);
  });
  poll.start(20);
  Click(w.DalejButton());
  poll.stop();

  EXPECT_TRUE(pressed);
  EXPECT_EQ(w.PageDescriptionLabel()->text(), Q("Aktualizacja przerwana."));
  EXPECT_TRUE(Log().contains("Operacja przerwana"));
  EXPECT_EQ(Read("a.txt"), "old a");
  EXPECT_EQ(Read("data041.dat"), "a.txt;1\r\n");
  EXPECT_EQ(Buttons(), (QStringList{"", "< Wstecz", "", Q("Zakończ")}));
}

// "Przerwij" works while a large archive is unpacked, and nothing is installed.
TEST_F(WizardTest, PrzerwijWhileUnpackingStopsTheRun) {
  Write("data041.dat", "Solv2010;1\r\n");
  Write("Solv2010", "old program");
  std::vector<rarfix::Entry> entries;
  for (int i = 0; i < 4000; ++i) entries.push_back(rarfix::File("pomoc/" + std::to_string(i) + ".htm", "s"));
  entries.push_back(rarfix::File("_Solv2010", "new program"));
  Serve("s.rar", HttpReply::Ok(rarfix::RarArchive(entries)));
  Serve("data41.dat", HttpReply::Ok("Solv2010;2;;s.rar\r\n"));

  TWizardForm& w = Open();
  w.show();
  Click(w.DalejButton());
  QTimer poll;
  bool pressed = false;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (pressed || !Log().contains(Q("Sprawdzanie plików ..."))) return;
    pressed = true;
    QTest::mouseClick(w.AnulujButton(), Qt::LeftButton);
  });
  poll.start(0);
  Click(w.DalejButton());
  poll.stop();

  EXPECT_TRUE(pressed);
  EXPECT_TRUE(Log().contains("Operacja przerwana"));
  EXPECT_EQ(w.PageDescriptionLabel()->text(), Q("Aktualizacja przerwana."));
  EXPECT_EQ(Read("Solv2010"), "old program");
  EXPECT_EQ(Read("data041.dat"), "Solv2010;1\r\n");
  EXPECT_FALSE(fs::exists(dir / "pomoc"));
}

TEST_F(WizardTest, NoServerEndsWithTheConnectionMessages) {
  TWizardForm& w = Open();
  server.Stop();
  w.show();
  Click(w.DalejButton());
  Click(w.TestButton());
  EXPECT_EQ(Log(), (QStringList{Q("Brak połączenia z serwerem"), "Proces aktualizacji przerwany"}));
  EXPECT_EQ(w.PageDescriptionLabel()->text(), Q("Aktualizacja przerwana."));
  EXPECT_EQ(Buttons(), (QStringList{"", "< Wstecz", "", Q("Zakończ")}));
}

TEST_F(WizardTest, ClosingAsksOnceWhetherToStartTheProgram) {
  struct Case {
    const char* what;
    bool yes;
    bool closeBox;  // the window's close box instead of "Anuluj"
  };
  for (const Case& c : {Case{"Anuluj, yes", true, false}, Case{"Anuluj, no", false, false},
                        Case{"close box, yes", true, true}}) {
    SCOPED_TRACE(c.what);
    restart = c.yes;
    asked = 0;
    started.clear();
    TWizardForm& w = Open();
    w.show();
    if (c.closeBox) w.close();
    else Click(w.AnulujButton());
    EXPECT_FALSE(w.isVisible());
    w.close();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(started, c.yes ? QStringList{QString::fromStdString((dir / "Solv2010").string())}
                             : QStringList{});
  }
}

TEST_F(WizardTest, TitleDotsGrowAndStartOverAfterTwenty) {
  TWizardForm& w = Open();
  solv::UpdateSink& sink = w;
  auto dots = [&] { return w.PageNameLabel()->text().count(QLatin1Char('.')); };
  sink.Progress(HttpRole::Location, 0, 0);
  EXPECT_EQ(w.PageNameLabel()->text(), "Aktualizacja..");
  for (int n = 3; n <= 20; ++n) {
    sink.Progress(HttpRole::ServerList, 0, 0);
    EXPECT_EQ(dots(), n);
  }
  sink.Progress(HttpRole::Location, 0, 0);
  EXPECT_EQ(w.PageNameLabel()->text(), "Aktualizacja");
  sink.Progress(HttpRole::Location, 0, 0);
  EXPECT_EQ(dots(), 2);

  // Files move the gauge; sizes beyond its range are scaled together.
  sink.Progress(HttpRole::File, 1000, 250);
  EXPECT_EQ(w.ProgressGauge()->maximum(), 1000);
  EXPECT_EQ(w.ProgressGauge()->value(), 250);
  sink.Progress(HttpRole::File, 8'000'000'000ULL, 4'000'000'000ULL);
  EXPECT_EQ(w.ProgressGauge()->value() * 2, w.ProgressGauge()->maximum());
}
