// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The parameters of the market comparison window, each a field under its
// label, and the marginal prices to leave to the estimation system, each a
// tick. A field with a problem is shown in red with its message.
#include "valuation/mcasheet.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QLineEdit;

namespace brevan::ui {

class McaParametersPanel : public QWidget {
    Q_OBJECT
public:
    explicit McaParametersPanel(QWidget *parent = nullptr);

    std::array<QLineEdit *, mca::kParamCount> fields{};     // by Param
    std::array<QCheckBox *, mca::kFeatureCount> unknown{};  // by Feature

    void readInto(mca::Sheet &sheet) const;
    // Shows a sheet's parameters and ticks; runs no change signal.
    void showSheet(const mca::Sheet &sheet);
    void markIssues(const QVector<mca::Issue> &issues);

Q_SIGNALS:
    void edited();

private:
    bool m_filling = false;
};

} // namespace brevan::ui
