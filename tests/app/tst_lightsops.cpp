// SPDX-License-Identifier: GPL-2.0-or-later
#include "../support/appfixture.h"
#include "app/application.h"
#include "app/lightsops.h"
#include "model/record.h"
#include "pages/comparablespage.h"
#include "pages/picturepage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"

#include <QItemSelectionModel>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>

using namespace brevan;
using brevan::app::LightsOps;
using brevan::app::MainWindow;
using Img = brevan::art::NodeImage;

Q_DECLARE_METATYPE(brevan::art::NodeImage)

namespace {

QWidget *field(MainWindow *w, const QString &name)
{
    QWidget *c = w->pages->findChild<QWidget *>(name);
    if (!c)
        qFatal("no field %s", qPrintable(name));
    return c;
}

// Enters a value as the user does: types into a text field or an editable
// list; on a list that takes no typing, picks its first item; a leading "+"
// ticks a check box or selects an option.
void enter(MainWindow *w, const QString &item)
{
    if (item.startsWith(QLatin1Char('+'))) {
        auto *b = qobject_cast<QAbstractButton *>(field(w, item.mid(1)));
        QVERIFY(b);
        b->click();
        QVERIFY(b->isChecked());
        return;
    }
    const int eq = int(item.indexOf(QLatin1Char('=')));
    const QString name = eq < 0 ? item : item.left(eq);
    const QString text = eq < 0 ? QStringLiteral("x") : item.mid(eq + 1);
    QWidget *c = field(w, name);
    if (auto *e = qobject_cast<QLineEdit *>(c)) {
        if (e->isReadOnly()) {
            e->setText(text); // a computed result
        } else {
            e->setFocus();
            QTest::keyClicks(e, text);
        }
    } else if (auto *combo = qobject_cast<QComboBox *>(c)) {
        // The zones come with a municipality; here the list brings one.
        if (combo->count() == 0)
            combo->addItem(text);
        combo->setFocus();
        if (combo->isEditable())
            QTest::keyClicks(combo->lineEdit(), text);
        if (combo->currentText().isEmpty())
            QTest::keyClick(combo, Qt::Key_Down);
    }
}

const QStringList kAppraiserRequired{"TelefonoProfess", "CognomeProfess", "NomeProfess", "CodiceFiscaleProfess",
                                     "IndirizzoProfess", "NumCivicoProfess", "ProvinciaProfess", "ComuneProfess",
                                     "SiglaProvinciaProfess", "CAPProfess"};
const QStringList kLocalisationTexts{"ZonaUrbanaImmob", "SaggioMedioImmob=3,5", "DistanzaViaPrincip",
                                     "ServTraspPubblico", "QualifAmbienteExt", "IdoneitaInsediat",
                                     "MiglioramAmbiente"};
const QStringList kResults{"CostoUnitario=1.000,00", "CostoComplessivo=85.000,00", "CICostoUnitario=900,00",
                           "CICostoComplessivo=76.500,00"};

// Every text and tick of the pages, to show that the lights change none.
QStringList snapshot(MainWindow *w)
{
    QStringList out;
    for (QLineEdit *e : w->pages->findChildren<QLineEdit *>())
        out << e->objectName() + QLatin1Char('=') + e->text();
    for (QAbstractButton *b : w->pages->findChildren<QAbstractButton *>())
        out << b->objectName() + (b->isChecked() ? QStringLiteral(":1") : QStringLiteral(":0"));
    return out;
}

void putComparables(MainWindow *w, const QList<QStringList> &rows)
{
    {
        Table t = Table::open(dataPath(kImmConfr));
        for (const QStringList &r : rows) {
            QVariantList v;
            for (const QString &s : r)
                v << s;
            t.append(v);
        }
    }
    QVERIFY(w->comparablesPage->model()->reload());
}

const QStringList kComplete{"Via Verdi", "7", "1", "", "70,00", "0,00", "0,00", "0,00", "0,00", "2.000.000,00",
                            "140.000.000,00"};
const QStringList kNoUnitCost{"Via Po", "3", "2", "", "60,00", "1,00", "1,00", "1,00", "1,00", "", ""};

} // namespace

class TestLightsOps : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        app::setUpApplication(*qApp);
    }

    void allRedAfterStartUpAndAfterAFirstRun()
    {
        AppFixture f;
        MainWindow *w = f.window.get();
        for (int n = 1; n <= MainWindow::kPageNodes; ++n)
            QCOMPARE(w->nodeLight(n), Img::Red);
        LightsOps ops(w);
        ops.ImpostaSemaforiTreeView();
        for (int n = 1; n <= MainWindow::kPageNodes; ++n)
            QVERIFY2(w->nodeLight(n) == Img::Red, qPrintable(QString::number(n)));
    }

    // The rules read through the real pages: what the user enters, and the
    // light of one node at the next evaluation.
    void lightsFromThePages_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("node");
        QTest::addColumn<Img>("light");
        QTest::newRow("appraiser: e-mail only") << QStringList{"EMailProfess=a@b.it"} << 1 << Img::Yellow;
        QTest::newRow("appraiser: a single blank") << QStringList{"FaxProfess= "} << 1 << Img::Yellow;
        QTest::newRow("appraiser: ten required") << kAppraiserRequired << 1 << Img::Green;
        QTest::newRow("appraiser: nine required")
            << QStringList(kAppraiserRequired.mid(1)) << 1 << Img::Yellow;
        QTest::newRow("description: interno only") << QStringList{"InternoImmob=4"} << 2 << Img::Yellow;
        QTest::newRow("typology: a tick alone") << QStringList{"+Portineria"} << 9 << Img::Yellow;
        QTest::newRow("localisation: options alone")
            << QStringList{"+MedieDimensImmob", "+ZonaCentrImmob"} << 7 << Img::Yellow;
        QTest::newRow("localisation: texts and one of each trio")
            << (kLocalisationTexts + QStringList{"+GrandiDimensImmob", "+ZonaPeriferImmob"}) << 7 << Img::Green;
        QTest::newRow("localisation: texts without a zone option")
            << (kLocalisationTexts + QStringList{"+GrandiDimensImmob"}) << 7 << Img::Yellow;
        QTest::newRow("position: an amenity tick") << QStringList{"+ScuoleObbligo"} << 8 << Img::Yellow;
        QTest::newRow("income: the rent only") << QStringList{"CanoneLocazUnit=10"} << 10 << Img::Yellow;
        QTest::newRow("results: one value") << QStringList{kResults.first()} << 12 << Img::Yellow;
        QTest::newRow("results: four values") << kResults << 12 << Img::Green;
    }
    void lightsFromThePages()
    {
        QFETCH(QStringList, items);
        QFETCH(int, node);
        QFETCH(Img, light);
        AppFixture f;
        MainWindow *w = f.window.get();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        LightsOps ops(w);
        for (const QString &item : items) {
            enter(w, item);
            if (QTest::currentTestFailed())
                return;
        }
        // Typing alone changes no light.
        QCOMPARE(w->nodeLight(node), Img::Red);
        const QStringList before = snapshot(w);
        ops.ImpostaSemaforiTreeView();
        QCOMPARE(w->nodeLight(node), light);
        QCOMPARE(snapshot(w), before);
        // Every other page stays as it was: nothing entered there.
        for (int n = 1; n <= MainWindow::kPageNodes; ++n) {
            if (n != node)
                QVERIFY2(w->nodeLight(n) == Img::Red, qPrintable(QString::number(n)));
        }
    }

    void surfacesFromTheirValues_data()
    {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<Img>("light");
        QTest::newRow("none") << QStringList{} << Img::Red;
        QTest::newRow("useful exactly 0, others empty") << QStringList{"0", "", ""} << Img::Red;
        QTest::newRow("all 0") << QStringList{"0", "0", "0"} << Img::Red;
        QTest::newRow("useful 0,0 is not \"0\"") << QStringList{"0,0", "", ""} << Img::Green;
        QTest::newRow("commercial only") << QStringList{"", "", "85,25"} << Img::Green;
    }
    void surfacesFromTheirValues()
    {
        QFETCH(QStringList, values);
        QFETCH(Img, light);
        AppFixture f;
        MainWindow *w = f.window.get();
        LightsOps ops(w);
        // The page's shown fields are not the values: they alone count for nothing.
        for (QLineEdit *e : {w->surfacesPage->usefulEdit, w->surfacesPage->conventionalEdit,
                             w->surfacesPage->commercialEdit})
            e->setText("85,25");
        ops.ImpostaSemaforiTreeView();
        QCOMPARE(w->nodeLight(6), Img::Red);
        ops.surfaceValues = [values] { return values; };
        ops.ImpostaSemaforiTreeView();
        QCOMPARE(w->nodeLight(6), light);
    }

    void picturePages_data()
    {
        QTest::addColumn<int>("page"); // 0 photo, 1 area plan, 2 unit plan
        QTest::newRow("photograph") << 0;
        QTest::newRow("plan of the area") << 1;
        QTest::newRow("plan of the unit") << 2;
    }
    void picturePages()
    {
        QFETCH(int, page);
        AppFixture f;
        MainWindow *w = f.window.get();
        LightsOps ops(w);
        ui::PicturePage *const pages[] = {w->photoPage, w->areaPlanPage, w->unitPlanPage};
        QImage picture(20, 10, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        pages[page]->setPicture(picture);
        ops.ImpostaSemaforiTreeView();
        for (int i = 0; i < 3; ++i)
            QCOMPARE(w->nodeLight(3 + i), i == page ? Img::Green : Img::Red);
        pages[page]->clearPicture();
        ops.ImpostaSemaforiTreeView();
        QCOMPARE(w->nodeLight(3 + page), Img::Red);
    }

    void comparablesNode_data()
    {
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::addColumn<Img>("light");
        QTest::newRow("no rows") << QList<QStringList>{} << Img::Red;
        QTest::newRow("one complete") << QList<QStringList>{kComplete} << Img::Green;
        QTest::newRow("one complete, one without unit cost")
            << QList<QStringList>{kComplete, kNoUnitCost} << Img::Yellow;
    }
    void comparablesNode()
    {
        QFETCH(QList<QStringList>, rows);
        QFETCH(Img, light);
        AppFixture f;
        MainWindow *w = f.window.get();
        putComparables(w, rows);
        if (!rows.isEmpty())
            w->comparablesPage->selection()->setCurrentIndex(w->comparablesPage->model()->index(rows.size() - 1, 0),
                                                             QItemSelectionModel::ClearAndSelect);
        const int current = w->comparablesPage->currentRow();
        LightsOps ops(w);
        ops.ImpostaSemaforiTreeView();
        QCOMPARE(w->nodeLight(11), light);
        // The walk does not move the current comparable.
        QCOMPARE(w->comparablesPage->currentRow(), current);
    }

    void comparablesCountComesFromTheAccessor()
    {
        AppFixture f;
        MainWindow *w = f.window.get();
        LightsOps ops(w);
        int calls = 0;
        const Img expected[] = {Img::Green, Img::Yellow, Img::Red};
        for (int result = 1; result <= 3; ++result) {
            ops.comparablesCompleteness = [&calls, result] {
                ++calls;
                return result;
            };
            ops.ImpostaSemaforiTreeView();
            QCOMPARE(w->nodeLight(11), expected[result - 1]);
        }
        QCOMPARE(calls, 3);
    }

    void selectedNodeShowsTheArrow()
    {
        AppFixture f;
        MainWindow *w = f.window.get();
        LightsOps ops(w);
        enter(w, "EMailProfess=a@b.it");
        w->selectNode(1);
        ops.ImpostaSemaforiTreeView();
        QCOMPARE(w->nodeLight(1), Img::Yellow);
        const QIcon icon = w->node(1)->icon(0);
        QCOMPARE(icon.pixmap(16, QIcon::Selected).toImage(), art::nodeImage(Img::Arrow).toImage());
        QCOMPARE(icon.pixmap(16, QIcon::Normal).toImage(), art::nodeImage(Img::Yellow).toImage());
        // The root keeps its own picture.
        QCOMPARE(w->node(0)->icon(0).pixmap(16).toImage(), art::nodeImage(Img::Root).toImage());
    }
};

QTEST_MAIN(TestLightsOps)
#include "tst_lightsops.moc"
