// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// One appraisal as it is saved: the record and its companions, written as one
// set (whole or not at all) by "Salva stima" and by the recovery copy.
#include "appraisalfiles.h"

#include <QByteArray>
#include <QImage>
#include <QMap>

namespace brevan::files {

// What the pages hold, without widgets: the record's values (the companions'
// names are filled in by the save), the pictures of the picture pages that
// have one, the rows of the working tables.
struct AppraisalContent {
    RecordValues record;
    QMap<Companion, QImage> pictures;
    QMap<Companion, TableRows> tables;
};

// Writes the appraisal table at tablePath and, in its folder, each companion
// that has something to hold, named after the stem (companionStemIn's when
// none is given), so that no other appraisal's record of the folder names
// them; the record names the companions written and leaves the others'
// fields empty. The folder then holds the whole new set, or (after a failure
// or a crash) the whole earlier one. Returns the companions' names by record
// field. Throws StoreError.
QHash<QString, QString> saveAppraisalSet(const QString &tablePath, const AppraisalContent &content,
                                         const QString &stem = {});

// A digest of everything a save would write: equal digests, equal saves.
// Pictures count by identity (QImage::cacheKey), so the digest costs no pass
// over their pixels; it is meant to be compared within one run.
QByteArray fingerprint(const AppraisalContent &content);

} // namespace brevan::files
