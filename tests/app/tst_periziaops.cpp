// SPDX-License-Identifier: GPL-2.0-or-later
// The report for a purpose in the running program: its two ways in, the
// report saved, reopened and emptied with the appraisal (an appraisal without
// one writing nothing new, a damaged companion named), and brevan-export
// writing it headless and carrying it in its JSON.
#include "../support/savedprogram.h"
#include "../support/exportrun.h"
#include "../support/fixtures.h"
#include "app/application.h"
#include "app/exportcommand.h"
#include "app/fileops.h"
#include "app/periziaops.h"
#include "files/appraisalfiles.h"
#include "pages/periziawindow.h"
#include "pages/picturepage.h"
#include "pages/resultspage.h"

#include <QAction>
#include <QApplication>
#include <QInputMethodEvent>
#include <QComboBox>
#include <QDir>
#include <QJsonArray>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace brevan;
using brevan::ui::Messages;

namespace {

struct Program : SavedProgram {
    app::PeriziaOps *ops() const { return w()->periziaOps; }
    ui::PeriziaWindow *window() const
    {
        w()->periziaAction->trigger();
        return ops()->window();
    }
    // The user writes in one of the window's text fields.
    void type(const char *field, const QString &text) const
    {
        auto *edit = window()->findChild<QLineEdit *>(QString::fromLatin1(field));
        QVERIFY(edit);
        edit->setFocus();
        edit->selectAll();
        // As an input method commits it: accented letters too.
        QInputMethodEvent typed;
        typed.setCommitString(text);
        QApplication::sendEvent(edit, &typed);
    }
};

} // namespace

class TestPeriziaOps : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }

    void twoWaysIn()
    {
        Program p;
        app::MainWindow *w = p.w();
        QToolButton *button = w->resultsPage->periziaButton;
        QCOMPARE(button->text(), QStringLiteral("Rapporto di valutazione…"));
        // After the OMI comparison's button, moving nothing.
        QVERIFY(button->x() > w->resultsPage->omiButton->x() + w->resultsPage->omiButton->width() - 1);
        button->click();
        ui::PeriziaWindow *pw = p.ops()->window();
        QVERIFY(pw && pw->isVisible() && !pw->isModal());
        QCOMPARE(pw->parentWidget(), w);
        QCOMPARE(pw->windowTitle(), QStringLiteral("Rapporto di valutazione"));
        pw->hide();
        QMenu *view = w->menuBar()->actions().at(2)->menu();
        const QList<QAction *> items = view->actions();
        QVERIFY(items.indexOf(w->periziaAction) > 12);
        QVERIFY(items.indexOf(w->periziaAction) < items.indexOf(w->mcaAction));
        w->periziaAction->trigger();
        QCOMPARE(p.ops()->window(), pw);
        QVERIFY(pw->isVisible());
    }

    void savedOpenedAndEmptied()
    {
        Program p;
        p.window()->purposeCombo->setCurrentIndex(int(perizia::Purpose::Court));
        p.type("court", QStringLiteral("Tribunale di Forlì"));
        p.type("boundaries", QStringLiteral("via Roma; \"altra\" proprietà <b>"));
        p.save(QStringLiteral("Stima - Via Po 3.db"));
        const QString companion = p.inFolder(QStringLiteral("Perizia - Via Po 3.db"));
        QVERIFY(QFileInfo::exists(companion));

        p.newAppraisal();
        QCOMPARE(p.ops()->report().court, QString());
        QCOMPARE(p.window()->purposeCombo->currentIndex(), int(perizia::Purpose::Market));
        QVERIFY(!p.ops()->hasData());

        p.open(QStringLiteral("Stima - Via Po 3.db"));
        QCOMPARE(p.warnings(), QStringList());
        QCOMPARE(p.ops()->report().purpose, perizia::Purpose::Court);
        QCOMPARE(p.ops()->report().court, QStringLiteral("Tribunale di Forlì"));
        QCOMPARE(p.window()->findChild<QLineEdit *>(QStringLiteral("boundaries"))->text(),
                 QStringLiteral("via Roma; \"altra\" proprietà <b>"));
    }

    void appraisalWithoutReportWritesNone()
    {
        Program p;
        p.save(QStringLiteral("Stima - Senza.db"));
        QVERIFY(!QFileInfo::exists(p.inFolder(QStringLiteral("Perizia - Senza.db"))));
        QVERIFY(QFileInfo::exists(p.inFolder(QStringLiteral("Stima - Senza.db"))));
    }

    void damagedCompanion()
    {
        Program p;
        p.type("client", QStringLiteral("Famiglia Rossi"));
        p.save(QStringLiteral("Stima - Via Po 3.db"));
        fixtures::damage(p.inFolder(QStringLiteral("Perizia - Via Po 3.db")));
        p.newAppraisal();
        p.type("client", QStringLiteral("Altro"));
        p.open(QStringLiteral("Stima - Via Po 3.db"));
        QCOMPARE(p.warnings(), QStringList{app::FileOps::unreadablePeriziaText(QStringLiteral("Perizia - Via Po 3.db"))});
        QCOMPARE(p.ops()->report().client, QString());
    }

    // brevan-export: the report in the JSON with what it lacks, as PDF and
    // as ODT, and --privacy alone refused. The appraisals are saved first,
    // and the program closed, as a user runs the command afterwards.
    void headless()
    {
        QTemporaryDir dir;
        const QString appraisal = dir.filePath(QStringLiteral("Stima - Export.db"));
        const QString without = dir.filePath(QStringLiteral("Stima - Senza.db"));
        {
            Program p;
            p.window()->purposeCombo->setCurrentIndex(int(perizia::Purpose::Court));
            p.type("court", QStringLiteral("Tribunale di Forlì"));
            p.type("judge", QStringLiteral("Dott. Giudici"));
            p.files << appraisal;
            p.w()->saveAction->trigger();
            p.newAppraisal();
            p.files << without;
            p.w()->saveAction->trigger();
        }
        QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("Perizia - Export.db"))));

        const Run json = runExport({appraisal, QStringLiteral("--json")});
        QCOMPARE(json.status, 0);
        const QJsonObject doc = QJsonDocument::fromJson(json.out.toUtf8()).object();
        const QJsonObject perizia = doc.value(QStringLiteral("perizia")).toObject();
        QCOMPARE(perizia.value(QStringLiteral("Scopo")).toString(), QStringLiteral("tribunale"));
        QCOMPARE(perizia.value(QStringLiteral("Tribunale")).toString(), QStringLiteral("Tribunale di Forlì"));
        QVERIFY(!perizia.value(QStringLiteral("conformita")).toObject().value(QStringLiteral("mancano")).toArray().isEmpty());

        const QString pdf = dir.filePath(QStringLiteral("perizia.pdf"));
        const QString odt = dir.filePath(QStringLiteral("perizia.odt"));
        const Run written = runExport({appraisal, QStringLiteral("--perizia"), pdf, QStringLiteral("--odt"), odt});
        QCOMPARE(written.status, 0);
        QCOMPARE(written.err, QString());
        QVERIFY(QFileInfo(pdf).size() > 0);
        QVERIFY(QFileInfo(odt).size() > 0);
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(20000));
        const QString words = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY(words.contains(QStringLiteral("Elementi non indicati")));
        QVERIFY(words.contains(QStringLiteral("Tribunale di Forlì")));

        const Run refused = runExport({appraisal, QStringLiteral("--privacy")});
        QCOMPARE(refused.status, 2);
        QVERIFY(refused.err.contains(QStringLiteral("--privacy vale solo con --perizia o --odt")));

        // An appraisal without a report: null in the JSON.
        const Run none = runExport({without, QStringLiteral("--json")});
        QCOMPARE(none.status, 0);
        QVERIFY(QJsonDocument::fromJson(none.out.toUtf8()).object().value(QStringLiteral("perizia")).isNull());
    }

    // The text outputs look only at whether a page has a picture: a photo
    // saved whole counts as given, one cut short as missing, exactly as when
    // the PDF is written too and every pixel is read.
    void textOutputsSeeThePicturesAsThePdfDoes()
    {
        QTemporaryDir dir;
        const QString appraisal = dir.filePath(QStringLiteral("Stima - Foto.db"));
        {
            Program p;
            p.window()->purposeCombo->setCurrentIndex(int(perizia::Purpose::Bank));
            p.type("client", QStringLiteral("Banca Popolare"));
            QImage photo(37, 21, QImage::Format_RGB32);
            photo.fill(QColor(90, 140, 200));
            p.w()->photoPage->setPicture(photo);
            p.files << appraisal;
            p.w()->saveAction->trigger();
            QVERIFY(p.warnings().isEmpty());
        }
        const QString photoFile = dir.filePath(QStringLiteral("Foto - Foto.bmp"));
        QVERIFY(QFileInfo::exists(photoFile));
        const auto missing = [](const Run &r) {
            return QJsonDocument::fromJson(r.out.toUtf8())
                .object()
                .value(QStringLiteral("perizia"))
                .toObject()
                .value(QStringLiteral("conformita"))
                .toObject()
                .value(QStringLiteral("mancano"))
                .toArray();
        };
        const auto listsPhotographs = [](const QJsonArray &items) {
            for (const QJsonValue &v : items) {
                if (v.toObject().value(QStringLiteral("elemento")).toString() == QStringLiteral("Fotografie"))
                    return true;
            }
            return false;
        };
        for (const bool cut : {false, true}) {
            if (cut) {
                QFile f(photoFile);
                QVERIFY(f.open(QIODevice::ReadWrite));
                QVERIFY(f.resize(f.size() - 40));
            }
            const Run text = runExport({appraisal, QStringLiteral("--json")});
            const Run printed =
                runExport({appraisal, QStringLiteral("--json"), QStringLiteral("--pdf"), dir.filePath(QStringLiteral("r.pdf"))});
            QCOMPARE(text.out, printed.out);
            QCOMPARE(text.err, printed.err);
            QCOMPARE(listsPhotographs(missing(text)), cut);
            QCOMPARE(text.err.contains(QStringLiteral("Foto - Foto.bmp")), cut);
        }
    }
};

QTEST_MAIN(TestPeriziaOps)
#include "tst_periziaops.moc"
