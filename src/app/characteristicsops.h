// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The characteristics of the unit: town size and average rate, urban zone
// with its lookup and editor, the position and typological judgments, the
// plants judged from the fittings. Operations of other subsystems that these
// reactions start are requested through the signals below.
#include <QObject>

class QComboBox;

namespace brevan::ui {
class ZonesEditor;
}

namespace brevan::app {

class MainWindow;

class CharacteristicsOps : public QObject {
    Q_OBJECT
public:
    explicit CharacteristicsOps(MainWindow *window, QObject *parent = nullptr);

    // Created once with the operations, shown by the "..." beside the zone.
    ui::ZonesEditor *zonesEditor();

public Q_SLOTS:
    // Localisation page.
    void SetDimensioniCentroUrbano();
    void ComboBox34Change();
    // Zone text and list, average rate, the three environment judgments and
    // the three centrality options emptied; no reaction runs.
    void clearZoneFields();
    // The zone list from the working zone table: every non-empty ZonaUrbana,
    // in table order.
    void rebuildZoneList();
    // The "..." beside the urban zone: the editor, modally.
    void ZoneUrbaneButtonClick();

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
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectLocalisation();
    void connectPosition();
    void connectTypology();
    // Runs fn on a user change of the pick list: a choice from the list, or
    // text typed or erased. Program writes (setComboText) run nothing.
    template <typename Fn>
    void onUserChange(QComboBox *combo, Fn fn);
    void StatoConservazEsternoChange();

    MainWindow *m_window;
    ui::ZonesEditor *m_zonesEditor = nullptr;
};

} // namespace brevan::app
