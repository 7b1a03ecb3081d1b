// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// An appraisal read whole for opening, before anything of it is shown: the
// record's values in opening order, the pictures, the working tables' new
// rows written beside them, and the market comparison. What cannot be used
// fails here, while the pages still hold the appraisal they showed.
#include "files/appraisalfiles.h"
#include "valuation/cadastralsheet.h"
#include "files/omitable.h"
#include "valuation/mcasheet.h"
#include "valuation/purposereport.h"

#include <QDate>
#include <QImage>
#include <QMap>
#include <QString>
#include <QVector>

#include <functional>

namespace brevan::app {

// A working table's new content, written beside it and put in place by a
// rename; removed when it is not put in place.
class StagedTable {
public:
    StagedTable() = default;
    // Throws StoreError when it cannot be written.
    StagedTable(const QString &target, const Layout &layout, const QVector<QVariantList> &rows);
    StagedTable(StagedTable &&other) noexcept;
    StagedTable &operator=(StagedTable &&other) noexcept;
    StagedTable(const StagedTable &) = delete;
    StagedTable &operator=(const StagedTable &) = delete;
    ~StagedTable();

    // Renames it over the working table. Throws StoreError.
    void putInPlace();

private:
    void drop();

    QString m_target;
    QString m_staged;
};

struct OpenedAppraisal {
    struct Value {
        int number; // the field's
        QString text;
        bool tick = false;
        QDate date; // the appraisal date's, checked
    };
    bool euro = false;
    QVector<Value> values; // in opening order
    // The pictures read; a page without one is emptied.
    QMap<files::Companion, QImage> pictures;
    // The pictures that could not be read, by stored name.
    QVector<QPair<files::Companion, QString>> unreadablePictures;
    StagedTable surfaces;
    StagedTable comparables;
    mca::Sheet mca = mca::Sheet::blank();
    QString unreadableMca; // the companion's name
    // The appraiser's choices of the cadastral surface (none: the proposals).
    CadastralChoices cadastral;
    QString unreadableCadastral; // the companion's name
    files::StoredOmi omi;  // nothing chosen when the appraisal has no OMI comparison
    QString unreadableOmi; // the companion's name
    perizia::Report perizia;   // an empty report when the appraisal has none
    QString unreadablePerizia; // the companion's name
};

// Reads the appraisal table at tablePath and its companions in its folder.
// isDate tells the field shown in the date picker. Throws StoreError (or
// TableTooLarge) for a record or a table companion that cannot be used; a
// picture, a comparison or a cadastral surface that cannot be read is only
// listed.
// With pixels false, a picture that is surely readable is only looked at and
// stands in as one pixel (pictures::loadPresence).
OpenedAppraisal readOpenedAppraisal(const QString &tablePath, const std::function<bool(const FieldDef &)> &isDate,
                                    bool pixels = true);

} // namespace brevan::app
