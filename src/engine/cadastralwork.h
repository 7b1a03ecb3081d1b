// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The cadastral surface beside the surfaces: the appraiser's choices, which
// follow the rows of the surfaces table; the villa rule from the cadastral
// category; and the choices opened and cleared with the appraisal. Its
// window belongs to whoever shows one.
#include "valuation/cadastralsheet.h"
#include "valuation/surfaces.h"

#include <QObject>

#include <functional>
#include <optional>

namespace brevan::engine {

class Fields;

class CadastralWork : public QObject {
    Q_OBJECT
public:
    explicit CadastralWork(Fields &fields, QObject *parent = nullptr);

    // The rows of the surfaces table; none while unset.
    std::function<QVector<SurfaceRow>()> surfaceRows;

    const CadastralChoices &choices() const { return m_choices; }
    // The rows of the surfaces table as the cadastral surface counts them now.
    CadastralSheet sheet() const;
    // The cadastral surface in m², when it can be computed and is not 0.
    std::optional<double> surface() const;
    // Opening: the choices read with the appraisal (none when it has none,
    // or they could not be read) replace these.
    void showOpened(const CadastralChoices &choices);
    // A new appraisal goes back to the proposals.
    void clearForNewAppraisal();

public Q_SLOTS:
    // The choices follow the surfaces table (a choice goes once its row's
    // description changes); a window shows them again.
    void refresh();
    void setChoice(int surfacesRow, const CadastralChoice &choice);

protected:
    QString category() const;
    virtual void showSheet() {}

    CadastralChoices m_choices;

private:
    QVector<SurfaceRow> rows() const;

    Fields &m_fields;
};

} // namespace brevan::engine
