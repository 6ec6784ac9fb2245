// Help topics and web pages.
#pragma once

#include <QString>

namespace solv::app {

// Opens program folder + "html/<topic>.html" with the desktop's handler, or
// says that the page is missing.
void ShowHelpTopic(const QString& topic);
void OpenWebPage(const char* url);

}  // namespace solv::app
