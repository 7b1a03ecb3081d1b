// SPDX-License-Identifier: GPL-2.0-or-later
#include "omiimporter.h"

#include "descriptionpage.h"
#include "messages.h"
#include "navigatorbar.h"
#include "pagekit.h"
#include "tablemodel.h"

#include "data/municipalities.h"
#include "store/datafolder.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>

#include <algorithm>

namespace brevan::ui {

namespace {

// Damaged rows listed in the warning before "e altre …".
constexpr int kProblemsShown = 8;

// The list's row for the municipality in an editor's header: its name and,
// for names two provinces share, its province code.
int municipalityRow(const OmiImporter::Place &place)
{
    const MunicipalityList &list = municipalities();
    int byName = -1;
    for (int i = 0; i < list.size(); ++i) {
        if (list.names.at(i) != place.municipality)
            continue;
        if (list.provinceCodes.at(i) == place.provinceCode)
            return i;
        if (byName < 0)
            byName = i;
    }
    // A municipality no longer in force is not taken for its namesake of
    // another province ("Calliano" of Asti, now Calliano Monferrato).
    if (byName >= 0 && formerMunicipality(place.municipality, place.provinceCode))
        return -1;
    return byName;
}

// The folder of the last OMI file chosen, in either editor, while the
// program runs.
QString &lastFolderUsed()
{
    static QString folder;
    return folder;
}

// The sale ranges of the municipality with their zones' descriptions: the
// ZONE file beside a VALORI file is read for them when the import did not
// read it (the rents), unless its rows of the municipality are damaged.
omi::SalePlan salesWithZoneNames(const omi::Quotations &quotations, const QString &path, const QString &code)
{
    const QString other = omi::companionFileName(path);
    const bool zonesRead = std::any_of(quotations.files().begin(), quotations.files().end(),
                                       [](const omi::QuotationFile &f) { return f.kind == omi::FileKind::Zones; });
    if (zonesRead || other.isEmpty() || !QFileInfo(other).isFile())
        return quotations.salesOf(code);
    omi::Quotations withZones = quotations;
    try {
        omi::QuotationFile zones = omi::readQuotationFile(other);
        if (zones.kind != omi::FileKind::Zones)
            return quotations.salesOf(code);
        withZones.add(std::move(zones));
    } catch (const omi::FileError &) {
        return quotations.salesOf(code);
    }
    return withZones.isDamaged(code) ? quotations.salesOf(code) : withZones.salesOf(code);
}

const Layout &layoutOf(OmiTarget target)
{
    return target == OmiTarget::Zones ? zonesLayout() : unitRentsLayout();
}

} // namespace

OmiImporter::OmiImporter(QDialog *editor, OmiTarget target, TableModel *model, NavigatorBar *navigator,
                         DescriptionPage *description, std::function<Place()> place)
    : QObject(editor),
      m_editor(editor),
      m_target(target),
      m_model(model),
      m_navigator(navigator),
      m_description(description),
      m_place(std::move(place))
{
    m_button = new QPushButton(kCaption, editor);
    m_button->setObjectName(QStringLiteral("BitBtnImportaOMI"));
    // Enter finishes a cell in the grid; it must not open a file dialog.
    m_button->setAutoDefault(false);
    setHint(m_button, target == OmiTarget::Zones
                          ? QStringLiteral("Importa zone OMI|Importa le zone del Comune selezionato dalle quotazioni "
                                           "OMI dell'Agenzia delle Entrate.")
                          : QStringLiteral("Importa canoni OMI|Importa i canoni di locazione del Comune selezionato "
                                           "dalle quotazioni OMI dell'Agenzia delle Entrate."));
    connect(m_button, &QPushButton::clicked, this, &OmiImporter::chooseFile);
    connect(editor, &QDialog::finished, this, &OmiImporter::editorFinished);
}

QString OmiImporter::lastFolder()
{
    const QString &folder = lastFolderUsed();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

QString OmiImporter::workingTable() const
{
    return dataPath(m_target == OmiTarget::Zones ? kZonaUrbana : kCanoniLocazUnitari);
}

void OmiImporter::chooseFile()
{
    FileDialogRequest request;
    request.title = QStringLiteral("Importa quotazioni OMI");
    request.filter = kFilter;
    request.directory = lastFolder();
    const QString path = Messages::fileName(m_editor, request);
    if (path.isEmpty())
        return;
    lastFolderUsed() = QFileInfo(path).absolutePath();
    importFile(path);
}

bool OmiImporter::importFile(const QString &path)
{
    const Place place = m_place();
    if (place.municipality.trimmed().isEmpty()) {
        Messages::warning(m_editor, QStringLiteral("Scegliere il Comune prima di importare le quotazioni OMI."));
        return false;
    }
    const int row = municipalityRow(place);
    if (row < 0) {
        Messages::warning(m_editor, QStringLiteral("Il Comune \"%1\" non è nell'elenco dei comuni: le quotazioni OMI "
                                                   "si cercano per codice catastale, che solo l'elenco conosce.")
                                        .arg(place.municipality));
        return false;
    }
    const MunicipalityList &list = municipalities();
    const QString code = list.cadastralCodes.at(row);
    const QString shownName = QDir::toNativeSeparators(path);

    omi::Quotations quotations;
    try {
        omi::QuotationFile file = omi::readQuotationFile(path);
        // The file published beside it helps: the ZONE file names the zones,
        // the VALORI file gives the rents.
        const bool wantsOther = (m_target == OmiTarget::Zones) == (file.kind == omi::FileKind::Values);
        quotations.add(std::move(file));
        const QString other = wantsOther ? omi::companionFileName(path) : QString();
        if (!other.isEmpty() && QFileInfo(other).isFile()) {
            try {
                quotations.add(omi::readQuotationFile(other));
            } catch (const omi::FileError &) {
                // Only the file the user chose must be usable.
            }
        }
    } catch (const omi::FileError &e) {
        Messages::warning(m_editor, e.message());
        return false;
    }

    if (!quotations.contains(code)) {
        Messages::warning(m_editor, QStringLiteral("Il file \"%1\" non contiene quotazioni OMI per il Comune di %2 "
                                                   "(codice catastale %3).")
                                        .arg(shownName, list.names.at(row), code));
        return false;
    }
    if (quotations.isDamaged(code)) {
        const QVector<omi::Problem> problems = quotations.problemsOf(code);
        QStringList lines;
        for (int i = 0; i < problems.size() && i < kProblemsShown; ++i)
            lines << problems.at(i).text();
        const qsizetype more = problems.size() - kProblemsShown;
        if (more == 1)
            lines << QStringLiteral("e un'altra riga.");
        else if (more > 1)
            lines << QStringLiteral("e altre %1 righe.").arg(more);
        Messages::warning(m_editor, QStringLiteral("Le quotazioni OMI del Comune di %1 hanno righe danneggiate e non "
                                                   "sono state importate:\n%2")
                                        .arg(list.names.at(row), lines.join(u'\n')));
        return false;
    }
    if (m_target == OmiTarget::UnitRents && quotations.typesOf(code).isEmpty()) {
        Messages::warning(m_editor, QStringLiteral("Il file \"%1\" contiene le zone OMI, non i valori: per i canoni "
                                                   "scegliere il file dei valori (..._VALORI.csv).")
                                        .arg(shownName));
        return false;
    }

    const Layout &layout = layoutOf(m_target);
    // What the grid holds, a cell still being typed included.
    if (m_model->isOpen())
        m_navigator->post();
    omi::TextRows existing;
    try {
        existing = omi::readTextRows(workingTable(), layout);
    } catch (const std::exception &e) {
        Messages::error(m_editor, QString::fromUtf8(e.what()));
        return false;
    }

    OmiImportDialog::Setup setup;
    setup.target = m_target;
    setup.quotations = &quotations;
    setup.code = code;
    setup.municipality = list.names.at(row);
    setup.provinceCode = list.provinceCodes.at(row);
    setup.fileName = path;
    if (m_description) {
        setup.defaultType = omi::typeForCategory(m_description->categoryCombo->currentText());
        setup.valuationYear = m_description->dateEdit->date().year();
    }
    setup.existing = existing;
    OmiImportDialog dialog(setup, m_editor);
    if (!dialog.ask())
        return false;
    keepSales(place, omi::salesTableName(list.names.at(row), list.postalCodes.at(row), list.provinceCodes.at(row)),
              salesWithZoneNames(quotations, path, code));

    if (!m_saved) {
        m_saved = true;
        m_before = existing;
        m_beforePlace = place;
    }
    QString failure;
    m_model->close();
    try {
        Table::write(workingTable(), layout, omi::toValues(dialog.result()));
    } catch (const std::exception &e) {
        failure = QString::fromUtf8(e.what());
    }
    m_model->reload();
    if (!failure.isEmpty()) {
        Messages::error(m_editor, failure);
        return false;
    }
    return true;
}

void OmiImporter::keepSales(const Place &place, const QString &tableName, const omi::SalePlan &plan)
{
    m_hasSales = !plan.rows.isEmpty();
    m_salesPlace = place;
    m_salesTable = tableName;
    m_sales = plan.rows;
}

void OmiImporter::editorFinished(int result)
{
    // The sale ranges go with the editor's OK, into the sale table of the
    // municipality they were imported for, while the editor still shows it.
    const Place now = m_place();
    if (m_hasSales && result == QDialog::Accepted && now.municipality == m_salesPlace.municipality
        && now.provinceCode == m_salesPlace.provinceCode) {
        try {
            const QString path = dataPath(m_salesTable);
            Q_EMIT aboutToWriteTable(path);
            const omi::SaleMerge merged = omi::mergeSales(omi::readSalesRows(path), m_sales);
            Table::write(path, omi::salesLayout(), merged.rows);
        } catch (const std::exception &e) {
            Messages::error(m_editor, QString::fromUtf8(e.what()));
        }
    }
    m_hasSales = false;
    m_sales.clear();

    const bool restore = m_saved && result == QDialog::Rejected;
    m_saved = false;
    if (!restore)
        return;
    // After a change of municipality in the editor the working table holds
    // that municipality's rows, which Annulla keeps.
    if (now.municipality != m_beforePlace.municipality || now.provinceCode != m_beforePlace.provinceCode)
        return;
    const bool wasOpen = m_model->isOpen();
    m_model->close();
    try {
        Table::write(workingTable(), layoutOf(m_target), omi::toValues(m_before));
    } catch (const std::exception &e) {
        Messages::error(m_editor, QString::fromUtf8(e.what()));
    }
    if (wasOpen)
        m_model->reload();
    m_before.clear();
}

} // namespace brevan::ui
