#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zavo::ui {

void installQtTranslations() {
    // Lives as long as the application; found by the locale's UI languages
    // in order ("ja_JP" finds qtbase_ja.qm), none at all for English.
    static QTranslator qtbase;
    if (qtbase.load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtbase);
}

} // namespace zavo::ui
