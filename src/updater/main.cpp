// renovo: brings the installed files of the program up to the versions the
// update server lists. "01" as the last argument only checks for a newer version.
#include <QApplication>
#include <QStringList>

#include "wizard_form.hpp"

#ifndef SOLV_UPDATE_HOST
#define SOLV_UPDATE_HOST "aktualizacje.solvenor.pl"
#endif
#ifndef SOLV_UPDATE_PUBLIC_KEY
#define SOLV_UPDATE_PUBLIC_KEY ""
#endif
#ifndef SOLV_UPDATE_ALLOW_HTTP
#define SOLV_UPDATE_ALLOW_HTTP false
#endif

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Aktualizacja"));

  solv::WizardOptions options;
  options.programDir = QApplication::applicationDirPath();
  options.endpointHost = QStringLiteral(SOLV_UPDATE_HOST);
  // Only lists signed by the holder of this key are believed.
  options.trust.publicKeyHex = SOLV_UPDATE_PUBLIC_KEY;
  options.trust.allowPlainHttp = SOLV_UPDATE_ALLOW_HTTP;
  // --host=... names another update server (a test server, a mirror).
  const QString hostOption = QStringLiteral("--host=");
  for (const QString& argument : app.arguments().mid(1)) {
    if (argument.startsWith(hostOption)) options.endpointHost = argument.mid(hostOption.size());
    else options.arguments << argument;
  }

  solv::TWizardForm wizard(options);
  wizard.show();
  return app.exec();
}
