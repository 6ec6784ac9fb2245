// Help topics and web pages.
#pragma once

#include <QString>

namespace solv::app {

// The page of a help topic: program folder + "html/<topic>.html", a '/' in
// the topic's name becoming '_' ("PIT/B" -> "html/PIT_B.html").
QString HelpTopicFile(const QString& topic);
// Opens the topic's page with the desktop's handler, or says that it is missing.
void ShowHelpTopic(const QString& topic);
// Opens a page of the program folder given by its relative path
// ("html/vandrel/vandrel.html"), or says that it is missing.
void ShowLocalPage(const QString& relativePath);
void OpenWebPage(const char* url);

}  // namespace solv::app
