// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The description page's reactions on named fields: the building's age, the
// floor judgment, the taxes trigger of the cadastral class and category, and
// the note on a municipality that ceased or was renamed. Steps that belong to
// other pages are asked for through the *Requested signals, emitted at their
// place in each sequence; the location lists and their cascades belong to
// whoever shows the lists.
#include <QObject>

namespace brevan::engine {

class Fields;
class Notices;

class DescriptionWork : public QObject {
    Q_OBJECT
public:
    // Watches the cadastral class from now on.
    DescriptionWork(Fields &fields, Notices &notices, QObject *parent = nullptr);

public Q_SLOTS:
    // Construction year or appraisal date changed. False when the year is no
    // integer (after the error box): what follows it must not run.
    bool ImpostaEtaEdificio();
    void GiudicaQuotaDalPianoStradale();
    // Class field changed: the taxes trigger.
    void Edit19Change();
    // The taxes emptied and proposed afresh, only while RicalcoloAttivo.
    void recalculateTaxes();
    // A municipality that ceased or was renamed since is noted.
    void noteFormerMunicipality();

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

protected:
    Fields &m_fields;
    Notices &m_notices;
};

} // namespace brevan::engine
