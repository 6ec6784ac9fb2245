// Help topics and web pages.
#pragma once

#include <QString>
#include <functional>

class QUrl;

namespace solv::app {

// The page of a help topic: program folder + "html/<topic>.html", a '/' in
// the topic's name becoming '_' ("PIT/B" -> "html/PIT_B.html").
QString HelpTopicFile(const QString& topic);
// Opens the topic's page with the desktop's handler, or says that it is missing.
void ShowHelpTopic(const QString& topic);
// Opens a page of the program folder given by its relative path
// ("html/vandrel/vandrel.html"), or says that it is missing.
void ShowLocalPage(const QString& relativePath);
// Opens a web page with the desktop's handler, or says that none could be
// started.
void OpenWebPage(const char* url);

// How pages are opened: true when a program took the page. The desktop's
// handler unless another is set (nullptr: the desktop's again).
using PageOpener = std::function<bool(const QUrl&)>;
void SetPageOpener(PageOpener opener);

}  // namespace solv::app
