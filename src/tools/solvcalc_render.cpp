// solvcalc render and pdf: pages filled from a set, drawn as the print draws
// them.
#include "solvcalc_render.hpp"

#include <QGuiApplication>
#include <QImage>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "pdf_export.hpp"
#include "qt_canvas.hpp"
#include "report/print_page.hpp"
#include "report/print_selection.hpp"
#include "store/store.hpp"

namespace solv {
namespace {

void StartGuiApplication() {
  if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Drawing to a file needs no desktop session; its warnings are noise here.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
    if (type != QtDebugMsg && type != QtInfoMsg && !msg.startsWith("QStandardPaths:"))
      std::cerr << "solvcalc: " << msg.toStdString() << "\n";
  });
  static int argc = 1;
  static char name[] = "solvcalc";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
}

}  // namespace

int RenderPage(const PageDefinition& definition, const std::string& section, const std::string& out, double scale) {
  StartGuiApplication();
  auto page = BuildPage(definition, section);
  PageModelCells cells(*page);
  LoadPageCells(cells);
  const std::unique_ptr<TKVZPage> copy = MakePrintCopy(*page);
  const QImage image = RenderPageToImage(*copy, scale);
  if (!image.save(QString::fromStdString(out), "PNG")) {
    std::cerr << "solvcalc: nie można zapisać " << out << "\n";
    return 2;
  }
  return 0;
}

int WritePdfOfSet(const std::vector<std::string>& rows, const std::string& out) {
  const std::vector<PrintPageRef> refs = PagesToPrint(rows);  // unknown names throw before anything is drawn
  StartGuiApplication();
  std::vector<std::unique_ptr<TKVZPage>> copies;
  for (const PrintPageRef& ref : refs) {
    const PageDefinition* definition = FindPage(ref.pageClass);
    if (!definition) throw std::runtime_error("nie ma strony " + ref.pageClass);
    auto page = BuildPage(*definition, ref.section);
    PageModelCells cells(*page);
    LoadPageCells(cells);
    copies.push_back(MakePrintCopy(*page));  // a failed copy stops the whole print
  }
  std::vector<const TKVZPage*> pages;
  for (const auto& c : copies) pages.push_back(c.get());
  if (!WritePdf(pages, QString::fromStdString(out))) {
    std::cerr << "solvcalc: nie można zapisać " << out << "\n";
    return 2;
  }
  return 0;
}

std::vector<std::string> LabelFitProblemsOfPage(const PageDefinition& definition) {
  StartGuiApplication();
  return LabelFitProblemsDrawn(definition);
}

}  // namespace solv
