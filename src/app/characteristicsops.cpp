// SPDX-License-Identifier: GPL-2.0-or-later
#include "characteristicsops.h"

#include "mainwindow.h"
#include "undoops.h"
#include "widgetfields.h"
#include "model/currency.h"
#include "model/numbertext.h"
#include "pages/incomepage.h"
#include "pages/localisationpage.h"
#include "pages/messages.h"
#include "pages/positionpage.h"
#include "pages/typologypage.h"
#include "pages/zoneseditor.h"
#include "store/datafolder.h"
#include "valuation/judgments.h"

#include <QCheckBox>
#include <algorithm>
#include <QFocusEvent>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>

namespace brevan::app {

namespace {

// The option of the localisation page named by a zone record's centrality.
struct CentralityOption {
    const char *caption;
    QRadioButton *ui::LocalisationPage::*option;
};
const CentralityOption kCentralityOptions[] = {
    {"Zona centrale", &ui::LocalisationPage::centralZoneRadio},
    {"Zona intermedia", &ui::LocalisationPage::intermediateZoneRadio},
    {"Zona periferica", &ui::LocalisationPage::outlyingZoneRadio},
};

// What a zone record brings to the localisation page besides its centrality.
struct ZoneValue {
    const char *field;
    QComboBox *ui::LocalisationPage::*judgment; // nullptr: the average rate
};
const ZoneValue kZoneValues[] = {
    {"SaggioMedioCapitalizzaz", nullptr},
    {"QualificazAmbienteExt", &ui::LocalisationPage::surroundingsCombo},
    {"IdoneitaInsediativa", &ui::LocalisationPage::settlementCombo},
    {"PrevisMiglioramAmbientali", &ui::LocalisationPage::improvementsCombo},
};

QString errorText(const std::exception &e)
{
    return QString::fromUtf8(e.what());
}

} // namespace

CharacteristicsOps::CharacteristicsOps(MainWindow *window, QObject *parent)
    : CharacteristicsOps(window, parent, std::make_unique<WindowFields>(window))
{
}

CharacteristicsOps::CharacteristicsOps(MainWindow *window, QObject *parent, std::unique_ptr<WindowFields> fields)
    : CharacteristicsWork(fields->fields, parent), m_window(window), m_windowFields(std::move(fields))
{
    connectLocalisation();
    connectPosition();
    connectTypology();
}

CharacteristicsOps::~CharacteristicsOps() = default;

ui::ZonesEditor *CharacteristicsOps::zonesEditor()
{
    // Built at its first use and kept, so it stays as the user left it.
    if (!m_zonesEditor) {
        m_zonesEditor = new ui::ZonesEditor(m_window->descriptionPage, m_window);
        // The editor's OK leaves the localisation page offering the zones just
        // written, with nothing of the previous zone selected.
        // What OK writes over the municipality's table can be undone.
        if (m_window->undoOps)
            connect(m_zonesEditor, &ui::ZonesEditor::aboutToWriteTable, m_window->undoOps,
                    &UndoOps::dataTableAboutToChange);
        connect(m_zonesEditor, &ui::ZonesEditor::zonesConfirmed, this, [this] {
            clearZoneFields();
            rebuildZoneList();
        });
    }
    return m_zonesEditor;
}

template <typename Fn>
void CharacteristicsOps::onUserChange(QComboBox *combo, Fn fn)
{
    connect(combo, &QComboBox::textActivated, this, fn);
    if (combo->lineEdit())
        connect(combo->lineEdit(), &QLineEdit::textEdited, this, fn);
}

void CharacteristicsOps::connectLocalisation()
{
    ui::LocalisationPage *page = m_window->localisationPage;
    onUserChange(page->urbanZoneCombo, [this] { ComboBox34Change(); });
    connect(page->zonesEditorButton, &QToolButton::clicked, this, &CharacteristicsOps::ZoneUrbaneButtonClick);
    for (QComboBox *c : {page->mainStreetDistanceCombo, page->publicTransportCombo, page->surroundingsCombo,
                         page->settlementCombo, page->improvementsCombo})
        onUserChange(c, [this] { Q_EMIT CalcolaCIValoreMercatoRequested(); });
}

void CharacteristicsOps::connectPosition()
{
    ui::PositionPage *page = m_window->positionPage;
    for (QComboBox *c : {page->pollutionCombo, page->greeneryCombo, page->parkingCombo, page->streetLevelCombo,
                         page->accessorySpacesCombo})
        onUserChange(c, [this] { Q_EMIT CalcolaCIValoreMercatoRequested(); });
}

void CharacteristicsOps::connectTypology()
{
    ui::TypologyPage *page = m_window->typologyPage;
    for (QComboBox *c : {page->brightnessCombo, page->viewCombo, page->outlookCombo})
        onUserChange(c, [this] { Q_EMIT CalcolaCIValoreMercatoRequested(); });
    onUserChange(page->exposureCombo, [this] { Q_EMIT CalcolaCDEsposizioneRequested(); });

    onUserChange(page->repairInsideCombo, [this] {
        SetHintStatoConservazInterno();
        Q_EMIT CalcolaCIStatoConservazInternoRequested();
    });
    onUserChange(page->repairOutsideCombo, [this] { StatoConservazEsternoChange(); });
    onUserChange(page->finishInsideCombo, [this] {
        SetHintGradoRifinituraInterno();
        Q_EMIT CalcolaCIGradoRifinituraInternoRequested();
    });
    onUserChange(page->finishOutsideCombo, [this] {
        SetHintGradoRifinituraEsterno();
        Q_EMIT CalcolaCIGradoRifinituraEsternoRequested();
    });
    onUserChange(page->plantsPresenceCombo, [this] { SetHintPresenzaImpiantiTecnologici(); });
    onUserChange(page->plantsLevelCombo, [this] {
        SetHintLivelloTecnologicoImpianti();
        Q_EMIT CalcolaCILivelloTecnologicoImpiantiRequested();
    });

    // Entering any of the six judgments judges the plants again.
    for (QComboBox *c : {page->repairInsideCombo, page->repairOutsideCombo, page->finishInsideCombo,
                         page->finishOutsideCombo, page->plantsPresenceCombo, page->plantsLevelCombo})
        c->installEventFilter(this);
    onUserChange(page->liftKindCombo, [this] { ComboBox28Change(); });
    onUserChange(page->heatingKindCombo, [this] { ComboBox28Change(); });
}

bool CharacteristicsOps::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        // Focus that comes back from the field's own drop-down or from another
        // window has not entered the field anew.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            ComboBox28Change();
    }
    return QObject::eventFilter(watched, event);
}

// ---- Localisation ----------------------------------------------------------

void CharacteristicsOps::clearZoneFields()
{
    ui::LocalisationPage *page = m_window->localisationPage;
    {
        const QSignalBlocker block(page->urbanZoneCombo);
        const QSignalBlocker blockEdit(page->urbanZoneCombo->lineEdit());
        page->urbanZoneCombo->clear();
    }
    ui::setComboText(page->urbanZoneCombo, QString());
    page->averageRateEdit->clear();
    for (QComboBox *c : {page->surroundingsCombo, page->settlementCombo, page->improvementsCombo})
        ui::setComboText(c, QString());
    page->clearCentrality();
}

void CharacteristicsOps::rebuildZoneList()
{
    ui::LocalisationPage *page = m_window->localisationPage;
    QStringList zones;
    try {
        const Table table = Table::open(dataPath(kZonaUrbana));
        const int column = table.columnIndex(QStringLiteral("ZonaUrbana"));
        if (column < 0)
            throw StoreError(QStringLiteral("Campo \"ZonaUrbana\" non trovato nella tabella \"%1\".")
                                 .arg(table.path()));
        for (const QVariantList &row : table.rows()) {
            const QString zone = row.value(column).toString();
            if (!zone.isEmpty())
                zones << zone;
        }
    } catch (const std::exception &e) {
        ui::Messages::error(m_window, errorText(e));
        return;
    }
    QComboBox *combo = page->urbanZoneCombo;
    const QString text = combo->currentText();
    {
        const QSignalBlocker block(combo);
        const QSignalBlocker blockEdit(combo->lineEdit());
        combo->clear();
        combo->addItems(zones);
    }
    // Filling an empty list makes its first entry current: the field keeps
    // the text it had.
    ui::setComboText(combo, text);
}

void CharacteristicsOps::ComboBox34Change()
{
    ui::LocalisationPage *page = m_window->localisationPage;
    const QString zone = page->urbanZoneCombo->currentText();
    try {
        const Table table = Table::open(dataPath(kZonaUrbana));
        const int nameColumn = table.columnIndex(QStringLiteral("ZonaUrbana"));
        const int centralityColumn = table.columnIndex(QStringLiteral("CentralitaZona"));
        int valueColumns[std::size(kZoneValues)];
        for (size_t i = 0; i < std::size(kZoneValues); ++i)
            valueColumns[i] = table.columnIndex(QString::fromLatin1(kZoneValues[i].field));
        if (nameColumn < 0 || centralityColumn < 0
            || std::find(std::begin(valueColumns), std::end(valueColumns), -1) != std::end(valueColumns))
            throw StoreError(QStringLiteral("La tabella \"%1\" non ha la struttura attesa.").arg(table.path()));

        // Every matching record is applied in turn: the last one's values stand.
        for (const QVariantList &row : table.rows()) {
            if (row.value(nameColumn).toString() != zone)
                continue;
            for (size_t i = 0; i < std::size(kZoneValues); ++i) {
                const QString value = row.value(valueColumns[i]).toString();
                if (kZoneValues[i].judgment)
                    ui::setComboText(page->*(kZoneValues[i].judgment), value);
                else
                    // A rate typed elsewhere as "3.5" means 3,5, not 35.
                    page->averageRateEdit->setText(withDecimalComma(value));
            }
            const QString centrality = row.value(centralityColumn).toString();
            for (const CentralityOption &o : kCentralityOptions) {
                QRadioButton *option = page->*(o.option);
                // Selecting an option already selected runs nothing; a new one
                // runs its click operation (the rent lookup).
                if (centrality == QString::fromUtf8(o.caption) && !option->isChecked())
                    option->setChecked(true);
            }
        }
    } catch (const std::exception &e) {
        ui::Messages::error(m_window, errorText(e));
    }
}

void CharacteristicsOps::ZoneUrbaneButtonClick()
{
    zonesEditor()->exec();
}

} // namespace brevan::app
