// Solv2010: the start screen, the set dialog and the main window.
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLocale>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <exception>
#include <filesystem>

#include "main_window.hpp"
#include "qt_messages.hpp"
#include "services/message_service.hpp"
#include "start_windows.hpp"
#include "store/forms.hpp"
#include "store/ini.hpp"
#include "store/store.hpp"
#include "translations.hpp"

namespace {

// Errors escaping an event handler are shown in a box; the program goes on.
class Application final : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const solv::SetChangedError& e) {
      ShowAndReload(e.what());
    } catch (const solv::StoreError& e) {
      ShowAndReload(e.what());
    } catch (const std::exception& e) {
      solv::app::ShowErrorBox(e.what());
    } catch (...) {
      solv::app::ShowErrorBox("Nieznany błąd programu.");
    }
    return false;
  }

 private:
  // A write that failed wrote nothing: the pages show the set as it is now.
  static void ShowAndReload(const char* what) {
    solv::app::ShowErrorBox(what);
    try {
      solv::ReloadOpenPages();
    } catch (const std::exception&) {
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  Application app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Solvenor Vandrel 2010"));
  QApplication::setApplicationDisplayName(QStringLiteral("Solvenor Vandrel 2010"));
  QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
  if (!solv::app::InstallPolishQtTexts(&app))
    std::fprintf(stderr, "Brak polskich tłumaczeń Qt (pakiet qt6-translations-l10n): okna standardowe będą po angielsku.\n");
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPointSize(10);
  QApplication::setFont(font);
  QApplication::setWindowIcon(solv::app::ProgramIcon());

  const solv::ProgramPlace place =
      solv::LocateProgram(QCoreApplication::applicationDirPath().toStdString(),
                          QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString(),
                          &solv::FolderWritable);
  solv::Store().programFolder = place.programFolder;
  solv::Store().dataRoot = place.dataRoot;
  solv::Store().installed = place.installed;
  std::error_code ec;
  std::filesystem::create_directories(solv::DataFolder(), ec);
  if (ec)
    solv::app::ShowErrorBox("Nie można utworzyć folderu na zestawy danych " + solv::DataFolder().string() + ": " +
                            ec.message());
  solv::app::InstallQtMessageProvider();

  {
    solv::app::TSplashScreen splash;
    if (splash.exec() != QDialog::Accepted) return 0;
  }
  solv::app::TFormOkno_glowne window;
  solv::app::SetMessageOwner(&window);
  if (QScreen* screen = QGuiApplication::primaryScreen()) window.setGeometry(screen->availableGeometry());
  window.showMaximized();
  bool go = true;
  QTimer::singleShot(0, &window, [&] {
    if (!window.StartUp()) {
      go = false;
      QApplication::exit(0);
    }
  });
  return go ? QApplication::exec() : 0;
}
