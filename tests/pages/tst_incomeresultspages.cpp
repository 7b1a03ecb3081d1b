// SPDX-License-Identifier: GPL-2.0-or-later
// The income page and the results page: controls, captions, filters, typed
// lengths, initial states, the hints that name the currency, and the results
// page's resize rule.
#include "model/currency.h"
#include "pages/incomepage.h"
#include "pages/resultspage.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

using namespace brevan;
using namespace brevan::ui;

namespace {

// The caption attached to a field (its buddy label), or a null string.
QString captionOf(const QWidget *root, const QWidget *field)
{
    for (QLabel *l : root->findChildren<QLabel *>())
        if (l->buddy() == field)
            return l->text();
    return {};
}

// Sibling widgets that a user sees must not overlap and must lie inside
// their parent.
void checkNoOverlap(const QWidget *parent)
{
    QList<QWidget *> shown;
    for (QWidget *w : parent->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        if (!w->isHidden())
            shown << w;
    for (int i = 0; i < shown.size(); ++i) {
        const QRect a = shown[i]->geometry();
        QVERIFY2(parent->rect().contains(a),
                 qPrintable(shown[i]->objectName() + QLatin1Char(' ') + QString::number(a.right())));
        for (int j = i + 1; j < shown.size(); ++j)
            QVERIFY2(!a.intersects(shown[j]->geometry()),
                     qPrintable(QStringLiteral("%1 overlaps %2")
                                    .arg(shown[i]->objectName(), shown[j]->objectName())));
    }
}

} // namespace

class TestIncomeResultsPages : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { currency().reset(); }
    void cleanup() { currency().reset(); }

    // Income page
    void incomeFields_data();
    void incomeFields();
    void incomeTyping_data();
    void incomeTyping();
    void incomePercentLabels();
    void incomeHiddenFields();
    void incomeRentTableButton();
    void incomeHints_data();
    void incomeHints();
    void incomeLayout();

    // Results page
    void resultsToolRow();
    void resultsSummary();
    void resultsValueBoxes_data();
    void resultsValueBoxes();
    void resultsHints_data();
    void resultsHints();
    void resultsGroupArithmetic_data();
    void resultsGroupArithmetic();
    void resultsResizeFollowsPage();
};

void TestIncomeResultsPages::incomeFields_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("readOnly");

    const QString prod = QStringLiteral("Caratteristiche produttive");
    const QString inc = QStringLiteral("Redditi e spese annui");
    QTest::newRow("unit rent") << "CanoneLocazUnit" << "Edit14" << prod << "Canone mensile di locazione unitario:"
                               << false;
    QTest::newRow("deposit") << "NumCauzioni" << "Edit17" << prod
                             << "Numero delle mensilità richieste in cauzione:" << false;
    QTest::newRow("commercial rate") << "SaggioCommerciale" << "Edit29" << prod << "Saggio d'interesse commerciale:"
                                     << false;
    QTest::newRow("legal rate") << "SaggioLegale" << "Edit30" << prod << "Saggio d'interesse legale:" << false;
    QTest::newRow("gross") << "RedditoLordoAnnuo" << "Edit31" << inc << "Reddito lordo annuo:" << true;
    QTest::newRow("net") << "RedditoNettoAnnuo" << "Edit32" << inc << "Reddito netto annuo:" << true;
    QTest::newRow("maintenance") << "SpeseManutenzione" << "Edit33" << inc
                                 << "Spese di manutenzione ordinaria e straordinaria:" << false;
    QTest::newRow("administration") << "SpeseAmministraz" << "Edit34" << inc << "Spese per servizi e amministrazione:"
                                    << false;
    QTest::newRow("vacancy") << "AleeSfitti" << "Edit35" << inc << "Alee per sfitti e inesigibilità:" << false;
    QTest::newRow("insurance") << "SpeseAssicurazioni" << "Edit36" << inc << "Spese per assicurazioni:" << false;
    QTest::newRow("depreciation") << "AliquoteAmmortam" << "Edit37" << inc << "Aliquote di ammortamento:" << false;
    QTest::newRow("taxes") << "AliquoteTasse" << "Edit38" << inc << "Aliquote per imposte e tasse:" << false;
}

void TestIncomeResultsPages::incomeFields()
{
    QFETCH(QString, name);
    QFETCH(QString, control);
    QFETCH(QString, group);
    QFETCH(QString, caption);
    QFETCH(bool, readOnly);

    IncomePage page;
    const auto edits = page.findChildren<QLineEdit *>(name);
    QCOMPARE(edits.size(), 1);
    QLineEdit *e = edits.first();
    QCOMPARE(e->property("brevanControl").toString(), control);
    auto *g = qobject_cast<QGroupBox *>(e->parentWidget());
    QVERIFY(g);
    QCOMPARE(g->title(), group);
    QCOMPARE(captionOf(&page, e), caption);
    QCOMPARE(e->isReadOnly(), readOnly);
    QVERIFY(!e->isHidden());
    QVERIFY(e->text().isEmpty());
}

void TestIncomeResultsPages::incomeTyping_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");

    QTest::newRow("rent: dot becomes comma") << "CanoneLocazUnit" << "12.5" << "12,5";
    QTest::newRow("rent: letters and minus refused") << "CanoneLocazUnit" << "a1-b2,c5" << "12,5";
    QTest::newRow("rent: fifteen characters") << "CanoneLocazUnit" << "1234567890123456789" << "123456789012345";
    QTest::newRow("deposit: one digit only") << "NumCauzioni" << "35" << "3";
    QTest::newRow("deposit: no letters") << "NumCauzioni" << "x" << "";
    QTest::newRow("deposit: no decimal separator") << "NumCauzioni" << ".,2" << "2";
    QTest::newRow("commercial rate: six characters") << "SaggioCommerciale" << "12.34567" << "12,345";
    QTest::newRow("legal rate: dot becomes comma") << "SaggioLegale" << "2.5%" << "2,5";
    QTest::newRow("expense: thousands dot becomes comma") << "SpeseManutenzione" << "1.000,5" << "1,000,5";
    QTest::newRow("expense: letters refused") << "AliquoteTasse" << "L. 300" << ",300";
    QTest::newRow("gross: read-only") << "RedditoLordoAnnuo" << "123" << "";
    QTest::newRow("net: read-only") << "RedditoNettoAnnuo" << "123" << "";
}

void TestIncomeResultsPages::incomeTyping()
{
    QFETCH(QString, name);
    QFETCH(QString, keys);
    QFETCH(QString, expected);

    IncomePage page;
    page.show();
    auto *e = page.findChild<QLineEdit *>(name);
    QVERIFY(e);
    e->setFocus();
    QTest::keyClicks(e, keys);
    QCOMPARE(e->text(), expected);
}

void TestIncomeResultsPages::incomePercentLabels()
{
    IncomePage page;
    for (QLineEdit *rate : {page.commercialRateEdit, page.legalRateEdit}) {
        QLabel *percent = nullptr;
        for (QLabel *l : rate->parentWidget()->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly)) {
            const QRect g = l->geometry();
            if (l->text() == QLatin1String("%") && g.left() > rate->geometry().right() &&
                g.top() < rate->geometry().bottom() && g.bottom() > rate->geometry().top())
                percent = l;
        }
        QVERIFY2(percent, qPrintable(rate->objectName()));
        QVERIFY(percent->geometry().left() - rate->geometry().right() < 12);
    }
    // The rent, the deposit and the amounts carry no "%".
    int percents = 0;
    for (QLabel *l : page.findChildren<QLabel *>())
        percents += l->text() == QLatin1String("%");
    QCOMPARE(percents, 2);
}

void TestIncomeResultsPages::incomeHiddenFields()
{
    IncomePage page;
    page.show();
    const struct {
        const char *name;
        const char *text;
    } hidden[] = {{"Edit39", "0"}, {"Edit40", "0"}, {"Edit41", "0"}, {"Edit43", ""}, {"Edit44", ""},
                  {"Edit45", ""},  {"Edit46", ""},  {"Edit47", ""},  {"Edit48", ""}};
    for (const auto &h : hidden) {
        auto *e = page.findChild<QLineEdit *>(QLatin1String(h.name));
        QVERIFY2(e, h.name);
        QVERIFY2(!e->isVisible(), h.name);
        QCOMPARE(e->text(), QLatin1String(h.text));
    }
    QCOMPARE(page.midRentEdit->objectName(), QStringLiteral("Edit39"));
    QCOMPARE(page.minRentEdit->objectName(), QStringLiteral("Edit40"));
    QCOMPARE(page.maxRentEdit->objectName(), QStringLiteral("Edit41"));
    for (int i = 0; i < 6; ++i)
        QCOMPARE(page.expenseShadowEdits[i]->objectName(), QStringLiteral("Edit%1").arg(43 + i));
    // The shadows follow the expenses in the same order.
    QCOMPARE(page.expenseEdit(0)->objectName(), QStringLiteral("SpeseManutenzione"));
    QCOMPARE(page.expenseEdit(5)->objectName(), QStringLiteral("AliquoteTasse"));
    QCOMPARE(page.expenseEdit(6), nullptr);
    // Everything else the user works with is on show.
    for (QLineEdit *e : {page.unitRentEdit, page.depositMonthsEdit, page.commercialRateEdit, page.legalRateEdit,
                         page.grossIncomeEdit, page.netIncomeEdit})
        QVERIFY2(e->isVisible(), qPrintable(e->objectName()));
}

void TestIncomeResultsPages::incomeRentTableButton()
{
    IncomePage page;
    page.show();
    QToolButton *b = page.unitRentTableButton;
    QCOMPARE(b->objectName(), QStringLiteral("SpeedButton63"));
    QCOMPARE(b->text(), QStringLiteral("..."));
    QVERIFY(b->isHidden());
    QCOMPARE(b->toolTip(), QString());
    QCOMPARE(b->statusTip(), QStringLiteral("Imposta canone mensile di locazione unitario per il Comune selezionato."));
    // Once shown, it sits right of the unit rent on the same row.
    b->show();
    QCOMPARE(b->parentWidget(), page.unitRentEdit->parentWidget());
    QVERIFY(b->geometry().left() > page.unitRentEdit->geometry().right());
    QVERIFY(b->geometry().intersects(QRect(b->x(), page.unitRentEdit->y(), 1, page.unitRentEdit->height())));
    QVERIFY(page.productiveGroup->rect().contains(b->geometry()));
}

void TestIncomeResultsPages::incomeHints_data()
{
    QTest::addColumn<bool>("euro");
    QTest::addColumn<QString>("currencyName");
    QTest::newRow("lire") << false << "Lire";
    QTest::newRow("euro") << true << "Euro";
}

void TestIncomeResultsPages::incomeHints()
{
    QFETCH(bool, euro);
    QFETCH(QString, currencyName);
    if (euro)
        currency().setEuro();
    IncomePage page;
    const struct {
        QLineEdit *edit;
        const char *text;
    } rows[] = {
        {page.unitRentEdit, "Canone mensile di locazione unitario in %1."},
        {page.grossIncomeEdit, "Reddito lordo annuo in %1."},
        {page.netIncomeEdit, "Reddito netto annuo in %1."},
        {page.maintenanceEdit, "Spese di manutenzione ordinaria e straordinaria in %1."},
        {page.administrationEdit, "Spese per servizi e amministrazione in %1."},
        {page.vacancyEdit, "Alee per sfitti e inesigibilità in %1."},
        {page.insuranceEdit, "Spese per assicurazioni in %1."},
        {page.depreciationEdit, "Aliquote di ammortamento in %1."},
        {page.taxesEdit, "Aliquote per imposte e tasse in %1."},
    };
    for (const auto &r : rows) {
        QCOMPARE(r.edit->statusTip(), QString::fromUtf8(r.text).arg(currencyName));
        QCOMPARE(r.edit->toolTip(), QString());
    }
}

void TestIncomeResultsPages::incomeLayout()
{
    IncomePage page;
    page.resize(420, 380);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QCOMPARE(page.panel()->size(), QSize(415, 372));
    checkNoOverlap(page.panel());
    for (QGroupBox *g : {page.productiveGroup, page.incomeGroup}) {
        checkNoOverlap(g);
        // Captions are shown whole.
        for (QLabel *l : g->findChildren<QLabel *>())
            QVERIFY2(l->width() >= l->sizeHint().width(), qPrintable(l->text()));
    }
    // One column of fields for both groups.
    QCOMPARE(page.unitRentEdit->x(), page.grossIncomeEdit->x());
    QCOMPARE(page.depositMonthsEdit->x(), page.taxesEdit->x());
    // Rows top to bottom in the order of the form.
    const QLineEdit *order[] = {page.maintenanceEdit, page.administrationEdit, page.vacancyEdit,
                                page.insuranceEdit,   page.depreciationEdit,   page.taxesEdit};
    int y = page.grossIncomeEdit->y();
    for (const QLineEdit *e : order) {
        QVERIFY(e->y() > y);
        y = e->y();
    }
    QVERIFY(page.netIncomeEdit->y() > y);
}

void TestIncomeResultsPages::resultsToolRow()
{
    ResultsPage page;
    page.show();
    const struct {
        QToolButton *button;
        const char *name;
        const char *hint;
        bool visible;
    } rows[] = {
        {page.exportButton, "SpeedButton61",
         "Esporta stima in formato Word compatibile|Esporta i risultati della stima in formato Word compatibile.",
         true},
        {page.reportPagesButton, "SpeedButton65",
         "Pagine da includere nel report di stampa|Seleziona le pagine da includere nel report di stampa.", true},
        {page.printButton, "SpeedButton55", "Stampa risultati stima|Stampa i risultati della stima.", true},
        {page.previewButton, "SpeedButton64", "Anteprima di stampa|Mostra l'anteprima di stampa.", true},
        {page.computeButton, "SpeedButton40", "Calcola valore di mercato|Calcola il valore di mercato dell'immobile.",
         false},
    };
    int left = -1;
    for (const auto &r : rows) {
        QCOMPARE(r.button->objectName(), QLatin1String(r.name));
        const QString hint = QString::fromUtf8(r.hint);
        QCOMPARE(r.button->toolTip(), hint.section(QLatin1Char('|'), 0, 0));
        QCOMPARE(r.button->statusTip(), hint.section(QLatin1Char('|'), 1));
        QCOMPARE(r.button->isVisible(), r.visible);
        QVERIFY(!r.button->icon().isNull());
        if (r.visible) {
            QVERIFY2(r.button->x() > left, r.name); // left to right
            left = r.button->geometry().right();
            QVERIFY(r.button->geometry().bottom() < page.summaryEdit->y());
        }
    }
}

void TestIncomeResultsPages::resultsSummary()
{
    ResultsPage page;
    QTextEdit *s = page.summaryEdit;
    QCOMPARE(s->objectName(), QStringLiteral("RichEdit1"));
    QVERIFY(s->isReadOnly());
    QCOMPARE(s->lineWrapMode(), QTextEdit::NoWrap);
    QCOMPARE(s->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(s->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(s->statusTip(), QStringLiteral("Riepilogo delle informazioni sulla stima corrente."));
    QVERIFY(s->toPlainText().isEmpty());
    QCOMPARE(s->font().family(), QStringLiteral("Arial"));
    QCOMPARE(s->font().pointSize(), 8);
    // Bare tabs align the values: stops every half inch, as in rich text.
    QCOMPARE(s->tabStopDistance(), s->logicalDpiX() / 2.0);
    // The user cannot type into it.
    page.show();
    s->setFocus();
    QTest::keyClicks(s->viewport(), QStringLiteral("abc"));
    QVERIFY(s->toPlainText().isEmpty());
}

void TestIncomeResultsPages::resultsValueBoxes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("column");

    QTest::newRow("comparison unit") << "CostoUnitario" << "Edit50" << "Comparazione diretta:" << "Valore unitario:";
    QTest::newRow("comparison total") << "CostoComplessivo" << "Edit52" << "Comparazione diretta:"
                                      << "Valore complessivo:";
    QTest::newRow("income unit") << "CICostoUnitario" << "Edit51" << "Capitalizzazione dei redditi:"
                                 << "Valore unitario:";
    QTest::newRow("income total") << "CICostoComplessivo" << "Edit53" << "Capitalizzazione dei redditi:"
                                  << "Valore complessivo:";
}

void TestIncomeResultsPages::resultsValueBoxes()
{
    QFETCH(QString, name);
    QFETCH(QString, control);
    QFETCH(QString, row);
    QFETCH(QString, column);

    ResultsPage page;
    page.resize(600, 500);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QCOMPARE(page.resultsGroup->title(), QStringLiteral("Risultati della stima"));
    auto *e = page.findChild<QLineEdit *>(name);
    QVERIFY(e);
    QCOMPARE(e->parentWidget(), page.resultsGroup);
    QCOMPARE(e->property("brevanControl").toString(), control);
    QVERIFY(e->isReadOnly());
    QVERIFY(e->isVisible());

    // Its row caption sits at its left on the same line, its column caption above it.
    QLabel *rowLabel = nullptr;
    QLabel *columnLabel = nullptr;
    for (QLabel *l : page.resultsGroup->findChildren<QLabel *>()) {
        const QRect g = l->geometry();
        if (l->text() == row && g.right() < e->x() && g.top() < e->geometry().bottom() && g.bottom() > e->y())
            rowLabel = l;
        if (l->text() == column && g.bottom() < e->y() && g.left() >= e->x() && g.left() < e->geometry().right())
            columnLabel = l;
    }
    QVERIFY2(rowLabel, qPrintable(row));
    QVERIFY2(columnLabel, qPrintable(column));

    // The user cannot type into it.
    e->setFocus();
    QTest::keyClicks(e, QStringLiteral("123"));
    QVERIFY(e->text().isEmpty());
}

void TestIncomeResultsPages::resultsHints_data()
{
    QTest::addColumn<bool>("euro");
    QTest::addColumn<QString>("currencyName");
    QTest::newRow("lire") << false << "Lire";
    QTest::newRow("euro") << true << "Euro";
}

void TestIncomeResultsPages::resultsHints()
{
    QFETCH(bool, euro);
    QFETCH(QString, currencyName);

    ResultsPage page;
    // Built in Lire; a switch reaches the hints only through refreshHints().
    QCOMPARE(page.comparisonUnitEdit->statusTip(),
             QStringLiteral("Più probabile valore di mercato unitario per comparazione diretta in Lire/mq."));
    if (euro) {
        currency().setEuro();
        QCOMPARE(page.comparisonUnitEdit->statusTip(),
                 QStringLiteral("Più probabile valore di mercato unitario per comparazione diretta in Lire/mq."));
    }
    page.refreshHints();

    const struct {
        QLineEdit *edit;
        const char *text;
    } rows[] = {
        {page.comparisonUnitEdit, "Più probabile valore di mercato unitario per comparazione diretta in %1/mq."},
        {page.comparisonTotalEdit, "Più probabile valore di mercato per comparazione diretta in %1."},
        {page.incomeUnitEdit, "Più probabile valore di mercato unitario per capitalizzazione dei redditi in %1/mq."},
        {page.incomeTotalEdit, "Più probabile valore di mercato per capitalizzazione dei redditi in %1."},
    };
    for (const auto &r : rows) {
        QCOMPARE(r.edit->statusTip(), QString::fromUtf8(r.text).arg(currencyName));
        QCOMPARE(r.edit->toolTip(), QString());
    }

    // And back.
    currency().setLire();
    page.refreshHints();
    QCOMPARE(page.incomeTotalEdit->statusTip(),
             QStringLiteral("Più probabile valore di mercato per capitalizzazione dei redditi in Lire."));
}

void TestIncomeResultsPages::resultsGroupArithmetic_data()
{
    QTest::addColumn<int>("pageWidth");
    QTest::addColumn<int>("currentWidth");
    QTest::addColumn<int>("groupWidth");
    QTest::addColumn<int>("fieldWidth");
    QTest::addColumn<int>("totalLeft");

    // a = (G − 2w − 160) / 2 truncated toward zero; width w + a; totals at width + 152.
    QTest::newRow("smallest window keeps its width") << 420 << 122 << 405 << 122 << 274;
    QTest::newRow("odd spare halves down") << 421 << 122 << 406 << 123 << 275;
    QTest::newRow("wider page") << 600 << 122 << 585 << 212 << 364;
    QTest::newRow("largest window") << 615 << 212 << 600 << 220 << 372;
    // −179 / 2 is −89 toward zero (flooring would give −90 and 122).
    QTest::newRow("narrower page truncates toward zero") << 420 << 212 << 405 << 123 << 275;
    QTest::newRow("even spare") << 500 << 100 << 485 << 162 << 314;
    QTest::newRow("page narrower than the captions") << 100 << 122 << 85 << 0 << 152;
}

void TestIncomeResultsPages::resultsGroupArithmetic()
{
    QFETCH(int, pageWidth);
    QFETCH(int, currentWidth);
    QFETCH(int, groupWidth);
    QFETCH(int, fieldWidth);
    QFETCH(int, totalLeft);

    const ResultsGroupGeometry g = resultsGroupGeometry(pageWidth, currentWidth);
    QCOMPARE(g.groupWidth, groupWidth);
    QCOMPARE(g.fieldWidth, fieldWidth);
    QCOMPARE(g.totalLeft, totalLeft);
    QCOMPARE(g.totalLabelLeft, totalLeft + 2);
}

void TestIncomeResultsPages::resultsResizeFollowsPage()
{
    ResultsPage page;
    page.resize(420, 380);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    // Each step starts from the width the fields have now: 122 → 212 → 123 → 220.
    const struct {
        QSize size;
        int field;
    } steps[] = {{{420, 380}, 122}, {{600, 500}, 212}, {{420, 380}, 123}, {{615, 520}, 220}};
    for (const auto &s : steps) {
        page.resize(s.size);
        QCoreApplication::processEvents();
        const QString where = QStringLiteral("%1×%2").arg(s.size.width()).arg(s.size.height());
        QCOMPARE(page.resultsGroup->width(), s.size.width() - 15);
        QVERIFY2(page.resultsGroup->geometry().bottom() < s.size.height(), qPrintable(where));
        for (QLineEdit *e : {page.comparisonUnitEdit, page.incomeUnitEdit, page.comparisonTotalEdit,
                             page.incomeTotalEdit})
            QCOMPARE(e->width(), s.field);
        QCOMPARE(page.comparisonTotalEdit->x(), s.field + 152);
        QCOMPARE(page.incomeTotalEdit->x(), s.field + 152);
        QCOMPARE(page.totalValueLabel->x(), s.field + 154);
        QCOMPARE(page.comparisonUnitEdit->x(), page.incomeUnitEdit->x());
        QCOMPARE(page.unitValueLabel->x(), page.comparisonUnitEdit->x() + 2);
        // Totals stay inside the group; the summary fills the space above it.
        QVERIFY2(page.comparisonTotalEdit->geometry().right() < page.resultsGroup->width(), qPrintable(where));
        QVERIFY2(page.summaryEdit->geometry().bottom() < page.resultsGroup->y(), qPrintable(where));
        QCOMPARE(page.summaryEdit->width(), page.resultsGroup->width());
        QVERIFY(page.summaryEdit->height() > 100);
    }
}

QTEST_MAIN(TestIncomeResultsPages)
#include "tst_incomeresultspages.moc"
