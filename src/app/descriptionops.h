// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The reactions of the appraiser's and description pages: the location
// cascades with the municipality's zone and unit-rent tables, the province
// code, the building's age, the floor judgment, the category hint and the
// taxes trigger. Steps that belong to other pages are asked for through the
// *Requested signals, emitted at their place in each sequence.
#include <QObject>
#include <QString>

class QComboBox;

namespace brevan::app {

class MainWindow;

class DescriptionOps : public QObject {
    Q_OBJECT
public:
    explicit DescriptionOps(MainWindow *window, QObject *parent = nullptr);

public Q_SLOTS:
    // Municipality of the description page changed: the cascade with the
    // working zone and unit-rent tables.
    void ComboBox6Change();
    // Municipality of the appraiser's page changed: its three fields only.
    void ComboBox13Change();
    // A province field changed (either page's): that page's code follows.
    void ComboBox1Change(QComboBox *province);
    // Construction year or appraisal date changed. False when the year is no
    // integer (after the error box): what follows it must not run.
    bool ImpostaEtaEdificio();
    void GiudicaQuotaDalPianoStradale();
    // Category field changed: its hint, then the taxes trigger.
    void ComboBox4Change();
    // Class field changed: the taxes trigger.
    void Edit19Change();
    // Appraisal date changed: the age, then the unit rent and the gross income.
    void DateTimePicker1Change();
    // An appraisal was read into the pages: the municipality list stands on
    // the row of the stored name and province code (none when no municipality
    // in force has both), and one that ceased or was renamed since is noted
    // in the status bar. The stored texts stay as they are.
    void municipalityRestored();

Q_SIGNALS:
    // Cascade step 1 (empty municipality), after the zone fields are cleared:
    // reference rents Edit39-41 to "0" and CanoneLocazUnit emptied.
    void unitRentResetRequested();
    // Cascade step 1 (before unitRentResetRequested) and step 6: the zone
    // field and its list, the average rate, the three environment judgments
    // emptied and the three centrality options cleared.
    void zoneFieldsClearRequested();
    // Cascade step 7: the urban zone list refilled from the working zone table.
    void zoneListRebuildRequested();
    // Taxes trigger, after AliquoteTasse was emptied (only under RicalcoloAttivo).
    void CalcolaSpeseImposteRequested();
    // Date change, after the age.
    void SetCanoneMensileDiLocazioneUnitarioRequested();
    // Date change, after SetCanoneMensileDiLocazioneUnitarioRequested.
    void CalcolaRedditoLordoAnnuoRequested();
    // Building type or building age changed by the user.
    void CalcolaCIValoreMercatoRequested();

private:
    void recalculateTaxes();
    // Runs fn on every change the user makes to combo's text: a list choice or
    // typing (program writes through setComboText run nothing).
    template <typename Fn>
    void onUserChange(QComboBox *combo, Fn fn);

    MainWindow *m_window;
    // The cascade's last failure, shown once: the same failure again (one per
    // key typed) is not shown until the cascade has succeeded in between.
    QString m_cascadeFailure;
};

} // namespace brevan::app
