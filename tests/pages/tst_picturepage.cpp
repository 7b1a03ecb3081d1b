// SPDX-License-Identifier: GPL-2.0-or-later
// The picture pages: toolbar names, hints and initial states for the three
// pages, the zoom arithmetic, the two pictures a page holds, and the view
// (centred, stretched, scrolling).
#include "pages/picturepage.h"
#include "pages/zoom.h"

#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <QTest>

#include <climits>

using namespace brevan;
using namespace brevan::ui;

Q_DECLARE_METATYPE(brevan::ui::PicturePage::Kind)

namespace {

// Four quadrants of different colours, so a stretched copy can be checked.
QImage quadrants(int w, int h)
{
    QImage im(w, h, QImage::Format_RGB32);
    QPainter p(&im);
    p.fillRect(0, 0, w / 2, h / 2, Qt::red);
    p.fillRect(w / 2, 0, w - w / 2, h / 2, Qt::green);
    p.fillRect(0, h / 2, w / 2, h - h / 2, Qt::blue);
    p.fillRect(w / 2, h / 2, w - w / 2, h - h / 2, Qt::yellow);
    return im;
}

// What a page looks like once a picture has arrived: the picture-dependent
// controls enabled, "Adatta immagine" cleared.
void givePicture(PicturePage &page, const QImage &picture)
{
    page.setPicture(picture);
    for (QWidget *w : page.pictureControls())
        w->setEnabled(true);
    page.stretchCheck->setChecked(false);
}

} // namespace

class TestPicturePage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void toolbar_data();
    void toolbar();
    void initialState_data();
    void initialState();
    void zoomArithmetic_data();
    void zoomArithmetic();
    void zoomSequences();
    void pictureHolding();
    void shownImageIsSourceRedrawn();
    void hugeZoomAllocatesNothing();
    void stretchReaction();
    void stretchWithoutPicture();
    void viewCentresAndClips();
};

void TestPicturePage::toolbar_data()
{
    QTest::addColumn<PicturePage::Kind>("kind");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("cutHint");

    const QString inserts = QStringLiteral("Taglia immagine|Taglia l'immagine e la inserisce negli appunti.");
    QTest::newRow("photograph") << PicturePage::Kind::Photo << "TabSheet3" << "Foto" << "Illustrazione fotografica"
                                << inserts;
    QTest::newRow("area plan") << PicturePage::Kind::AreaPlan << "TabSheet4" << "PlanimZona" << "Planimetria di zona"
                               << inserts;
    // The unit plan's cut hint reads differently.
    QTest::newRow("unit plan") << PicturePage::Kind::UnitPlan << "TabSheet5" << "Planim"
                               << "Planimetria dell'immobile"
                               << "Taglia immagine|Taglia l'immagine e la incolla negli appunti.";
}

void TestPicturePage::toolbar()
{
    QFETCH(PicturePage::Kind, kind);
    QFETCH(QString, page);
    QFETCH(QString, suffix);
    QFETCH(QString, caption);
    QFETCH(QString, cutHint);

    PicturePage p(kind);
    p.resize(420, 380);
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    QCOMPARE(p.objectName(), page);
    QCOMPARE(PicturePage::caption(kind), caption);
    QCOMPARE(p.windowTitle(), caption);

    const QString zoomHint = QStringLiteral("Zoom immagine|Ridimensiona l'immagine del 10%.");
    const struct {
        QWidget *control;
        const char *base;
        QString hint;
    } rows[] = {
        {p.loadButton, "SpeedButtonOpenImage", QStringLiteral("Carica immagine|Carica un'immagine dal disco.")},
        {p.saveButton, "SpeedButtonSaveImage", QStringLiteral("Salva immagine|Salva l'immagine sul disco.")},
        {p.deleteButton, "SpeedButtonDeleteImage",
         QStringLiteral("Elimina immagine|Elimina l'immagine dalla finestra.")},
        {p.cutButton, "SpeedButtonCutImage", cutHint},
        {p.copyButton, "SpeedButtonCopyImage",
         QStringLiteral("Copia immagine|Copia l'immagine e la inserisce negli appunti.")},
        {p.pasteButton, "SpeedButtonPasteImage", QStringLiteral("Incolla immagine|Incolla l'immagine dagli appunti.")},
        {p.zoomInButton, "SpeedButtonZoomInImage", zoomHint},
        {p.zoomOutButton, "SpeedButtonZoomOutImage", zoomHint},
        {p.stretchCheck, "CheckBoxStretchImage",
         QStringLiteral("|Stira e deforma l'immagine adattandola allo spazio disponibile.")},
    };
    int left = -1;
    for (const auto &r : rows) {
        QCOMPARE(r.control->objectName(), QLatin1String(r.base) + suffix);
        QCOMPARE(r.control->toolTip(), r.hint.section(QLatin1Char('|'), 0, 0));
        QCOMPARE(r.control->statusTip(), r.hint.section(QLatin1Char('|'), 1));
        QVERIFY2(r.control->isVisible(), r.base);
        // Screen order, all on one row above the picture area.
        const QPoint at = r.control->mapTo(&p, QPoint(0, 0));
        QVERIFY2(at.x() > left, r.base);
        left = at.x() + r.control->width() - 1;
        QVERIFY2(at.y() + r.control->height() <= p.pictureArea->y(), r.base);
    }
    QVERIFY2(left < p.width(), "toolbar cut off at the smallest page");
    QCOMPARE(p.stretchCheck->text(), QStringLiteral("Adatta immagine"));
    QCOMPARE(p.zoomInButton->property("zoomFactor").toInt(), 110);
    QCOMPARE(p.zoomOutButton->property("zoomFactor").toInt(), 90);
    // The picture area takes the rest of the page.
    QCOMPARE(p.pictureArea->width(), p.width());
    QCOMPARE(p.pictureArea->geometry().bottom(), p.height() - 1);
}

void TestPicturePage::initialState_data()
{
    QTest::addColumn<PicturePage::Kind>("kind");
    QTest::newRow("photograph") << PicturePage::Kind::Photo;
    QTest::newRow("area plan") << PicturePage::Kind::AreaPlan;
    QTest::newRow("unit plan") << PicturePage::Kind::UnitPlan;
}

void TestPicturePage::initialState()
{
    QFETCH(PicturePage::Kind, kind);
    PicturePage p(kind);

    QVERIFY(p.loadButton->isEnabled());
    for (QWidget *w : {static_cast<QWidget *>(p.saveButton), static_cast<QWidget *>(p.deleteButton),
                       static_cast<QWidget *>(p.cutButton), static_cast<QWidget *>(p.copyButton),
                       static_cast<QWidget *>(p.pasteButton), static_cast<QWidget *>(p.zoomInButton),
                       static_cast<QWidget *>(p.zoomOutButton), static_cast<QWidget *>(p.stretchCheck)})
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    QVERIFY(!p.stretchCheck->isChecked());

    QVERIFY(!p.hasPicture());
    QVERIFY(p.sourceImage().isNull());
    QVERIFY(p.shownImage().isNull());
    QCOMPARE(p.shownSize(), QSize(0, 0));
    QVERIFY(p.pictureView->pictureRect().isEmpty());
    QVERIFY(!p.pictureView->isStretched());

    // The seven controls that need a picture; paste and load are not among them.
    const QList<QWidget *> dependent = p.pictureControls();
    QCOMPARE(dependent.size(), 7);
    QVERIFY(!dependent.contains(p.loadButton));
    QVERIFY(!dependent.contains(p.pasteButton));
    QVERIFY(dependent.contains(p.stretchCheck));
}

void TestPicturePage::zoomArithmetic_data()
{
    QTest::addColumn<QSize>("shown");
    QTest::addColumn<int>("factor");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("1000×500 in") << QSize(1000, 500) << kZoomInFactor << QSize(1100, 550);
    QTest::newRow("1100×550 out") << QSize(1100, 550) << kZoomOutFactor << QSize(990, 495);
    QTest::newRow("100 in") << QSize(100, 100) << kZoomInFactor << QSize(110, 110);
    QTest::newRow("110 out is 99, not 100") << QSize(110, 110) << kZoomOutFactor << QSize(99, 99);
    QTest::newRow("in truncates 5.5") << QSize(5, 9) << kZoomInFactor << QSize(5, 9);
    QTest::newRow("out truncates 8.1") << QSize(9, 10) << kZoomOutFactor << QSize(8, 9);
    QTest::newRow("1 out is 0") << QSize(1, 1) << kZoomOutFactor << QSize(0, 0);
    QTest::newRow("0 stays 0 in") << QSize(0, 0) << kZoomInFactor << QSize(0, 0);
    QTest::newRow("each side on its own") << QSize(1000, 0) << kZoomInFactor << QSize(1100, 0);
    QTest::newRow("no picture counts as 0") << QSize() << kZoomInFactor << QSize(0, 0);
    // 110 × 300 000 000 overflows int; worked in 64 bits it is exact.
    QTest::newRow("beyond int while multiplying") << QSize(300000000, 2) << kZoomInFactor << QSize(330000000, 2);
    QTest::newRow("pinned at the largest int") << QSize(INT_MAX, 1) << kZoomInFactor << QSize(INT_MAX, 1);
}

void TestPicturePage::zoomArithmetic()
{
    QFETCH(QSize, shown);
    QFETCH(int, factor);
    QFETCH(QSize, expected);
    QCOMPARE(zoomed(shown, factor), expected);
}

void TestPicturePage::zoomSequences()
{
    // Ten steps out from 10 × 10 pass through every size down to nothing.
    QSize s(10, 10);
    for (int side = 9; side >= 0; --side) {
        s = zoomed(s, kZoomOutFactor);
        QCOMPARE(s, QSize(side, side));
    }
    for (int i = 0; i < 5; ++i)
        s = zoomed(s, kZoomInFactor);
    QCOMPARE(s, QSize(0, 0));

    // In and out do not cancel.
    QCOMPARE(zoomed(zoomed(QSize(100, 100), kZoomInFactor), kZoomOutFactor), QSize(99, 99));
    QCOMPARE(zoomed(zoomed(QSize(1000, 500), kZoomInFactor), kZoomOutFactor), QSize(990, 495));
}

void TestPicturePage::pictureHolding()
{
    PicturePage p(PicturePage::Kind::Photo);
    givePicture(p, quadrants(1000, 500));
    QVERIFY(p.hasPicture());
    QCOMPARE(p.sourceImage().size(), QSize(1000, 500));
    QCOMPARE(p.shownSize(), QSize(1000, 500));

    p.setShownSize(zoomed(p.shownSize(), kZoomInFactor));
    QCOMPARE(p.shownSize(), QSize(1100, 550));
    QCOMPARE(p.shownImage().size(), QSize(1100, 550));
    p.setShownSize(zoomed(p.shownSize(), kZoomOutFactor));
    QCOMPARE(p.shownSize(), QSize(990, 495));
    QCOMPARE(p.shownImage().size(), QSize(990, 495));
    // The source is never resized.
    QCOMPARE(p.sourceImage().size(), QSize(1000, 500));

    // Zoomed down to nothing the page still holds its picture.
    p.setShownSize(QSize(0, 3));
    QVERIFY(p.hasPicture());
    QCOMPARE(p.shownSize(), QSize(0, 3));
    QVERIFY(p.shownImage().isNull());
    QVERIFY(p.pictureView->pictureRect().isEmpty());

    // A new picture replaces both.
    givePicture(p, quadrants(40, 30));
    QCOMPARE(p.sourceImage().size(), QSize(40, 30));
    QCOMPARE(p.shownSize(), QSize(40, 30));

    p.clearPicture();
    QVERIFY(!p.hasPicture());
    QVERIFY(p.sourceImage().isNull());
    QVERIFY(p.shownImage().isNull());
    QCOMPARE(p.shownSize(), QSize(0, 0));

    // Without a picture there is nothing to zoom.
    p.setShownSize(QSize(50, 50));
    QCOMPARE(p.shownSize(), QSize(0, 0));
    QVERIFY(!p.hasPicture());
}

void TestPicturePage::shownImageIsSourceRedrawn()
{
    PicturePage p(PicturePage::Kind::AreaPlan);
    givePicture(p, quadrants(20, 10));
    p.setShownSize(QSize(200, 50));
    const QImage shown = p.shownImage();
    QCOMPARE(shown.size(), QSize(200, 50));
    // Each quadrant stretched onto its quarter of the bitmap.
    QCOMPARE(QColor(shown.pixel(10, 5)), QColor(Qt::red));
    QCOMPARE(QColor(shown.pixel(190, 5)), QColor(Qt::green));
    QCOMPARE(QColor(shown.pixel(10, 45)), QColor(Qt::blue));
    QCOMPARE(QColor(shown.pixel(190, 45)), QColor(Qt::yellow));
}

void TestPicturePage::hugeZoomAllocatesNothing()
{
    PicturePage p(PicturePage::Kind::Photo);
    p.resize(420, 380);
    p.show();
    givePicture(p, quadrants(100, 100));
    // Far beyond what memory or a widget can hold: the size is kept, no
    // bitmap is made, and the view is bounded yet still centred on the picture.
    const QSize huge(1500000000, 1500000000);
    p.setShownSize(huge);
    QCOMPARE(p.shownSize(), huge);
    QVERIFY(p.shownImage().isNull());
    QCOMPARE(p.pictureView->pictureRect().size(), huge);
    QVERIFY(!p.pictureView->grab(QRect(0, 0, 50, 50)).isNull());
    p.setShownSize(zoomed(huge, kZoomInFactor));
    QCOMPARE(p.shownSize(), QSize(1650000000, 1650000000));
}

void TestPicturePage::stretchReaction()
{
    PicturePage p(PicturePage::Kind::UnitPlan);
    p.resize(420, 380);
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    givePicture(p, quadrants(100, 60));
    p.setShownSize(QSize(110, 66));

    QTest::mouseClick(p.stretchCheck, Qt::LeftButton, {}, QPoint(6, p.stretchCheck->height() / 2));
    QVERIFY(p.stretchCheck->isChecked());
    QVERIFY(p.pictureView->isStretched());
    QVERIFY(!p.zoomInButton->isEnabled());
    QVERIFY(!p.zoomOutButton->isEnabled());
    QCoreApplication::processEvents();
    // Fills the whole area, proportions or not, with no scrolling.
    QCOMPARE(p.pictureView->pictureRect(), p.pictureView->rect());
    QCOMPARE(p.pictureView->size(), p.pictureArea->viewport()->size());
    QVERIFY(!p.pictureArea->horizontalScrollBar()->isVisible());
    // Stretching changes neither picture.
    QCOMPARE(p.shownSize(), QSize(110, 66));
    QCOMPARE(p.sourceImage().size(), QSize(100, 60));

    // Cleared, whether by the user or by the program: back to the last zoomed size.
    p.stretchCheck->setChecked(false);
    QVERIFY(!p.pictureView->isStretched());
    QVERIFY(p.zoomInButton->isEnabled());
    QVERIFY(p.zoomOutButton->isEnabled());
    QCOMPARE(p.pictureView->pictureRect().size(), QSize(110, 66));
}

void TestPicturePage::stretchWithoutPicture()
{
    PicturePage p(PicturePage::Kind::Photo);
    p.stretchCheck->setEnabled(true);
    p.stretchCheck->setChecked(true);
    QVERIFY(!p.zoomInButton->isEnabled());
    p.stretchCheck->setChecked(false);
    // Without a picture the zoom buttons are not brought back.
    QVERIFY(!p.zoomInButton->isEnabled());
    QVERIFY(!p.zoomOutButton->isEnabled());
}

void TestPicturePage::viewCentresAndClips()
{
    PicturePage p(PicturePage::Kind::Photo);
    p.resize(420, 380);
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    QScrollBar *h = p.pictureArea->horizontalScrollBar();
    QScrollBar *v = p.pictureArea->verticalScrollBar();

    // Smaller than the area: centred.
    givePicture(p, quadrants(100, 60));
    QCoreApplication::processEvents();
    const QSize view = p.pictureView->size();
    QCOMPARE(view, p.pictureArea->viewport()->size());
    QCOMPARE(p.pictureView->pictureRect(),
             QRect((view.width() - 100) / 2, (view.height() - 60) / 2, 100, 60));

    // Larger than the area: still centred, its edges cut off by the area, with
    // no scroll bars and nothing to scroll.
    p.setShownSize(QSize(1100, 550));
    QCoreApplication::processEvents();
    QVERIFY(!h->isVisible());
    QVERIFY(!v->isVisible());
    QCOMPARE(h->maximum(), 0);
    QCOMPARE(v->maximum(), 0);
    QCOMPARE(p.pictureView->size(), p.pictureArea->viewport()->size());
    const QSize area = p.pictureView->size();
    QCOMPARE(p.pictureView->pictureRect(),
             QRect((area.width() - 1100) / 2, (area.height() - 550) / 2, 1100, 550));
    // What shows is the middle of the picture: its four quadrants meet at the
    // middle of the area, and the corners of the area are deep inside them.
    const QImage shot = p.pictureView->grab().toImage();
    const int cx = area.width() / 2, cy = area.height() / 2;
    QCOMPARE(QColor(shot.pixel(cx - 20, cy - 20)), QColor(Qt::red));
    QCOMPARE(QColor(shot.pixel(cx + 20, cy - 20)), QColor(Qt::green));
    QCOMPARE(QColor(shot.pixel(cx - 20, cy + 20)), QColor(Qt::blue));
    QCOMPARE(QColor(shot.pixel(cx + 20, cy + 20)), QColor(Qt::yellow));
    QCOMPARE(QColor(shot.pixel(1, 1)), QColor(Qt::red));
    QCOMPARE(QColor(shot.pixel(area.width() - 2, area.height() - 2)), QColor(Qt::yellow));
    // The wheel does not move it.
    QWheelEvent wheel(QPointF(cx, cy), p.pictureView->mapToGlobal(QPointF(cx, cy)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(p.pictureArea->viewport(), &wheel);
    QCOMPARE(p.pictureView->pos(), QPoint(0, 0));
    QCOMPARE(p.pictureView->pictureRect().topLeft(), QPoint((area.width() - 1100) / 2, (area.height() - 550) / 2));

    // The area grows: the picture is placed again around its middle.
    p.resize(600, 500);
    QCoreApplication::processEvents();
    const QSize grown = p.pictureView->size();
    QCOMPARE(grown, p.pictureArea->viewport()->size());
    QCOMPARE(p.pictureView->pictureRect().topLeft(), QPoint((grown.width() - 1100) / 2, (grown.height() - 550) / 2));
    QVERIFY(!h->isVisible());

    // Back below the area's size: centred again.
    p.setShownSize(QSize(50, 40));
    QCoreApplication::processEvents();
    const QSize after = p.pictureView->size();
    QCOMPARE(p.pictureView->pictureRect().topLeft(), QPoint((after.width() - 50) / 2, (after.height() - 40) / 2));
}

QTEST_MAIN(TestPicturePage)
#include "tst_picturepage.moc"
