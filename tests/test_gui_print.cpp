// The print selection, the print copies of the chosen pages and the preview.
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QScrollArea>
#include <QTimer>
#include <QAction>
#include <QToolButton>
#include <QWheelEvent>

#include "preview.hpp"
#include "print_dialogs.hpp"
#include "qt_printer.hpp"
#include "report/page_definition.hpp"
#include "report/print_page.hpp"
#include "test_gui_fixture.hpp"

namespace {

using solv::PrintPageRef;
using solv::app::TPrevForm;

class PrintTest : public GuiFixture {
 protected:
  static int PdfPages(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QString text = QString::fromLatin1(f.readAll());
    return static_cast<int>(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
  }
  // Blank pages of the three PIT-37 sheets (no print copies needed to page through).
  static TPrevForm::Pages Pit37Pages() {
    TPrevForm::Pages pages;
    for (const char* cls : {"TPIT37a", "TPIT37b", "TPIT37c"}) {
      const solv::PageDefinition* def = solv::FindPage(cls);
      EXPECT_NE(def, nullptr) << cls;
      if (def) pages.push_back(solv::BuildPage(*def, "PIT37a"));
    }
    return pages;
  }
  std::unique_ptr<TPrevForm> Preview(TPrevForm::Pages pages) {
    auto form = std::make_unique<TPrevForm>(std::move(pages));
    form->setAttribute(Qt::WA_DeleteOnClose, false);
    form->resize(1000, 800);
    form->show();
    return form;
  }
};

TEST_F(PrintTest, PreviewPagesThroughWithKeysAndStopsAtTheEnds) {
  auto form = Preview(Pit37Pages());
  EXPECT_EQ(form->IndicatorLabel()->text(), QStringLiteral("Strona : 1/3"));
  EXPECT_EQ(form->Zoom(), 75);
  const struct {
    Qt::Key key;
    const char* shown;
  } steps[] = {
      {Qt::Key_PageDown, "Strona : 2/3"}, {Qt::Key_PageDown, "Strona : 3/3"}, {Qt::Key_PageDown, "Strona : 3/3"},
      {Qt::Key_Home, "Strona : 1/3"},     {Qt::Key_PageUp, "Strona : 1/3"},   {Qt::Key_End, "Strona : 3/3"},
      {Qt::Key_PageUp, "Strona : 2/3"},
  };
  for (const auto& s : steps) {
    QTest::keyClick(form.get(), s.key);
    EXPECT_EQ(form->IndicatorLabel()->text(), QString::fromUtf8(s.shown)) << s.key;
  }
  // The toolbar buttons do the same.
  QTest::mouseClick(form->findChild<QToolButton*>(QStringLiteral("spbOstatni")), Qt::LeftButton);
  EXPECT_EQ(form->CurrentPage(), 3);
  QTest::mouseClick(form->findChild<QToolButton*>(QStringLiteral("spbPierwsza")), Qt::LeftButton);
  EXPECT_EQ(form->CurrentPage(), 1);
}

TEST_F(PrintTest, ZoomChangesTheSheetAndStopsAtTheEndsOfTheLadder) {
  auto form = Preview(Pit37Pages());
  EXPECT_EQ(form->Sheet()->size(), QSize(595, 842));  // A4 at 75 %
  form->SetZoom(100);
  EXPECT_EQ(form->Sheet()->size(), QSize(793, 1122));
  form->SetZoom(200);
  EXPECT_EQ(form->Sheet()->size(), QSize(1586, 2244));

  const int top = TPrevForm::ZoomLadder().back(), bottom = TPrevForm::ZoomLadder().front();
  const struct {
    int from;
    Qt::MouseButton button;
    int to;
  } clicks[] = {{75, Qt::LeftButton, 100}, {100, Qt::RightButton, 75}, {top, Qt::LeftButton, top},
                {bottom, Qt::RightButton, bottom}, {150, Qt::LeftButton, 200}};
  for (const auto& c : clicks) {
    form->SetZoom(c.from);
    QTest::mouseClick(form->Sheet(), c.button, {}, QPoint(20, 20));
    EXPECT_EQ(form->Zoom(), c.to) << c.from;
  }
  form->SetZoom(100);
  form->SetZoom(1000);  // outside the ladder
  EXPECT_EQ(form->Zoom(), 100);

  QWheelEvent wheel(QPointF(20, 20), form->ScrollArea()->viewport()->mapToGlobal(QPointF(20, 20)), QPoint(),
                    QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(form->ScrollArea()->viewport(), &wheel);
  EXPECT_EQ(form->Zoom(), 150);
  QTest::keyClick(form.get(), Qt::Key_Minus);
  EXPECT_EQ(form->Zoom(), 100);
  EXPECT_EQ(form->Sheet()->size(), QSize(793, 1122));
}

TEST_F(PrintTest, AnEmptyPreviewSaysThereIsNothingToPrint) {
  auto form = Preview({});
  EXPECT_EQ(form->IndicatorLabel()->text(), QStringLiteral("Strona : 0/0"));
  EXPECT_FALSE(form->PrintButton()->isEnabled());
  EXPECT_FALSE(form->SaveButton()->isEnabled());
  EXPECT_FALSE(form->Sheet()->isVisible());
  bool says = false;
  for (QLabel* l : form->findChildren<QLabel*>())
    if (l->isVisible() && l->text().startsWith(QStringLiteral("Brak stron do wydruku"))) says = true;
  EXPECT_TRUE(says);
  QTest::keyClick(form.get(), Qt::Key_PageDown);
  QTest::keyClick(form.get(), Qt::Key_End);
  EXPECT_EQ(form->IndicatorLabel()->text(), QStringLiteral("Strona : 0/0"));
}

TEST_F(PrintTest, PdfSaveAndPrintWriteFiles) {
  auto form = Preview(Pit37Pages());
  const QString pdf = QString::fromStdString((folder_ / "zeznanie.pdf").string());
  ASSERT_TRUE(form->SavePdf(pdf));
  QFile file(pdf);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.read(4) == "%PDF");
  // Saving says where the file went.
  ASSERT_FALSE(messages_.calls.empty());
  EXPECT_EQ(messages_.calls.back().message, "Zapisano plik PDF (3 strony):\n" + pdf.toStdString());

  // One printer job with the pages asked for, titled with the first one's
  // report title: a printer writing a file keeps them all.
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  const QString printed = QString::fromStdString((folder_ / "druk.pdf").string());
  printer.setOutputFileName(printed);
  ASSERT_TRUE(form->PrintPages(printer, 2, 3));
  EXPECT_EQ(printer.docName(), QStringLiteral("pit37b"));
  EXPECT_EQ(PdfPages(printed), 2);
  ASSERT_TRUE(form->PrintPages(printer, 1, 3, 2));  // two copies the printer cannot make itself
  EXPECT_EQ(PdfPages(printed), 6);
}

// "Ustawienia drukarki" sets up the printer the preview prints on: its
// choice holds for the next print.
TEST_F(PrintTest, PrinterSetUpIsKeptForPrinting) {
  auto& w = WindowWithSet("PIT37", 1);
  const QString file = QString::fromStdString((folder_ / "ustawienia.pdf").string());
  QPrinter* setUp = nullptr;
  QTimer::singleShot(0, [&] {
    auto* d = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    setUp = d->printer();
    // What choosing a file printer in the dialog leaves on its printer.
    d->printer()->setOutputFormat(QPrinter::PdfFormat);
    d->printer()->setOutputFileName(file);
    d->reject();
  });
  w.Action(QStringLiteral("FilePrintSetup1"))->trigger();
  ASSERT_EQ(setUp, &solv::ProgramPrinter());

  auto form = Preview(Pit37Pages());
  QPrinter* used = nullptr;
  QTimer::singleShot(0, [&] {
    auto* d = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    used = d->printer();
    EXPECT_EQ(d->printer()->outputFileName(), file);
    d->accept();
  });
  QTest::mouseClick(form->PrintButton(), Qt::LeftButton);
  EXPECT_EQ(used, &solv::ProgramPrinter());
  EXPECT_EQ(PdfPages(file), 3);
}

TEST_F(PrintTest, SelectionOffersThePresentFormsAndPrintsTheStoredTexts) {
  WindowWithSet("PIT37", 1);
  solv::WriteField("p1", "Kowalski", "PIT37a");
  solv::app::TFormPrePrint dialog;
  const struct {
    const char* row;
    bool enabled, checked;
  } rows[] = {{"PIT37", true, true}, {"PIT36", false, false}, {"PITM_M", false, false}, {"PITZ_M", false, false}};
  for (const auto& r : rows) {
    QCheckBox* cb = dialog.Box(r.row);
    ASSERT_NE(cb, nullptr) << r.row;
    EXPECT_EQ(cb->isEnabled(), r.enabled) << r.row;
    EXPECT_EQ(cb->isChecked(), r.checked) << r.row;
  }
  EXPECT_EQ(dialog.Box("PIT37")->text(), QStringLiteral("PIT-37"));
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Wybierz formularze"));

  std::vector<std::unique_ptr<solv::TKVZPage>> copies;
  ASSERT_TRUE(solv::app::BuildPrintCopies(solv::PagesToPrint({"PIT37"}), copies));
  ASSERT_EQ(copies.size(), 3u);
  auto* field = copies[0]->Find<solv::TKVZField>("p1");
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->GetPrintText(), "Kowalski");
  EXPECT_EQ(dynamic_cast<solv::TKVZEditField*>(copies[0]->FindComponent("p1")), nullptr);
}

TEST_F(PrintTest, AnUnknownPageStopsTheCopiesWithNothingKept) {
  WindowWithSet("PIT37", 1);
  std::vector<std::unique_ptr<solv::TKVZPage>> copies;
  const std::vector<PrintPageRef> refs{{"TPIT37a", "PIT37a"}, {"TNIEMA", "PIT37a"}, {"TPIT37c", "PIT37a"}};
  EXPECT_FALSE(solv::app::BuildPrintCopies(refs, copies));
  EXPECT_TRUE(copies.empty());
  ASSERT_FALSE(messages_.calls.empty());
  EXPECT_NE(messages_.calls.back().message.find("TNIEMA"), std::string::npos);
}

// The print action: the question, the selection, then the preview of the
// chosen pages; cancelling the selection opens nothing.
TEST_F(PrintTest, PrintActionOpensThePreviewOfTheChosenForms) {
  auto& w = WindowWithSet("PIT37", 1);
  solv::WriteField("p1", "Kowalski", "PIT37a");
  for (const bool accept : {false, true}) {
    messages_.calls.clear();
    messages_.answers = {2};  // "&NIE": checked all the same, no messages window
    bool offered = false;
    QTimer::singleShot(0, [&] {
      solv::app::TFormPrePrint* d = solv::app::FormPrePrint();
      offered = d != nullptr;
      if (d) accept ? d->accept() : d->reject();
    });
    w.Action(QStringLiteral("Action2"))->trigger();
    EXPECT_TRUE(offered);
    ASSERT_FALSE(messages_.calls.empty());
    EXPECT_EQ(messages_.calls.front().message,
              "Czy chcesz sprawdzić całość zeznania (deklarację główną i załączniki)?");
    EXPECT_EQ(solv::app::FormPrePrint(), nullptr);
    if (!accept) {
      EXPECT_EQ(solv::app::PrevForm(), nullptr);
      continue;
    }
    TPrevForm* preview = solv::app::PrevForm();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->IndicatorLabel()->text(), QStringLiteral("Strona : 1/3"));
    auto* field = preview->PageList()[0]->Find<solv::TKVZField>("p1");
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->GetPrintText(), "Kowalski");
    preview->close();
  }
}

}  // namespace
