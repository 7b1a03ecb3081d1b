// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The characteristics of the unit: town size and average rate, urban zone
// with its lookup and editor, the position and typological judgments, the
// plants judged from the fittings. Operations of other subsystems that these
// reactions start are requested through the signals below. The reactions to
// the options and ticks are engine/characteristicswork.h; this class adds the
// pick lists' reactions to the user, the zone lookup and list, and the editor.
#include "engine/characteristicswork.h"

#include <memory>

class QComboBox;

namespace brevan::ui {
class ZonesEditor;
}

namespace brevan::app {

class MainWindow;
struct WindowFields;

class CharacteristicsOps : public engine::CharacteristicsWork {
    Q_OBJECT
public:
    explicit CharacteristicsOps(MainWindow *window, QObject *parent = nullptr);
    ~CharacteristicsOps() override;

    // Created once with the operations, shown by the "..." beside the zone.
    ui::ZonesEditor *zonesEditor();

public Q_SLOTS:
    // Localisation page.
    void ComboBox34Change();
    // Zone text and list, average rate, the three environment judgments and
    // the three centrality options emptied; no reaction runs.
    void clearZoneFields();
    // The zone list from the working zone table: every non-empty ZonaUrbana,
    // in table order.
    void rebuildZoneList();
    // The "..." beside the urban zone: the editor, modally.
    void ZoneUrbaneButtonClick();

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
    CharacteristicsOps(MainWindow *window, QObject *parent, std::unique_ptr<WindowFields> fields);

    MainWindow *m_window;
    std::unique_ptr<WindowFields> m_windowFields;
    ui::ZonesEditor *m_zonesEditor = nullptr;
};

} // namespace brevan::app
