// The form actions of the main window with their questions answered, the
// organisation window, the help pages beside the program and the characters
// the editor refuses.
#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QMdiArea>
#include <QTimer>
#include <QUrl>

#include "help.hpp"
#include "shell/form_registry.hpp"
#include "start_windows.hpp"
#include "store/forms.hpp"
#include "test_gui_fixture.hpp"

namespace {

using solv::RecordingMessageProvider;
using solv::app::PageWindow;

class FormActions : public GuiFixture {
 protected:
  void Trigger(const char* action) {
    QAction* a = window_->Action(QString::fromUtf8(action));
    ASSERT_NE(a, nullptr) << action;
    a->trigger();
  }
  std::vector<std::string> Sections(const char* base) { return solv::SectionsOfForm(base, '_'); }
  std::vector<std::string> Windows() {
    std::vector<std::string> names = window_->OpenWindowNames();
    std::sort(names.begin(), names.end());
    return names;
  }
  const RecordingMessageProvider::Call& LastCall() {
    static const RecordingMessageProvider::Call none;
    return messages_.calls.empty() ? none : messages_.calls.back();
  }
};

TEST_F(FormActions, FurtherPitBCopiesAreNumbered) {
  WindowWithSet("PIT36", 1);
  // Each copy is filled in its own window before the next is asked for.
  auto fillActive = [this](const char* nip) {
    PageWindow* page = window_->ActivePage();
    ASSERT_NE(page, nullptr);
    Click(*page, "p1");
    Type(*page, nip);
    Key(*page, Qt::Key_Return);
  };
  Trigger("ActionPITB");  // the first copy: no question
  EXPECT_TRUE(messages_.calls.empty());
  fillActive("1111111111");
  messages_.answers = {1, 1};  // "Nowy", "Nowy"
  Trigger("ActionPITB");
  fillActive("2222222222");
  Trigger("ActionPITB");
  fillActive("3333333333");
  ASSERT_EQ(messages_.calls.size(), 2u);
  EXPECT_EQ(messages_.calls[0].message, solv::FurtherCopyQuestion("PIT/B"));
  EXPECT_EQ(messages_.calls[0].first, "Nowy");
  const std::vector<std::string> expected = {"PITBa", "PITBa_1", "PITBa_2"};
  EXPECT_EQ(Windows(), expected);
  EXPECT_EQ(Sections("PITBa"), expected);
  EXPECT_EQ(Stored("p1", "PITBa"), "1111111111");
  EXPECT_EQ(Stored("p1", "PITBa_2"), "3333333333");

  messages_.answers = {3};  // "Anuluj": nothing more
  Trigger("ActionPITB");
  EXPECT_EQ(Windows(), expected);
  EXPECT_EQ(Sections("PITBa"), expected);
}

TEST_F(FormActions, PitOCopiesAreDeletedFromTheHighestNumber) {
  WindowWithSet("PIT37", 1);
  Trigger("ActionPITO");
  messages_.answers = {1, 1};
  Trigger("ActionPITO");
  Trigger("ActionPITO");
  ASSERT_EQ(Sections("PITOa"), (std::vector<std::string>{"PITOa", "PITOa_1", "PITOa_2"}));
  EXPECT_EQ(Stored("p4", "PITOa"), "1");
  EXPECT_EQ(Stored("p4", "PITOa_1"), "2");
  EXPECT_EQ(Stored("p4", "PITOa_2"), "3");

  // Copy 2: refused, nothing asked.
  window_->BringToFront("PITOa_1");
  ASSERT_EQ(window_->ActivePage()->InstanceName(), "PITOa_1");
  messages_.calls.clear();
  Trigger("ActionUsun");
  ASSERT_EQ(messages_.calls.size(), 1u);
  EXPECT_EQ(LastCall().function, RecordingMessageProvider::Function::Info);
  EXPECT_EQ(LastCall().message, solv::kPitoGapMessage);
  EXPECT_EQ(Sections("PITOa").size(), 3u);

  // Copy 3: "&NIE" keeps it, "&TAK" erases it and closes its window.
  window_->BringToFront("PITOa_2");
  messages_.answers = {2};
  Trigger("ActionUsun");
  EXPECT_EQ(LastCall().message, solv::kDeleteFormQuestion);
  EXPECT_EQ(LastCall().first, "&TAK");
  EXPECT_EQ(Sections("PITOa").size(), 3u);
  messages_.answers = {1};
  Trigger("ActionUsun");
  EXPECT_EQ(Sections("PITOa"), (std::vector<std::string>{"PITOa", "PITOa_1"}));
  EXPECT_EQ(Windows(), (std::vector<std::string>{"PITOa", "PITOa_1"}));
}

TEST_F(FormActions, TaxpayersPitMOpensOnlyItsOwnSection) {
  WindowWithSet("PIT36", 2);  // joint taxation
  solv::WriteField("p5", "TAXPAYER", "PITMa");
  solv::WriteField("p5", "SPOUSE", "PITMa_M");
  Trigger("ActionPITM_P");
  EXPECT_EQ(Windows(), std::vector<std::string>{"PITMa"});
  EXPECT_EQ(window_->ActivePage()->InstanceName(), "PITMa");
  Trigger("ActionPITM_M");
  EXPECT_EQ(Windows(), (std::vector<std::string>{"PITMa", "PITMa_M"}));
  EXPECT_TRUE(messages_.calls.empty());
}

TEST_F(FormActions, PitDTakesTheTaxpayersIdentificationFromTheMainForm) {
  WindowWithSet("PIT37", 1);
  solv::WriteField("P1", "1234563218", "PIT37a");
  solv::WriteField("P11", "KOWALSKI", "PIT37a");
  solv::WriteField("P12", "JAN", "PIT37a");
  Trigger("ActionPITD");
  PageWindow* page = window_->Page("PITDa");
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(Stored("P1", "PITDa"), "1234563218");
  EXPECT_EQ(Stored("P4", "PITDa"), "KOWALSKI");
  EXPECT_EQ(Stored("P5", "PITDa"), "JAN");
  EXPECT_EQ(page->Cell("p4")->Caption(), "KOWALSKI");  // the window shows the copied boxes
}

TEST(OrganisationWindow, IsShownOncePerRun) {
  int shown = 0;
  QTimer closer;
  closer.setInterval(5);
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (auto* w = qobject_cast<solv::app::TFOrganizacje*>(QApplication::activeModalWidget())) {
      ++shown;
      w->accept();
    }
  });
  closer.start();
  // Another test of this run may have shown it already.
  const bool before = solv::app::OrganisationShown();
  solv::app::ShowOrganisationOnce(nullptr);
  solv::app::ShowOrganisationOnce(nullptr);
  EXPECT_EQ(shown, before ? 0 : 1);
  EXPECT_TRUE(solv::app::OrganisationShown());
}

// Records the local pages the program asks the desktop to open.
class PageCatcher : public QObject {
  Q_OBJECT
 public:
  std::vector<QUrl> urls;
 public slots:
  void open(const QUrl& url) { urls.push_back(url); }
};

class HelpPages : public GuiFixture {};

TEST_F(HelpPages, TopicsExistBesideTheBuiltProgram) {
  solv::Store().programFolder = SOLV2010_DIR;
  WindowWithSet("PIT37", 1);
  solv::Store().programFolder = SOLV2010_DIR;
  PageCatcher catcher;
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
  for (const char* action : {"Action6", "Action11", "Action14"}) window_->Action(QString::fromUtf8(action))->trigger();
  QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

  EXPECT_TRUE(messages_.calls.empty()) << messages_.calls.front().message;  // no "Brak strony pomocy"
  ASSERT_EQ(catcher.urls.size(), 3u);
  EXPECT_TRUE(catcher.urls[0].toLocalFile().endsWith(QStringLiteral("/html/Instrukcja.html")));
  EXPECT_TRUE(catcher.urls[2].toLocalFile().endsWith(QStringLiteral("/html/vandrel/vandrel.html")));
  for (const QUrl& url : catcher.urls) EXPECT_TRUE(QFile::exists(url.toLocalFile())) << url.toString().toStdString();

  // The topics of the "?" buttons of the set dialog.
  for (const char* topic : {"PIT-28", "PIT-36", "PIT-36L", "PIT-37", "PIT-38", "PIT-39", "PIT-40"})
    EXPECT_TRUE(QFile::exists(solv::app::HelpTopicFile(QString::fromUtf8(topic)))) << topic;
  EXPECT_TRUE(QFile::exists(QString::fromUtf8(SOLV2010_DIR) + QStringLiteral("/html/styl.css")));
}

TEST_F(HelpPages, AMissingPageIsReported) {
  WindowWithSet("PIT37", 1);  // a fresh program folder without html/
  PageCatcher catcher;
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
  window_->Action(QStringLiteral("Action6"))->trigger();
  QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
  EXPECT_TRUE(catcher.urls.empty());
  ASSERT_EQ(messages_.calls.size(), 1u);
  EXPECT_TRUE(messages_.calls[0].message.starts_with("Brak strony pomocy: ")) << messages_.calls[0].message;
}

// A page that is there but that no program could show is not reported as
// missing: the message says what failed.
TEST_F(HelpPages, APageNoBrowserCouldShowIsToldApart) {
  solv::Store().programFolder = SOLV2010_DIR;
  WindowWithSet("PIT37", 1);
  solv::Store().programFolder = SOLV2010_DIR;
  std::vector<QUrl> asked;
  solv::app::SetPageOpener([&asked](const QUrl& url) {
    asked.push_back(url);
    return false;
  });
  window_->Action(QStringLiteral("Action6"))->trigger();  // a help page
  window_->Action(QStringLiteral("Action12"))->trigger();  // a web page
  solv::app::SetPageOpener(nullptr);
  ASSERT_EQ(asked.size(), 2u);
  ASSERT_EQ(messages_.calls.size(), 2u);
  const std::string& help = messages_.calls[0].message;
  EXPECT_FALSE(help.starts_with("Brak strony pomocy")) << help;
  EXPECT_TRUE(help.starts_with("Nie można pokazać strony pomocy ")) << help;
  EXPECT_NE(help.find("/html/Instrukcja.html"), std::string::npos) << help;
  EXPECT_NE(help.find("przeglądarki"), std::string::npos) << help;
  EXPECT_TRUE(messages_.calls[1].message.starts_with("Nie można otworzyć strony http")) << messages_.calls[1].message;
}

class SetFileCharacters : public GuiFixture {
 protected:
  PageWindow& NameBox() {
    WindowWithSet("PIT37", 1);
    PageWindow& page = OpenPage("TPIT37a", "PIT37a");
    Click(page, "p12");
    page.Editor()->clear();
    return page;
  }
  static void Send(PageWindow& page, const QString& text) {
    QTest::sendKeyEvent(QTest::Click, page.Editor(), Qt::Key_unknown, text, Qt::NoModifier);
  }
};

TEST_F(SetFileCharacters, TypedCharactersOutsideWindows1250AreRefusedAtOnce) {
  PageWindow& page = NameBox();
  Type(page, "jan");
  struct Case {
    const char* typed;
    bool refused;
  };
  const Case cases[] = {
      {"ñ", true}, {"漢", true}, {"😀", true}, {"€", false}, {"ő", false}, {"ż", false},
  };
  for (const Case& c : cases) {
    messages_.calls.clear();
    const QString before = page.Editor()->text();
    Send(page, QString::fromUtf8(c.typed));
    if (c.refused) {
      EXPECT_EQ(page.Editor()->text(), before) << c.typed;
      ASSERT_EQ(messages_.calls.size(), 1u) << c.typed;
      EXPECT_EQ(messages_.calls[0].function, RecordingMessageProvider::Function::Info);
      EXPECT_EQ(messages_.calls[0].title, "Informacja");
      EXPECT_EQ(messages_.calls[0].message,
                std::string("Znaku „") + c.typed + "” nie można zapisać w zestawie (kodowanie Windows-1250).");
    } else {
      EXPECT_NE(page.Editor()->text(), before) << c.typed;
      EXPECT_TRUE(messages_.calls.empty()) << c.typed;
    }
  }
  EXPECT_EQ(page.Editor()->text().toStdString(), "JAN€ŐŻ");
  Key(page, Qt::Key_Return);
  EXPECT_EQ(Stored("P12", "PIT37a"), "JAN€ŐŻ");  // read back from the file unchanged
}

TEST_F(SetFileCharacters, PastedTextFollowsTheSameRules) {
  PageWindow& page = NameBox();
  QGuiApplication::clipboard()->setText(QStringLiteral("nowak"));
  Key(page, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(page.Editor()->text().toStdString(), "NOWAK");  // upper-cased as typed
  EXPECT_TRUE(messages_.calls.empty());

  page.Editor()->clear();
  QGuiApplication::clipboard()->setText(QString::fromUtf8("muñoz"));
  Key(page, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(page.Editor()->text().toStdString(), "MU");  // stops at the refused character
  ASSERT_EQ(messages_.calls.size(), 1u);
  EXPECT_EQ(messages_.calls[0].message, "Znaku „ñ” nie można zapisać w zestawie (kodowanie Windows-1250).");

  // Money cells take a pasted amount whole, or refuse it whole with the
  // reason: "12a 3,4,5" is no amount (it once became 123,45).
  Key(page, Qt::Key_Return);
  window_->SwitchPage('b');
  ASSERT_NE(window_->ActivePage(), nullptr);
  PageWindow& money = *window_->ActivePage();
  Click(money, "p39");
  money.Editor()->clear();
  QGuiApplication::clipboard()->setText(QStringLiteral("12a 3,4,5"));
  Key(money, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(money.Editor()->text().toStdString(), "");
  ASSERT_NE(money.Editor()->RefusalBalloon(), nullptr);
  EXPECT_TRUE(money.Editor()->RefusalBalloon()->isVisible());
  QGuiApplication::clipboard()->setText(QStringLiteral("1.234,56"));
  Key(money, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(money.Editor()->text().toStdString(), "1234,56");
}

}  // namespace

#include "test_gui_forms.moc"
