#include "help.hpp"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

#include "services/message_service.hpp"
#include "start_windows.hpp"

namespace solv::app {

void ShowHelpTopic(const QString& topic) {
  QString file = topic;
  file.replace(u'/', u'_');
  const QString path = ProgramFile(QStringLiteral("html/") + file + QStringLiteral(".html"));
  if (!QFile::exists(path) || !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
    InfoBox(("Brak strony pomocy: " + path).toStdString(), "Informacja");
}

void OpenWebPage(const char* url) { QDesktopServices::openUrl(QUrl(QString::fromUtf8(url))); }

}  // namespace solv::app
