// SPDX-License-Identifier: GPL-2.0-or-later
// The most characters a field takes while typing counts characters as the
// stored table does: an emoji (two UTF-16 units) is one character, so a field
// takes as many as its table keeps, and never one the table would cut.
#include "pages/pagekit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

using namespace brevan;

namespace {

// One key typed as the keyboard sends it: its whole character at once.
void type(QLineEdit *edit, const QString &character)
{
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, character);
    QApplication::sendEvent(edit, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, character);
    QApplication::sendEvent(edit, &release);
}

} // namespace

class TestTypedLength : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void charactersNotUnits_data()
    {
        const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("shown");
        QTest::newRow("four letters and an emoji")
            << QStringList{"a", "b", "c", "d", emoji, "e"} << QStringLiteral("abcd") + emoji;
        QTest::newRow("five letters, then an emoji") << QStringList{"a", "b", "c", "d", "e", emoji} << "abcde";
        QTest::newRow("an emoji, then four letters")
            << QStringList{emoji, "a", "b", "c", "d", "e"} << emoji + QStringLiteral("abcd");
        QTest::newRow("five emoji") << QStringList(6, emoji) << emoji.repeated(5);
    }
    void charactersNotUnits()
    {
        QFETCH(QStringList, keys);
        QFETCH(QString, shown);
        QWidget page;
        QLineEdit *edit = ui::makeEdit(QStringLiteral("Prova"), 5, KeyFilter::None, &page);
        for (const QString &key : keys)
            type(edit, key);
        QCOMPARE(edit->text(), shown);
    }

    // A pick-only list takes no typed emoji either.
    void pickOnlyRefusesAnEmoji()
    {
        QWidget page;
        QLineEdit *edit = ui::makeEdit(QStringLiteral("Prova"), 5, KeyFilter::PickOnly, &page);
        type(edit, QString::fromUtf8("\xF0\x9F\x98\x80"));
        QCOMPARE(edit->text(), QString());
    }
};

QTEST_MAIN(TestTypedLength)
#include "tst_typedlength.moc"
