// Printing through the printer object: print copies registered in the page
// list, printed job by job through the layout run onto a QPrinter, and
// recorded as pictures for replay.
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include "preview.hpp"
#include "print_dialogs.hpp"
#include "qt_canvas.hpp"
#include "qt_printer.hpp"
#include "report/layout.hpp"
#include "report/page_list.hpp"
#include "report/print_page.hpp"
#include "test_gui_fixture.hpp"

namespace {

using solv::ListaStron;
using solv::TKVZReport;

class PrinterTest : public GuiFixture {
 protected:
  void TearDown() override {
    solv::KVZPrinter().SetDevice(nullptr);
    solv::KVZPrinter().SetRecorder({});
    solv::KVZPrinter().SetPages(nullptr);
    ListaStron().Clear();
    GuiFixture::TearDown();
  }

  // The three PIT-37 print copies of a set whose taxpayer is "Kowalski".
  std::vector<std::unique_ptr<solv::TKVZPage>> Pit37Copies() {
    WindowWithSet("PIT37", 1);
    solv::WriteField("p1", "Kowalski", "PIT37a");
    std::vector<std::unique_ptr<solv::TKVZPage>> copies;
    EXPECT_TRUE(solv::app::BuildPrintCopies(solv::PagesToPrint({"PIT37"}), copies));
    return copies;
  }

  QString File(const char* name) const { return QString::fromStdString((folder_ / name).string()); }

  static int PdfPages(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QString text = QString::fromLatin1(f.readAll());
    return static_cast<int>(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
  }

  // The text of a PDF; empty when pdftotext is not installed.
  static QString PdfText(const QString& file) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) return {};
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
    p.waitForFinished(-1);
    return QString::fromUtf8(p.readAllStandardOutput());
  }

  static bool HavePdfToText() { return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(); }

  static std::unique_ptr<QPrinter> PdfPrinter(const QString& file) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(file);
    return printer;
  }
};

// Every copy gets a record of its own naming its report, and each field
// holds the on-screen text exactly once (a second value would print the
// page twice).
TEST_F(PrinterTest, PrintCopiesAreListedWithOneValuePerField) {
  auto copies = Pit37Copies();
  ASSERT_EQ(copies.size(), 3u);
  ASSERT_EQ(ListaStron().Count(), 3);
  for (int i = 0; i < 3; ++i) {
    ASSERT_NE(ListaStron().Items(i), nullptr);
    EXPECT_EQ(ListaStron().Items(i)->report, copies[static_cast<size_t>(i)]->Report()) << i;
  }
  auto* field = copies[0]->Find<solv::TKVZField>("p1");
  ASSERT_NE(field, nullptr);
  EXPECT_TRUE(field->Transparent());
  EXPECT_EQ(field->GetPrintText(), "Kowalski");
  EXPECT_FALSE(field->NextRecord());

  // A new print action starts the list again; a failed one leaves it empty.
  std::vector<std::unique_ptr<solv::TKVZPage>> again;
  ASSERT_TRUE(solv::app::BuildPrintCopies(solv::PagesToPrint({"PIT37"}), again));
  EXPECT_EQ(ListaStron().Count(), 3);
  EXPECT_EQ(ListaStron().Items(0)->report, again[0]->Report());
  EXPECT_FALSE(solv::app::BuildPrintCopies({{"TPIT37a", "PIT37a"}, {"TNIEMA", "PIT37a"}}, again));
  EXPECT_EQ(ListaStron().Count(), 0);
}

// Each listed report printed as a job of its own onto a PDF printer: one
// page per copy, titled with the report title, carrying the stored text.
TEST_F(PrinterTest, PrintReportOnAPdfPrinterGivesOnePagePerCopy) {
  auto copies = Pit37Copies();
  ASSERT_EQ(ListaStron().Count(), 3);
  for (int i = 0; i < ListaStron().Count(); ++i) {
    TKVZReport* report = ListaStron().Items(i)->report;
    ASSERT_NE(report, nullptr);
    const QString file = File(("kopia" + std::to_string(i) + ".pdf").c_str());
    auto printer = PdfPrinter(file);
    solv::QtPrinterDevice device(*printer);
    solv::KVZPrinter().SetDevice(&device);
    solv::PrintReport(*report);
    EXPECT_FALSE(device.Failed());
    EXPECT_FALSE(solv::KVZPrinter().MetafileMode());
    EXPECT_EQ(printer->docName().toStdString(), report->ReportTitle());
    EXPECT_EQ(PdfPages(file), 1) << i;
    if (i == 0 && HavePdfToText()) {
      EXPECT_TRUE(PdfText(file).contains(QStringLiteral("Kowalski")));
    }
  }
}

// The preview's print runs the same path: pages from..to, one job each.
TEST_F(PrinterTest, PreviewPrintsItsCopiesThroughThePrinterObject) {
  auto copies = Pit37Copies();
  solv::app::TPrevForm form(std::move(copies));
  const QString file = File("podglad.pdf");
  auto printer = PdfPrinter(file);
  ASSERT_TRUE(form.PrintPages(*printer, 1, 1));
  EXPECT_EQ(printer->docName().toStdString(), form.PageList()[0]->Report()->ReportTitle());
  EXPECT_EQ(PdfPages(file), 1);
  if (HavePdfToText()) {
    EXPECT_TRUE(PdfText(file).contains(QStringLiteral("Kowalski")));
  }

  // A job that cannot start makes the print fail.
  auto nowhere = PdfPrinter(File("brak/druk.pdf"));
  EXPECT_FALSE(form.PrintPages(*nowhere, 1, 3));
}

// The page list never names copies that are gone: closing the preview that
// owns them empties it.
TEST_F(PrinterTest, ClosingThePreviewEmptiesThePageList) {
  auto copies = Pit37Copies();
  ASSERT_EQ(ListaStron().Count(), 3);
  auto form = std::make_unique<solv::app::TPrevForm>(std::move(copies));
  form.reset();
  EXPECT_EQ(ListaStron().Count(), 0);
}

TEST_F(PrinterTest, DeviceReportsThePrinterMetricsAndPaperSize) {
  auto printer = PdfPrinter(File("miary.pdf"));
  solv::QtPrinterDevice device(*printer);
  const int res = printer->resolution();
  EXPECT_EQ(device.ResolutionX(), res);
  EXPECT_EQ(device.ResolutionY(), res);
  EXPECT_EQ(device.OffsetX(), 0);  // a PDF has no unprintable border
  EXPECT_EQ(device.OffsetY(), 0);
  const struct {
    solv::TPapersize paper;
    solv::TPrinterOrientation orientation;
    double widthMM, heightMM;
  } cases[] = {
      {solv::TPapersize::kvz_A4, solv::TPrinterOrientation::poPortrait, 210, 297},
      {solv::TPapersize::kvz_A4, solv::TPrinterOrientation::poLandscape, 297, 210},
      {solv::TPapersize::kvz_A5, solv::TPrinterOrientation::poPortrait, 148, 210},
  };
  for (const auto& c : cases) {
    device.SetPapersize(c.paper);
    device.SetOrientation(c.orientation);
    // Within a millimetre: the paper sizes are held in whole points.
    EXPECT_NEAR(device.PageWidth(), c.widthMM * res / 25.4, res / 25.4) << c.widthMM;
    EXPECT_NEAR(device.PageHeight(), c.heightMM * res / 25.4, res / 25.4) << c.heightMM;
  }
  EXPECT_THROW(device.GetCanvas(), solv::PrinterError);  // no job started
}

// Prepared pages are pictures of the A4 sheet at 96 dpi that replay the
// print drawing: a page of all three copies each, as the direct drawing.
TEST_F(PrinterTest, PreparedPagesRecordPicturesThatReplayThePrint) {
  auto copies = Pit37Copies();
  solv::KVZPrinter().SetRecorder(solv::QtPageRecorder());
  solv::TPages pages;
  const solv::PrepareMode modes[] = {solv::PrepareMode::First, solv::PrepareMode::Middle, solv::PrepareMode::Last};
  for (size_t i = 0; i < copies.size(); ++i) solv::PrepareReport(*copies[i]->Report(), pages, modes[i]);
  ASSERT_EQ(pages.Count(), 3);
  for (int i = 0; i < 3; ++i) {
    auto* page = dynamic_cast<solv::QtMetaFile*>(pages.Items(i));
    ASSERT_NE(page, nullptr) << i;
    EXPECT_TRUE(page->Closed());
    EXPECT_EQ(page->Width(), 793);
    EXPECT_EQ(page->Height(), 1122);
  }
  auto dark = [](const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (qGray(image.pixel(x, y)) < 128) ++n;
    return n;
  };
  QImage replayed(793, 1122, QImage::Format_RGB32);
  replayed.fill(Qt::white);
  {
    QPainter painter(&replayed);
    static_cast<solv::QtMetaFile*>(pages.Items(0))->Play(painter);
  }
  const QImage direct = solv::RenderPageToImage(*copies[0], 1.0);
  ASSERT_EQ(direct.size(), replayed.size());
  const int expected = dark(direct);
  ASSERT_GT(expected, 1000);
  EXPECT_NEAR(dark(replayed), expected, expected / 20);
}

}  // namespace
