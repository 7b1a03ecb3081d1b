// SPDX-License-Identifier: GPL-2.0-or-later
// "Informazioni su…": the licence notice is there and readable, and a click
// anywhere on the picture or the bands closes the box, the texts laid over
// the picture included.
#include "app/aboutbox.h"
#include "app/application.h"

#include <QLabel>
#include <QTest>

using brevan::app::AboutBox;

class TestAboutBox : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { brevan::app::setUpApplication(*qApp); }

    void licenceNotice()
    {
        AboutBox box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        auto *licence = box.findChild<QLabel *>(QStringLiteral("AboutLicence"));
        QVERIFY(licence);
        QVERIFY(licence->isVisible());
        const QString text = licence->text();
        QVERIFY2(text.contains(QStringLiteral("software libero")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("GNU General Public License, versione 2 o successiva (GPL-2.0-or-later)")),
                 qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("senza alcuna garanzia")), qPrintable(text));

        // Whole inside the box and not cut: its wrapped text fits its height.
        const QRect inBox(licence->mapTo(&box, QPoint(0, 0)), licence->size());
        QVERIFY2(box.rect().contains(inBox), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(inBox.x()).arg(inBox.y())
                                                            .arg(inBox.width()).arg(inBox.height())));
        QVERIFY2(licence->heightForWidth(licence->width()) <= licence->height(),
                 qPrintable(QString::number(licence->heightForWidth(licence->width()))));
        // Clear of the picture's captions above it.
        const auto *picture = box.findChild<QLabel *>(QStringLiteral("AboutPicture"));
        QVERIFY(picture);
        for (const QLabel *caption : picture->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
            if (caption == licence)
                continue;
            const QRect used(caption->pos(), QSize(caption->width(), caption->heightForWidth(caption->width())));
            QVERIFY2(!used.intersects(licence->geometry()), qPrintable(caption->text()));
        }
    }

    void clickCloses_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::newRow("top band") << QPoint(229, 20);
        QTest::newRow("picture") << QPoint(40, 120);
        QTest::newRow("captions on the picture") << QPoint(200, 60);
        QTest::newRow("licence notice") << QPoint(250, 180);
        QTest::newRow("bottom band") << QPoint(100, 272);
    }
    void clickCloses()
    {
        QFETCH(QPoint, at);
        AboutBox box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        // The widget a real click there reaches: childAt skips those that
        // let mouse events through.
        QWidget *target = box.childAt(at);
        QVERIFY(target);
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(&box, at));
        QVERIFY2(!box.isVisible(), qPrintable(target->objectName()));
        QCOMPARE(box.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
