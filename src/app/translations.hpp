// Qt's own texts in Polish: the standard dialogs (print, page set-up, files)
// and the window system menus speak the program's language.
#pragma once

class QObject;
class QTranslator;

namespace solv::app {

// Loads Qt's Polish translation (qtbase_pl from Qt's translations folder,
// the Debian package qt6-translations-l10n) and installs it for the
// application; owned by owner. nullptr when it cannot be loaded.
QTranslator* InstallPolishQtTexts(QObject* owner);

}  // namespace solv::app
