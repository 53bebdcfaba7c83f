#include "common/locale/qt_translations.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QLibraryInfo>
#include <QtCore/QLocale>

namespace tavo {

void QtTranslations::use(bool japanese) {
    if (installed_) {
        QCoreApplication::removeTranslator(&translator_);
        installed_ = false;
    }
    if (!japanese) {
        return;
    }
    if (translator_.isEmpty() &&
        !translator_.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return; // no catalogue: Qt's texts stay English
    }
    installed_ = QCoreApplication::installTranslator(&translator_);
}

} // namespace tavo
