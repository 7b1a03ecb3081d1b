// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The three surfaces from the working surfaces table and the accessory-spaces
// judgment they feed, on named fields. The values (record fields 41 to 43)
// are held as plain number text in the hidden fields SupUtileImmob,
// SupConvenzImmob and SupCommercImmob, and shown as surface text in Edit25,
// Edit26 and Edit27. What only the window has (the grid's open editor, the
// page's buttons) is in virtual functions the window's operations take over.
#include "valuation/surfaces.h"

#include <QObject>
#include <QString>
#include <QVector>

namespace brevan::engine {

class Fields;
class Notices;

class SurfacesWork : public QObject {
    Q_OBJECT
public:
    SurfacesWork(Fields &fields, Notices &notices, QObject *parent = nullptr);

    QString usefulValue() const;
    QString conventionalValue() const;
    QString commercialValue() const;
    // Writes a value and its shown field (empty value: both empty). Opening
    // an appraisal restores the values through these.
    void setUsefulValue(const QString &value);
    void setConventionalValue(const QString &value);
    void setCommercialValue(const QString &value);

    // Every row of the working surfaces table, first to last.
    virtual QVector<SurfaceRow> rows() const;

public Q_SLOTS:
    void CalcolaSuperficieUtile();
    void CalcolaSuperficieConvenzionale();
    void CalcolaSuperficieCommerciale();
    void ValutaDimensioneSpaziCopertiScoperti();
    // "Calcola superfici": the three in order.
    void SpeedButtonCalcolaSuperficiClick();
    // The three computed when the table has a complete row.
    void AttivaSpeedButtonCalcolaSuperfici();

Q_SIGNALS:
    // At the end of the commercial surface, after the accessory spaces.
    void CalcolaRedditoLordoAnnuoRequested();

protected:
    // A cell being edited is written to the table before it is read.
    virtual void commitGridEdit() {}
    // The page's buttons follow the rows: computing needs a complete one,
    // saving and clearing a used one.
    virtual void rowsCounted(const SurfaceRowCounts &counts) { Q_UNUSED(counts); }

    // Reads a surface value; a text that is no number ends in the error box.
    bool readValue(const QString &text, double &value);

    Fields &m_fields;
    Notices &m_notices;

private:
    void setValue(int which, const QString &value);
};

// The rows of a surfaces table file; none when it lacks a description or an
// area column. Throws when the file cannot be read.
QVector<SurfaceRow> readSurfaceRows(const QString &path);

} // namespace brevan::engine
