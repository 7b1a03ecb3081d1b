// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The characteristics of the unit on named fields: town size and average
// rate, the centrality's rent lookup, the amenities, the typological
// judgments and their hints, the plants judged from the fittings. Operations
// of other subsystems that these reactions start are requested through the
// signals below.
#include <QObject>

namespace brevan::engine {

class Fields;

class CharacteristicsWork : public QObject {
    Q_OBJECT
public:
    // Watches the options and ticks from now on; the pick lists' reactions
    // are the user's only, and belong to whoever shows the lists.
    explicit CharacteristicsWork(Fields &fields, QObject *parent = nullptr);

public Q_SLOTS:
    // Localisation page.
    void SetDimensioniCentroUrbano();

    // Typological page.
    void SetHintStatoConservazInterno();
    void SetHintStatoConservazEsterno();
    void SetHintGradoRifinituraInterno();
    void SetHintGradoRifinituraEsterno();
    void GiudicaPresenzaImpiantiTecnologici();
    void GiudicaLivelloTecnologicoImpianti();
    void SetHintPresenzaImpiantiTecnologici();
    void SetHintLivelloTecnologicoImpianti();
    // The plants refresh: both plants judgments, their hints, then the
    // expenses refresh while RicalcoloAttivo.
    void ComboBox28Change();
    // "Spese per servizi e amministrazione:" emptied and recomputed, only
    // while RicalcoloAttivo.
    void AggiornaSpeseAmministrazione();
    // The exterior state of repair chosen: its hint, the maintenance proposed
    // afresh while RicalcoloAttivo, its coefficient.
    void StatoConservazEsternoChange();

Q_SIGNALS:
    void SetCanoneMensileDiLocazioneUnitarioRequested();
    void CalcolaCIValoreMercatoRequested();
    void CalcolaCIStatoConservazInternoRequested();
    void CalcolaCIStatoConservazEsternoRequested();
    void CalcolaCIGradoRifinituraInternoRequested();
    void CalcolaCIGradoRifinituraEsternoRequested();
    void CalcolaCILivelloTecnologicoImpiantiRequested();
    void CalcolaCDEsposizioneRequested();
    void CalcolaSpeseAmministrazioneRequested();
    void CalcolaSpeseManutenzioneRequested();

protected:
    Fields &m_fields;

private:
    void applyGradeHint(const char *name, int which);
};

} // namespace brevan::engine
