#include "application.h"

#include <QApplication>
#include <QImageReader>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace brevan::app {

void setUpApplication(QApplication &app)
{
    QApplication::setApplicationName(QStringLiteral("Brevan"));
    QApplication::setOrganizationName(QStringLiteral("Brevan"));
    // Dates and month names are Italian whatever the machine says; number
    // text never goes through the locale.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    // A hostile picture cannot make the program allocate without bound (MB).
    QImageReader::setAllocationLimit(256);

    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace brevan::app
