// SPDX-License-Identifier: GPL-2.0-or-later
// The choice of report pages: its caption, group, ten boxes in report order,
// the three buttons, and a size the user cannot change.
#include "pages/reportpagesdialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>

using namespace brevan;
using brevan::ui::ReportPagesDialog;

class TestReportPagesDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void captionsAndOrder();
    void startsWithEveryBoxTicked();
    void buttons_data();
    void buttons();
    void boxesMakeTheSelection();
    void closeKeepsTheTicks();
    void notResizable();
};

void TestReportPagesDialog::captionsAndOrder()
{
    ReportPagesDialog d;
    QCOMPARE(d.windowTitle(), QStringLiteral("Pagine da includere nel report di stampa"));
    QCOMPARE(d.group->title(), QStringLiteral("Parametri di stampa"));
    QStringList captions;
    for (QCheckBox *b : d.boxes) {
        QCOMPARE(b->parentWidget(), d.group);
        captions << b->text();
    }
    QCOMPARE(captions, (QStringList{
                           QStringLiteral("Copertina"),
                           QStringLiteral("Generalità del professionista"),
                           QStringLiteral("Descrizione unità immobiliare"),
                           QStringLiteral("Calcolo delle superfici"),
                           QStringLiteral("Caratteristiche di localizzazione"),
                           QStringLiteral("Caratteristiche di posizione e tipologiche"),
                           QStringLiteral("Caratteristiche produttive"),
                           QStringLiteral("Immobili di confronto"),
                           QStringLiteral("Parametri di confronto"),
                           QStringLiteral("Risultati della stima"),
                       }));
    QCOMPARE(d.selectAllButton->text(), QStringLiteral("&Seleziona tutto"));
    QCOMPARE(d.clearAllButton->text(), QStringLiteral("&Deseleziona tutto"));
    QCOMPARE(d.closeButton->text(), QStringLiteral("&Chiudi"));
    // Top to bottom on screen as in the list.
    d.show();
    for (int i = 1; i < d.boxes.size(); ++i)
        QVERIFY(d.boxes[i]->y() > d.boxes[i - 1]->y());
}

void TestReportPagesDialog::startsWithEveryBoxTicked()
{
    ReportPagesDialog d;
    for (QCheckBox *b : d.boxes)
        QVERIFY2(b->isChecked(), qPrintable(b->text()));
    QCOMPARE(report::assembledPages(d.selection()).size(), 11);
}

void TestReportPagesDialog::buttons_data()
{
    QTest::addColumn<QVector<int>>("ticked"); // before the button
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("expected"); // every box afterwards
    QTest::newRow("select all from none") << QVector<int>{} << "select" << true;
    QTest::newRow("select all from some") << QVector<int>{0, 8} << "select" << true;
    QTest::newRow("clear all from all") << QVector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9} << "clear" << false;
    QTest::newRow("clear all from some") << QVector<int>{3} << "clear" << false;
}

void TestReportPagesDialog::buttons()
{
    QFETCH(QVector<int>, ticked);
    QFETCH(QString, button);
    QFETCH(bool, expected);
    ReportPagesDialog d;
    d.show();
    for (int i = 0; i < d.boxes.size(); ++i)
        d.boxes[i]->setChecked(ticked.contains(i));
    QTest::mouseClick(button == QLatin1String("select") ? d.selectAllButton : d.clearAllButton, Qt::LeftButton);
    for (QCheckBox *b : d.boxes)
        QCOMPARE(b->isChecked(), expected);
    QVERIFY(d.isVisible()); // only "&Chiudi" closes
}

void TestReportPagesDialog::boxesMakeTheSelection()
{
    ReportPagesDialog d;
    d.show();
    // The user clears "Parametri di confronto" and "Copertina".
    QTest::mouseClick(d.boxes[8], Qt::LeftButton, {}, QPoint(6, d.boxes[8]->height() / 2));
    QTest::mouseClick(d.boxes[0], Qt::LeftButton, {}, QPoint(6, d.boxes[0]->height() / 2));
    QVERIFY(!d.boxes[8]->isChecked());
    const report::ReportSelection s = d.selection();
    QVERIFY(!s[report::Choice::ParametriConfronto]);
    QVERIFY(!s[report::Choice::Copertina]);
    QCOMPARE(report::assembledPages(s), (QVector<int>{2, 3, 4, 5, 6, 7, 8, 11}));

    report::ReportSelection only = report::ReportSelection::none();
    only[report::Choice::RisultatiStima] = true;
    d.setSelection(only);
    for (int i = 0; i < d.boxes.size(); ++i)
        QCOMPARE(d.boxes[i]->isChecked(), i == 9);
}

void TestReportPagesDialog::closeKeepsTheTicks()
{
    ReportPagesDialog d;
    d.show();
    d.boxes[4]->setChecked(false);
    QTest::mouseClick(d.closeButton, Qt::LeftButton);
    QVERIFY(!d.isVisible());
    QCOMPARE(d.result(), int(QDialog::Accepted));
    d.show();
    QVERIFY(!d.boxes[4]->isChecked());
    QVERIFY(d.boxes[3]->isChecked());
    // Enter closes rather than ticking every box.
    d.boxes[0]->setChecked(false);
    d.boxes[0]->setFocus();
    QTest::keyClick(&d, Qt::Key_Return);
    QVERIFY(!d.isVisible());
    QVERIFY(!d.boxes[0]->isChecked());
}

void TestReportPagesDialog::notResizable()
{
    ReportPagesDialog d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QCOMPARE(d.minimumSize(), d.maximumSize());
    const QSize before = d.size();
    d.resize(before + QSize(200, 200));
    QCOMPARE(d.size(), before);
}

QTEST_MAIN(TestReportPagesDialog)
#include "tst_reportpagesdialog.moc"
