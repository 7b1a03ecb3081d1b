// SPDX-License-Identifier: GPL-2.0-or-later
// The appraisal document without any window: what a step holds, typing
// merged into one step (and gone when typed back), the clean state, and a
// step that its views refuse to show being dropped.
#include "files/appraisaldocument.h"

#include <QSignalSpy>
#include <QTest>

using namespace brevan;
using namespace brevan::files;

namespace {

AppraisalParts start()
{
    AppraisalParts p;
    p.fields.insert(QStringLiteral("ComuneImmob"), QStringLiteral("Pavia"));
    p.fields.insert(QStringLiteral("CanoneLocazUnit"), QString());
    p.fields.insert(QStringLiteral("Ascensore"), false);
    p.euro = true;
    p.pictures.insert(Companion::Photo, QImage());
    p.tables.insert(Companion::Surfaces, TableRows{{QStringLiteral("Soggiorno"), 24.5}});
    p.mca = mca::Sheet::blank();
    p.cadastral = CadastralChoices{};
    p.omi = StoredOmi{};
    p.perizia = perizia::Report{};
    return p;
}

AppraisalParts with(AppraisalParts p, const QString &field, const QVariant &value)
{
    p.fields.insert(field, value);
    return p;
}

} // namespace

class TestAppraisalDocument : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aDifferenceHoldsOnlyWhatChanged()
    {
        const AppraisalParts a = start();
        AppraisalParts b = with(a, QStringLiteral("Ascensore"), true);
        QImage photo(4, 4, QImage::Format_RGB32);
        photo.fill(Qt::red);
        b.pictures.insert(Companion::Photo, photo);
        b.omi->choice.zone = QStringLiteral("B1");
        const PartsChange change = difference(a, b);
        QCOMPARE(change.after.fields.keys(), QStringList{QStringLiteral("Ascensore")});
        QCOMPARE(change.before.fields.value(QStringLiteral("Ascensore")), QVariant(false));
        QCOMPARE(change.after.pictures.keys(), QList<Companion>{Companion::Photo});
        QVERIFY(change.before.pictures.value(Companion::Photo).isNull());
        QVERIFY(change.after.omi.has_value());
        QVERIFY(!change.after.euro && !change.after.mca && !change.after.perizia && change.after.tables.isEmpty());
        QCOMPARE(change.after.description(), QStringLiteral("dati della stima, immagine, confronto OMI"));
        // The same picture again is no change: pictures count by identity.
        AppraisalParts c = b;
        QVERIFY(difference(b, c).isEmpty());
    }

    void typingIsOneStepAndTypingBackIsNone()
    {
        AppraisalDocument doc;
        doc.reset(start());
        const QString rent = QStringLiteral("CanoneLocazUnit");
        AppraisalParts now = start();
        for (const char *typed : {"4", "45", "450"}) {
            now = with(now, rent, QString::fromLatin1(typed));
            QVERIFY(doc.record(now, QStringLiteral("typing:1")));
        }
        QCOMPARE(doc.undoStack()->count(), 1);
        // Another field is a step of its own.
        now = with(now, QStringLiteral("ComuneImmob"), QStringLiteral("Pisa"));
        QVERIFY(doc.record(now));
        QCOMPARE(doc.undoStack()->count(), 2);
        // Nothing changed: no step.
        QVERIFY(!doc.record(now));
        // Typed back to what it was before the typing started: the step goes.
        for (const char *typed : {"45", "4", ""}) {
            now = with(now, rent, QString::fromLatin1(typed));
            doc.record(now, QStringLiteral("typing:2"));
        }
        QCOMPARE(doc.undoStack()->count(), 3);
        for (const char *typed : {"4", "45", "450"}) {
            now = with(now, rent, QString::fromLatin1(typed));
            doc.record(now, QStringLiteral("typing:2"));
        }
        QCOMPARE(doc.undoStack()->count(), 2);
    }

    void undoAndRedoHandTheViewsTheParts()
    {
        AppraisalDocument doc;
        doc.reset(start());
        QSignalSpy shown(&doc, &AppraisalDocument::partsChanged);
        QSignalSpy fields(&doc, &AppraisalDocument::fieldChanged);
        AppraisalParts b = with(start(), QStringLiteral("ComuneImmob"), QStringLiteral("Pisa"));
        b.tables.insert(Companion::Surfaces, TableRows{});
        QVERIFY(doc.record(b));
        QCOMPARE(shown.count(), 0); // the views show it already
        doc.undoStack()->undo();
        QCOMPARE(shown.count(), 1);
        const auto parts = shown.takeFirst().at(0).value<AppraisalParts>();
        QCOMPARE(parts.fields.value(QStringLiteral("ComuneImmob")), QVariant(QStringLiteral("Pavia")));
        QCOMPARE(parts.tables.value(Companion::Surfaces), start().tables.value(Companion::Surfaces));
        QCOMPARE(fields.takeFirst().at(0).toString(), QStringLiteral("ComuneImmob"));
        QCOMPARE(doc.state().fields.value(QStringLiteral("ComuneImmob")), QVariant(QStringLiteral("Pavia")));
        doc.undoStack()->redo();
        QCOMPARE(doc.state().fields.value(QStringLiteral("ComuneImmob")), QVariant(QStringLiteral("Pisa")));
    }

    // A computed value alone is no step; with an edit it travels in the
    // edit's step, both ways.
    void computedValuesFollowTheirStep()
    {
        AppraisalDocument doc;
        AppraisalParts a = start();
        a.computed.insert(QStringLiteral("SupUtileImmob"), QStringLiteral("38.5"));
        doc.reset(a);
        AppraisalParts b = a;
        b.computed.insert(QStringLiteral("SupUtileImmob"), QStringLiteral("40"));
        QVERIFY(!doc.record(b));
        QCOMPARE(doc.undoStack()->count(), 0);
        QCOMPARE(doc.state().computed.value(QStringLiteral("SupUtileImmob")), QVariant(QStringLiteral("40")));
        AppraisalParts c = b;
        c.tables.insert(Companion::Surfaces, TableRows{});
        c.computed.insert(QStringLiteral("SupUtileImmob"), QString());
        QVERIFY(doc.record(c));
        QSignalSpy shown(&doc, &AppraisalDocument::partsChanged);
        doc.undoStack()->undo();
        const auto parts = shown.takeFirst().at(0).value<AppraisalParts>();
        QCOMPARE(parts.computed.value(QStringLiteral("SupUtileImmob")), QVariant(QStringLiteral("40")));
        QCOMPARE(parts.tables.value(Companion::Surfaces), a.tables.value(Companion::Surfaces));
    }

    void savedIsCleanAndResetEmptiesTheStack()
    {
        AppraisalDocument doc;
        doc.reset(start());
        QVERIFY(doc.undoStack()->isClean());
        const AppraisalParts b = with(start(), QStringLiteral("Ascensore"), true);
        doc.record(b);
        QVERIFY(!doc.undoStack()->isClean());
        doc.markSaved(b);
        QVERIFY(doc.undoStack()->isClean());
        doc.undoStack()->undo();
        QVERIFY(!doc.undoStack()->isClean());
        doc.undoStack()->redo();
        QVERIFY(doc.undoStack()->isClean());
        doc.reset(start());
        QCOMPARE(doc.undoStack()->count(), 0);
        QVERIFY(!doc.undoStack()->canUndo());
    }

    void aStepTheViewsRefuseIsDropped()
    {
        AppraisalDocument doc;
        doc.reset(start());
        doc.record(with(start(), QStringLiteral("Ascensore"), true));
        doc.record(with(with(start(), QStringLiteral("Ascensore"), true), QStringLiteral("ComuneImmob"), QString()));
        QCOMPARE(doc.undoStack()->count(), 2);
        doc.showCheck = [](const PartsChange &, bool) { return QStringLiteral("il file non c'è più."); };
        QSignalSpy dropped(&doc, &AppraisalDocument::stepDropped);
        QSignalSpy shown(&doc, &AppraisalDocument::partsChanged);
        doc.undoStack()->undo();
        QCOMPARE(dropped.count(), 1);
        QCOMPARE(dropped.at(0).at(0).toString(), QStringLiteral("il file non c'è più."));
        QCOMPARE(shown.count(), 0);
        QCOMPARE(doc.undoStack()->count(), 1);
        // The state is what the views still show.
        QCOMPARE(doc.state().fields.value(QStringLiteral("ComuneImmob")), QVariant(QString()));
        doc.showCheck = {};
        doc.undoStack()->undo();
        QCOMPARE(doc.state().fields.value(QStringLiteral("Ascensore")), QVariant(false));
    }

    // Only the latest steps that change a picture keep it; an older one is
    // dropped, with its reason, when undo reaches it.
    void onlyTheLatestPictureStepsKeepTheirPictures()
    {
        AppraisalDocument doc;
        doc.reset(start());
        AppraisalParts now = start();
        QList<qint64> keys;
        for (int i = 0; i <= AppraisalDocument::kPictureSteps; ++i) {
            QImage photo(8, 8, QImage::Format_RGB32);
            photo.fill(QColor(i * 20, 0, 0));
            keys << photo.cacheKey();
            now.pictures.insert(Companion::Photo, photo);
            QVERIFY(doc.record(now));
        }
        QSignalSpy dropped(&doc, &AppraisalDocument::stepDropped);
        QSignalSpy shown(&doc, &AppraisalDocument::partsChanged);
        for (int i = AppraisalDocument::kPictureSteps; i > 0; --i) {
            doc.undoStack()->undo();
            QCOMPARE(shown.takeLast().at(0).value<AppraisalParts>().pictures.value(Companion::Photo).cacheKey(),
                     keys.at(i - 1));
        }
        QVERIFY(dropped.isEmpty());
        doc.undoStack()->undo();
        QCOMPARE(dropped.count(), 1);
        QCOMPARE(dropped.at(0).at(0).toString(), AppraisalDocument::releasedPictureText());
        QVERIFY(shown.isEmpty());
        QVERIFY(!doc.undoStack()->canUndo());
    }
};

QTEST_GUILESS_MAIN(TestAppraisalDocument)
#include "tst_appraisaldocument.moc"
