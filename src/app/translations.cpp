#include "translations.hpp"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace solv::app {

QTranslator* InstallPolishQtTexts(QObject* owner) {
  auto* texts = new QTranslator(owner);
  if (!texts->load(QLocale(QLocale::Polish, QLocale::Poland), QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !QCoreApplication::installTranslator(texts)) {
    delete texts;
    return nullptr;
  }
  return texts;
}

}  // namespace solv::app
