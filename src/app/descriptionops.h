// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The reactions of the appraiser's and description pages: the location
// cascades with the municipality's zone and unit-rent tables, the province
// code, the building's age, the floor judgment, the category hint and the
// taxes trigger. Steps that belong to other pages are asked for through the
// *Requested signals, emitted at their place in each sequence. What needs no
// list is engine/descriptionwork.h.
#include "engine/descriptionwork.h"

#include <QString>

#include <memory>

class QComboBox;

namespace brevan::app {

class MainWindow;
struct WindowFields;

class DescriptionOps : public engine::DescriptionWork {
    Q_OBJECT
public:
    explicit DescriptionOps(MainWindow *window, QObject *parent = nullptr);
    ~DescriptionOps() override;

public Q_SLOTS:
    // Municipality of the description page changed: the cascade with the
    // working zone and unit-rent tables.
    void ComboBox6Change();
    // Municipality of the appraiser's page changed: its three fields only.
    void ComboBox13Change();
    // A province field changed (either page's): that page's code follows.
    void ComboBox1Change(QComboBox *province);
    // Category field changed: its hint, then the taxes trigger.
    void ComboBox4Change();
    // Appraisal date changed: the age, then the unit rent and the gross income.
    void DateTimePicker1Change();
    // An appraisal was read into the pages: the municipality list stands on
    // the row of the stored name and province code (none when no municipality
    // in force has both), and one that ceased or was renamed since is noted
    // in the status bar. The stored texts stay as they are.
    void municipalityRestored();

private:
    DescriptionOps(MainWindow *window, QObject *parent, std::unique_ptr<WindowFields> fields);
    // Runs fn on every change the user makes to combo's text: a list choice or
    // typing (program writes through setComboText run nothing).
    template <typename Fn>
    void onUserChange(QComboBox *combo, Fn fn);

    MainWindow *m_window;
    std::unique_ptr<WindowFields> m_windowFields;
    // The cascade's last failure, shown once: the same failure again (one per
    // key typed) is not shown until the cascade has succeeded in between.
    QString m_cascadeFailure;
};

} // namespace brevan::app
