#include "help.hpp"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

#include "services/message_service.hpp"
#include "start_windows.hpp"

namespace solv::app {
namespace {

void OpenLocal(const QString& path) {
  if (!QFile::exists(path) || !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
    InfoBox(("Brak strony pomocy: " + path).toStdString(), "Informacja");
}

}  // namespace

QString HelpTopicFile(const QString& topic) {
  QString file = topic;
  file.replace(u'/', u'_');
  return ProgramFile(QStringLiteral("html/") + file + QStringLiteral(".html"));
}

void ShowHelpTopic(const QString& topic) { OpenLocal(HelpTopicFile(topic)); }

void ShowLocalPage(const QString& relativePath) { OpenLocal(ProgramFile(relativePath)); }

void OpenWebPage(const char* url) { QDesktopServices::openUrl(QUrl(QString::fromUtf8(url))); }

}  // namespace solv::app
