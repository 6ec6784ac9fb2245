#include "help.hpp"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

#include "services/message_service.hpp"
#include "start_windows.hpp"

namespace solv::app {
namespace {

PageOpener& Opener() {
  static PageOpener opener;
  return opener;
}

bool Open(const QUrl& url) { return Opener() ? Opener()(url) : QDesktopServices::openUrl(url); }

constexpr const char* kNoBrowser =
    "nie udało się uruchomić przeglądarki stron internetowych (ustaw w systemie program otwierający strony HTML).";

// A missing page and a page no program could show are told apart.
void OpenLocal(const QString& path) {
  if (!QFile::exists(path)) {
    InfoBox(("Brak strony pomocy: " + path).toStdString(), "Informacja");
    return;
  }
  if (!Open(QUrl::fromLocalFile(path)))
    InfoBox(("Nie można pokazać strony pomocy " + path + ": ").toStdString() + kNoBrowser, "Informacja");
}

}  // namespace

QString HelpTopicFile(const QString& topic) {
  QString file = topic;
  file.replace(u'/', u'_');
  return ProgramFile(QStringLiteral("html/") + file + QStringLiteral(".html"));
}

void ShowHelpTopic(const QString& topic) { OpenLocal(HelpTopicFile(topic)); }

void ShowLocalPage(const QString& relativePath) { OpenLocal(ProgramFile(relativePath)); }

void OpenWebPage(const char* url) {
  if (!Open(QUrl(QString::fromUtf8(url))))
    InfoBox(std::string("Nie można otworzyć strony ") + url + ": " + kNoBrowser, "Informacja");
}

void SetPageOpener(PageOpener opener) { Opener() = std::move(opener); }

}  // namespace solv::app
