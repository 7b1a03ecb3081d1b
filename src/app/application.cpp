// SPDX-License-Identifier: GPL-2.0-or-later
#include "application.h"

#include <QApplication>
#include <QImageReader>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace brevan::app {

namespace {

// Texts of Qt's standard dialogs that its Italian translation leaves in
// English; the translation is asked first and this only fills its gaps.
struct QtText {
    const char *context;
    const char *source;
    const char *italian;
};
const QtText kMissingQtTexts[] = {
    {"QAbstractFileIconProvider", "Folder", "Cartella"},
    {"QAbstractFileIconProvider", "Drive", "Unità"},
    {"QPrintSettingsOutput", "Double Sided Printing", "Stampa fronte/retro"},
    {"QPrintSettingsOutput", "Off", "No"},
    {"QPrintSettingsOutput", "Long side binding", "Rilegatura sul lato lungo"},
    {"QPrintSettingsOutput", "Short side binding", "Rilegatura sul lato corto"},
    {"QPrintSettingsOutput", "Pages", "Pagine"},
    {"QPrintSettingsOutput",
     "Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a hyphen. "
     "E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
     "Indicare le pagine o gli intervalli separati da virgole. Un intervallo è dato da due numeri separati da un "
     "trattino. Ad esempio: 3,5-7,9 stampa le pagine 3, 5, 6, 7 e 9."},
};

class MissingQtTexts : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        if (!context || !source)
            return {};
        for (const QtText &t : kMissingQtTexts) {
            if (qstrcmp(t.context, context) == 0 && qstrcmp(t.source, source) == 0)
                return QString::fromUtf8(t.italian);
        }
        return {};
    }
};

} // namespace

void setUpApplication(QApplication &app)
{
    // Once per application, whether the program or a test harness asks.
    if (app.property("brevanSetUp").toBool())
        return;
    app.setProperty("brevanSetUp", true);
    QApplication::setApplicationName(QStringLiteral("Brevan"));
    QApplication::setOrganizationName(QStringLiteral("Brevan"));
    // Dates and month names are Italian whatever the machine says; number
    // text never goes through the locale.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    // A hostile picture cannot make the program allocate without bound (MB).
    QImageReader::setAllocationLimit(256);

    // Qt's own dialogs and buttons speak Italian: Qt's translation, and after
    // it (asked first) the few texts it lacks.
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
    QApplication::installTranslator(new MissingQtTexts(&app));
}

} // namespace brevan::app
