// SPDX-License-Identifier: GPL-2.0-or-later
// The picture pages' commands in the real main window: load (bitmaps, JPEG,
// metafiles through the rasteriser), the bad files that must leave the page as
// it was, zoom through the buttons, "Adatta immagine", delete, copy, cut,
// paste and the paste buttons, save as a bitmap, and what opening and a new
// appraisal do to a page. Every picture file is made by the test.
#include "../support/appfixture.h"
#include "../support/fixtures.h"
#include "app/application.h"
#include "pages/pictureloader.h"
#include "pages/picturepage.h"

#include <QBuffer>
#include <QClipboard>
#include <QElapsedTimer>
#include <QImageReader>
#include <QMimeData>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <sys/resource.h>

using namespace brevan;
using namespace brevan::ui;
using brevan::app::MainWindow;

namespace {

// Four quadrants of different colours: a copy, a stretch or a codec that
// mixed them up would show.
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

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format))
        qFatal("cannot encode %s", format);
    return bytes;
}

// Little-endian record writer for the hand-made metafiles.
class Le {
public:
    Le &u16(quint32 v) { return put(v, 2); }
    Le &u32(quint32 v) { return put(v, 4); }
    Le &i32(qint32 v) { return put(quint32(v), 4); }
    QByteArray bytes;

private:
    Le &put(quint32 v, int n)
    {
        for (int i = 0; i < n; ++i)
            bytes.append(char((v >> (8 * i)) & 0xFF));
        return *this;
    }
};

quint32 colorRef(QRgb c)
{
    return quint32(qRed(c)) | quint32(qGreen(c)) << 8 | quint32(qBlue(c)) << 16;
}

// An enhanced metafile of w × h device pixels holding one filled rectangle:
// header, brush, select, rectangle, end.
QByteArray emfFile(int w, int h, QRgb fill)
{
    Le body;
    body.u32(39).u32(24).u32(1).u32(0).u32(colorRef(fill)).u32(0); // EMR_CREATEBRUSHINDIRECT
    body.u32(37).u32(12).u32(1);                                 // EMR_SELECTOBJECT
    body.u32(43).u32(24).i32(0).i32(0).i32(w).i32(h);              // EMR_RECTANGLE
    body.u32(14).u32(20).u32(0).u32(16).u32(20);                   // EMR_EOF
    Le head;
    head.u32(1).u32(88);                                  // EMR_HEADER
    head.i32(0).i32(0).i32(w).i32(h);                     // bounds, device pixels
    head.i32(0).i32(0).i32(w * 26).i32(h * 26);           // frame, 0.01 mm
    head.u32(0x464D4520).u32(0x10000);                    // " EMF", version
    head.u32(quint32(88 + body.bytes.size())).u32(5);     // bytes, records
    head.u16(2).u16(0).u32(0).u32(0).u32(0);              // handles, reserved, description, palette
    head.i32(1024).i32(768).i32(320).i32(240);            // reference device
    return head.bytes + body.bytes;
}

// A placeable standard metafile, w × h at 96 units per inch, holding one
// filled rectangle, or a line of text in the default font.
QByteArray wmfFile(int w, int h, QRgb fill, const QByteArray &text = {})
{
    Le body;
    body.u32(5).u16(0x020B).u16(0).u16(0);                         // SETWINDOWORG
    body.u32(5).u16(0x020C).u16(quint32(h)).u16(quint32(w));       // SETWINDOWEXT
    if (text.isEmpty()) {
        body.u32(7).u16(0x02FC).u16(0).u32(colorRef(fill)).u16(0); // CREATEBRUSHINDIRECT
        body.u32(4).u16(0x012D).u16(0);                            // SELECTOBJECT
        body.u32(7).u16(0x041B).u16(quint32(h)).u16(quint32(w)).u16(0).u16(0); // RECTANGLE
    } else {
        QByteArray padded = text;
        if (padded.size() % 2)
            padded.append('\0');
        body.u32(quint32(3 + 1 + padded.size() / 2 + 2)).u16(0x0521).u16(quint32(text.size())); // TEXTOUT
        body.bytes.append(padded);
        body.u16(20).u16(10); // y, x
    }
    body.u32(3).u16(0);                                            // EOF
    Le meta;
    meta.u16(1).u16(9).u16(0x0300).u32(quint32(18 + body.bytes.size()) / 2).u16(1).u32(7).u16(0);
    Le placeable;
    placeable.u32(0x9AC6CDD7).u16(0).u16(0).u16(0).u16(quint32(w)).u16(quint32(h)).u16(96).u32(0);
    quint16 checksum = 0;
    for (int i = 0; i < 20; i += 2)
        checksum ^= qFromLittleEndian<quint16>(placeable.bytes.constData() + i);
    placeable.u16(checksum);
    return placeable.bytes + meta.bytes + body.bytes;
}

// A real small JPEG whose frame header is rewritten to claim size.
QByteArray jpegClaiming(QSize size)
{
    QByteArray bytes = encoded(quadrants(16, 16), "JPEG");
    const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    if (sof < 0)
        qFatal("no SOF0 in the JPEG");
    qToBigEndian<quint16>(quint16(size.height()), bytes.data() + sof + 5);
    qToBigEndian<quint16>(quint16(size.width()), bytes.data() + sof + 7);
    return bytes;
}

// A real small bitmap whose info header is rewritten to claim size.
QByteArray bmpClaiming(QSize size)
{
    QByteArray bytes = encoded(quadrants(16, 16), "BMP");
    qToLittleEndian<qint32>(size.width(), bytes.data() + 18);
    qToLittleEndian<qint32>(size.height(), bytes.data() + 22);
    return bytes;
}

// A picture that compresses like a photograph: every pixel its own.
QImage noisy(int w, int h)
{
    QImage im(w, h, QImage::Format_RGB32);
    quint32 x = 12345;
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(im.scanLine(y));
        for (int i = 0; i < w; ++i) {
            x = x * 1103515245u + 12345u;
            line[i] = qRgb(int(x >> 24), int(x >> 16) & 0xff, (i + y) & 0xff);
        }
    }
    return im;
}

QByteArray garbage(int n)
{
    QByteArray bytes(n, Qt::Uninitialized);
    for (int i = 0; i < n; ++i)
        bytes[i] = char((i * 73 + 41) ^ (i >> 3));
    return bytes;
}

bool near(QRgb a, QColor b, int tolerance = 24)
{
    return qAbs(qRed(a) - b.red()) <= tolerance && qAbs(qGreen(a) - b.green()) <= tolerance
           && qAbs(qBlue(a) - b.blue()) <= tolerance;
}

long maxResidentKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A shell script standing in for the rasteriser.
QString script(const QTemporaryDir &dir, const QString &name, const QByteArray &body)
{
    const QString path = dir.filePath(name);
    fixtures::writeBytes(path, "#!/bin/sh\n" + body + "\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

} // namespace

class TestPictureCommands : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<AppFixture> f;
    std::unique_ptr<QTemporaryDir> files;

    PicturePage *page(int kind) const
    {
        PicturePage *pages[] = {f->window->photoPage, f->window->areaPlanPage, f->window->unitPlanPage};
        return pages[kind];
    }
    // Shows the page, as choosing it in the tree does.
    PicturePage *open(int kind)
    {
        f->window->selectNode(3 + kind);
        return page(kind);
    }
    static void click(QAbstractButton *b)
    {
        QVERIFY2(b->isVisible(), qPrintable(b->objectName()));
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // The user picks path in the "Carica immagine" dialog.
    void loadThroughDialog(PicturePage *p, const QString &path)
    {
        Messages::setFileAnswers([path](const FileDialogRequest &) { return path; });
        click(p->loadButton);
        Messages::setFileAnswers({});
    }
    QString file(const QString &name, const QByteArray &bytes)
    {
        const QString path = files->filePath(name);
        fixtures::writeBytes(path, bytes);
        return path;
    }
    static QList<bool> enabledStates(PicturePage *p)
    {
        QList<bool> out;
        for (QWidget *w : p->pictureControls())
            out << w->isEnabled();
        return out << p->pasteButton->isEnabled() << p->loadButton->isEnabled();
    }
    static void verifyPictureControls(PicturePage *p, bool enabled)
    {
        for (QWidget *w : p->pictureControls())
            QVERIFY2(w->isEnabled() == enabled, qPrintable(w->objectName()));
    }

private Q_SLOTS:
    void initTestCase()
    {
        app::setUpApplication(*qApp);
        // Built beside the program; the metafile rows depend on it.
        QVERIFY2(!pictures::metafileProgram().isEmpty(), "brevan-metafile not found");
    }
    void init()
    {
        f = std::make_unique<AppFixture>();
        files = std::make_unique<QTemporaryDir>();
        f->window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f->window.get()));
        QGuiApplication::clipboard()->clear();
    }
    void cleanup()
    {
        pictures::setMetafileProgram({});
        f.reset();
        files.reset();
    }

    void loadDialog()
    {
        PicturePage *p = open(PicturePage::Photo);
        Messages::setFileAnswers([](const FileDialogRequest &) { return QString(); });
        click(p->loadButton);
        Messages::setFileAnswers({});
        QCOMPARE(Messages::fileRequests().size(), 1);
        const FileDialogRequest r = Messages::fileRequests().constFirst();
        QCOMPARE(r.title, QStringLiteral("Carica immagine"));
        // Each entry: the caption as the command quotes it, then the patterns.
        QCOMPARE(r.filter, QStringLiteral("Tutti (*.jpg;*.jpeg;*.bmp;*.emf;*.wmf) (*.jpg *.jpeg *.bmp *.emf *.wmf);;"
                                          "Formato JPEG (*.jpg) (*.jpg);;Formato JPEG (*.jpeg) (*.jpeg);;"
                                          "Formato Bitmap (*.bmp) (*.bmp);;Formato Metafile avanzato(*.emf) (*.emf);;"
                                          "Formato Metafile standard (*.wmf) (*.wmf)"));
        QVERIFY(!r.save);
        // Cancelled: nothing changes, nothing is said.
        QVERIFY(!p->hasPicture());
        QVERIFY(Messages::shown().isEmpty());
        verifyPictureControls(p, false);
    }

    void loadGoodFiles_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("tolerance");

        const QImage q = quadrants(64, 48);
        QTest::newRow("bitmap on the photograph") << 0 << "a.bmp" << encoded(q, "BMP") << QSize(64, 48) << 0;
        QTest::newRow("jpg on the area plan") << 1 << "b.jpg" << encoded(q, "JPEG") << QSize(64, 48) << 24;
        QTest::newRow("jpeg on the unit plan") << 2 << "c.jpeg" << encoded(q, "JPEG") << QSize(64, 48) << 24;
        QTest::newRow("upper-case extension") << 0 << "D.JPG" << encoded(q, "JPEG") << QSize(64, 48) << 24;
    }
    void loadGoodFiles()
    {
        QFETCH(int, kind);
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, size);
        QFETCH(int, tolerance);

        PicturePage *p = open(kind);
        // A picture already there, stretched: the new one replaces it and the
        // box is cleared, which gives the zoom buttons back.
        loadThroughDialog(p, file(QStringLiteral("before.bmp"), encoded(quadrants(10, 10), "BMP")));
        click(p->stretchCheck);
        QVERIFY(p->stretchCheck->isChecked());
        QVERIFY(!p->zoomInButton->isEnabled());

        loadThroughDialog(p, file(name, bytes));
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().value(0).text));
        QCOMPARE(p->sourceImage().size(), size);
        QCOMPARE(p->shownSize(), size);
        QVERIFY(!p->stretchCheck->isChecked());
        QVERIFY(!p->pictureView->isStretched());
        verifyPictureControls(p, true);
        const QImage s = p->sourceImage();
        QVERIFY(near(s.pixel(8, 8), Qt::red, tolerance));
        QVERIFY(near(s.pixel(56, 8), Qt::green, tolerance));
        QVERIFY(near(s.pixel(8, 40), Qt::blue, tolerance));
        QVERIFY(near(s.pixel(56, 40), Qt::yellow, tolerance));
    }

    void loadMetafiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QColor>("fill");

        QTest::newRow("enhanced metafile") << "plan.emf" << emfFile(120, 80, qRgb(255, 0, 0)) << QSize(120, 80)
                                           << QColor(Qt::red);
        QTest::newRow("standard metafile") << "plan.wmf" << wmfFile(90, 60, qRgb(0, 0, 255)) << QSize(90, 60)
                                           << QColor(Qt::blue);
        QTest::newRow("upper-case EMF") << "PLAN.EMF" << emfFile(40, 30, qRgb(0, 255, 0)) << QSize(40, 30)
                                        << QColor(Qt::green);
    }
    void loadMetafiles()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, size);
        QFETCH(QColor, fill);

        PicturePage *p = open(PicturePage::UnitPlan);
        loadThroughDialog(p, file(name, bytes));
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().value(0).text));
        QVERIFY(p->hasPicture());
        QCOMPARE(p->sourceImage().size(), size);
        QVERIFY(near(p->sourceImage().pixel(size.width() / 2, size.height() / 2), fill));
        verifyPictureControls(p, true);
    }

    void metafileTextIsDrawn()
    {
        // libwmf draws text only with fonts it can find; without them it
        // refuses the whole file.
        PicturePage *p = open(PicturePage::UnitPlan);
        loadThroughDialog(p, file(QStringLiteral("text.wmf"), wmfFile(200, 60, 0, "Brevan")));
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().value(0).text));
        const QImage s = p->sourceImage();
        QCOMPARE(s.size(), QSize(200, 60));
        int ink = 0;
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                ink += qGray(s.pixel(x, y)) < 128;
        // Letters, not a blot and not an empty page.
        QVERIFY2(ink > 200 && ink < 200 * 60 / 2, qPrintable(QString::number(ink)));
    }

    void metafileWithHugeFrameIsBounded()
    {
        // A metafile has no pixels of its own: one claiming a frame of a
        // million pixels a side comes out scaled down to a bounded raster.
        PicturePage *p = open(PicturePage::AreaPlan);
        loadThroughDialog(p, file(QStringLiteral("huge.emf"), emfFile(1'000'000, 500'000, qRgb(0, 0, 255))));
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().value(0).text));
        const QSize s = p->sourceImage().size();
        QVERIFY(s.width() <= 8192 && s.height() <= 8192);
        QVERIFY(qint64(s.width()) * s.height() <= pictures::kMaxPixels);
        // Proportions kept.
        QVERIFY(qAbs(s.width() - 2 * s.height()) <= 2);
    }

    void badFilesKeepThePicture_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");

        const QString damagedJpeg = QStringLiteral("il file è danneggiato o non è un'immagine in formato JPEG.");
        const QString damagedBmp = QStringLiteral("il file è danneggiato o non è un'immagine in formato Bitmap.");
        const QString tooLarge
            = QStringLiteral("l'immagine è troppo grande (60000 × 60000 pixel; il massimo è 60 milioni di pixel).");
        const QByteArray jpeg = encoded(quadrants(64, 48), "JPEG");
        const QByteArray bmp = encoded(quadrants(64, 48), "BMP");

        QTest::newRow("empty jpg") << "empty.jpg" << QByteArray() << QStringLiteral("il file è vuoto.");
        QTest::newRow("empty emf") << "empty.emf" << QByteArray() << QStringLiteral("il file è vuoto.");
        QTest::newRow("noise named jpg") << "noise.jpg" << garbage(5000) << damagedJpeg;
        QTest::newRow("jpeg marker then noise") << "marker.jpg" << QByteArray("\xFF\xD8\xFF\xE0", 4) + garbage(300)
                                               << damagedJpeg;
        QTest::newRow("bitmap cut in the middle") << "cut.bmp" << bmp.left(bmp.size() / 2) << damagedBmp;
        QTest::newRow("bitmap header only") << "header.bmp" << bmp.left(40) << damagedBmp;
        QTest::newRow("png named jpg") << "png.jpg" << encoded(quadrants(8, 8), "PNG") << damagedJpeg;
        QTest::newRow("jpeg named bmp") << "jpeg.bmp" << jpeg << damagedBmp;
        // Qt's reader fills what is missing with grey and calls it a picture.
        const QByteArray photo = encoded(noisy(400, 300), "JPEG");
        QTest::newRow("jpeg cut after 2000 bytes") << "cut.jpg" << photo.left(2000) << damagedJpeg;
        QTest::newRow("jpeg without its last bytes") << "end.jpg" << photo.left(photo.size() - 40) << damagedJpeg;
        QTest::newRow("jpeg claiming 60000 × 60000") << "bomb.jpg" << jpegClaiming({60000, 60000}) << tooLarge;
        QTest::newRow("bitmap claiming 60000 × 60000") << "bomb.bmp" << bmpClaiming({60000, 60000}) << tooLarge;
        QTest::newRow("other extension") << "picture.png" << encoded(quadrants(8, 8), "PNG")
                                         << QStringLiteral("il formato del file non è tra quelli ammessi (JPEG, "
                                                           "Bitmap, Metafile avanzato EMF, Metafile standard WMF).");
        QTest::newRow("wmf named emf") << "wmf.emf" << wmfFile(20, 20, qRgb(1, 2, 3))
                                       << QStringLiteral("il file non è un metafile avanzato (EMF) valido.");
        QTest::newRow("emf named wmf") << "emf.wmf" << emfFile(20, 20, qRgb(1, 2, 3))
                                       << QStringLiteral("il file non è un metafile standard (WMF) valido.");
        QTest::newRow("emf header cut short") << "short.emf" << emfFile(20, 20, qRgb(1, 2, 3)).left(60)
                                              << QStringLiteral("il file non è un metafile avanzato (EMF) valido.");
        QTest::newRow("wmf header then noise")
            << "noise.wmf" << wmfFile(20, 20, qRgb(1, 2, 3)).left(40) + garbage(200)
            << QStringLiteral("il metafile standard (WMF) è danneggiato o non valido.");
    }
    void badFilesKeepThePicture()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);

        PicturePage *p = open(PicturePage::Photo);
        loadThroughDialog(p, file(QStringLiteral("good.bmp"), encoded(quadrants(30, 20), "BMP")));
        click(p->zoomInButton);
        click(p->stretchCheck);
        const QImage before = p->sourceImage();
        const QList<bool> states = enabledStates(p);
        QCOMPARE(p->shownSize(), QSize(33, 22));

        const QString path = file(name, bytes);
        const long rssBefore = maxResidentKb();
        loadThroughDialog(p, path);
        // The decoder never set about the claimed picture (3.6 billion pixels).
        QVERIFY(maxResidentKb() - rssBefore < 64 * 1024);

        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(Messages::shown().constFirst().kind, Messages::Shown::Error);
        QCOMPARE(Messages::shown().constFirst().text,
                 QStringLiteral("Impossibile caricare l'immagine \"%1\":\n%2").arg(QDir::toNativeSeparators(path), reason));
        QCOMPARE(p->sourceImage(), before);
        QCOMPARE(p->shownSize(), QSize(33, 22));
        QVERIFY(p->stretchCheck->isChecked());
        QCOMPARE(enabledStates(p), states);
    }

    void missingFile()
    {
        PicturePage *p = open(PicturePage::AreaPlan);
        const QString path = files->filePath(QStringLiteral("gone.jpg"));
        loadThroughDialog(p, path);
        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(Messages::shown().constFirst().text,
                 QStringLiteral("Impossibile caricare l'immagine \"%1\":\nil file non esiste o non è leggibile.")
                     .arg(QDir::toNativeSeparators(path)));
        QVERIFY(!p->hasPicture());
        verifyPictureControls(p, false);
    }

    // The rasteriser misbehaving in every way a hostile file could make it.
    void rasteriserFailures_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("reason");

        const QString damagedEmf
            = QStringLiteral("il file è danneggiato o non è un'immagine in formato Metafile avanzato (EMF).");
        QTest::newRow("crashes") << QByteArray("kill -SEGV $$") << damagedEmf;
        QTest::newRow("fails silently") << QByteArray("exit 1") << damagedEmf;
        QTest::newRow("fails with a message") << QByteArray("echo 'il metafile è strano.' >&2; exit 1")
                                              << QStringLiteral("il metafile è strano.");
        QTest::newRow("writes something else") << QByteArray("echo hello") << damagedEmf;
        QTest::newRow("floods its output") << QByteArray("exec cat /dev/zero")
                                           << QStringLiteral("il disegno del metafile è troppo grande.");
        QTest::newRow("never ends") << QByteArray("exec sleep 60")
                                    << QStringLiteral("la conversione del metafile non è terminata entro 10 secondi.");
    }
    void rasteriserFailures()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, reason);

        pictures::setMetafileProgram(script(*files, QStringLiteral("fake-rasteriser"), body));
        PicturePage *p = open(PicturePage::Photo);
        loadThroughDialog(p, file(QStringLiteral("good.bmp"), encoded(quadrants(30, 20), "BMP")));
        const QImage before = p->sourceImage();

        const QString path = file(QStringLiteral("plan.emf"), emfFile(20, 20, qRgb(0, 0, 0)));
        QElapsedTimer clock;
        clock.start();
        loadThroughDialog(p, path);
        QVERIFY(clock.elapsed() < pictures::kMetafileTimeoutMs + 5000);
        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(Messages::shown().constFirst().text,
                 QStringLiteral("Impossibile caricare l'immagine \"%1\":\n%2").arg(QDir::toNativeSeparators(path), reason));
        QCOMPARE(p->sourceImage(), before);
    }

    void rasteriserMissing()
    {
        pictures::setMetafileProgram(files->filePath(QStringLiteral("not-there")));
        PicturePage *p = open(PicturePage::Photo);
        const QString path = file(QStringLiteral("plan.wmf"), wmfFile(20, 20, qRgb(0, 0, 0)));
        loadThroughDialog(p, path);
        QCOMPARE(Messages::shown().size(), 1);
        QVERIFY(Messages::shown().constFirst().text.endsWith(
            QStringLiteral("il programma di conversione dei metafile (brevan-metafile) non è installato.")));
        QVERIFY(!p->hasPicture());
    }

    void zoomThroughTheButtons()
    {
        PicturePage *p = open(PicturePage::Photo);
        loadThroughDialog(p, file(QStringLiteral("wide.bmp"), encoded(quadrants(1000, 500), "BMP")));
        click(p->zoomInButton);
        QCOMPARE(p->shownSize(), QSize(1100, 550));
        QCOMPARE(p->pictureView->pictureRect().size(), QSize(1100, 550));
        click(p->zoomOutButton);
        QCOMPARE(p->shownSize(), QSize(990, 495));
        QCOMPARE(p->sourceImage().size(), QSize(1000, 500));

        // What is saved is the source picture, whatever the zoom.
        const QString target = files->filePath(QStringLiteral("saved.bmp"));
        Messages::setFileAnswers([target](const FileDialogRequest &) { return target; });
        click(p->saveButton);
        Messages::setFileAnswers({});
        QImageReader saved(target);
        QCOMPARE(saved.format(), QByteArray("bmp"));
        QCOMPARE(saved.read(), p->sourceImage().convertToFormat(QImage::Format_RGB32));
    }

    void zoomDownToNothing()
    {
        PicturePage *p = open(PicturePage::AreaPlan);
        loadThroughDialog(p, file(QStringLiteral("small.bmp"), encoded(quadrants(10, 10), "BMP")));
        for (int side = 9; side >= 0; --side) {
            click(p->zoomOutButton);
            QCOMPARE(p->shownSize(), QSize(side, side));
        }
        for (int i = 0; i < 3; ++i)
            click(p->zoomInButton);
        QCOMPARE(p->shownSize(), QSize(0, 0));
        // Still a picture: it can be saved, copied, deleted.
        QVERIFY(p->hasPicture());
        verifyPictureControls(p, true);
        QVERIFY(p->pictureView->pictureRect().isEmpty());
    }

    void stretchTakesTheZoomAway()
    {
        PicturePage *p = open(PicturePage::UnitPlan);
        loadThroughDialog(p, file(QStringLiteral("p.bmp"), encoded(quadrants(100, 60), "BMP")));
        click(p->zoomInButton);
        click(p->stretchCheck);
        QVERIFY(p->stretchCheck->isChecked());
        QVERIFY(!p->zoomInButton->isEnabled());
        QVERIFY(!p->zoomOutButton->isEnabled());
        QCOMPARE(p->pictureView->pictureRect(), p->pictureView->rect());
        click(p->stretchCheck);
        QVERIFY(p->zoomInButton->isEnabled());
        QVERIFY(p->zoomOutButton->isEnabled());
        QCOMPARE(p->pictureView->pictureRect().size(), QSize(110, 66));
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("Cancel") << false;
        QTest::newRow("OK") << true;
    }
    void deleteAsksFirst()
    {
        QFETCH(bool, ok);
        PicturePage *p = open(PicturePage::Photo);
        loadThroughDialog(p, file(QStringLiteral("p.bmp"), encoded(quadrants(40, 30), "BMP")));
        click(p->stretchCheck);
        QGuiApplication::clipboard()->setText(QStringLiteral("testo"));
        p->pasteButton->setEnabled(true);

        const QList<bool> states = enabledStates(p);
        f->answer = ok;
        click(p->deleteButton);
        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(Messages::shown().constFirst().kind, Messages::Shown::Confirm);
        QCOMPARE(Messages::shown().constFirst().text, QStringLiteral("Si conferma l'eliminazione dell'immagine?"));
        QCOMPARE(p->hasPicture(), !ok);
        QCOMPARE(p->stretchCheck->isChecked(), !ok);
        if (ok) {
            verifyPictureControls(p, false);
            QVERIFY(p->sourceImage().isNull());
            QCOMPARE(p->shownSize(), QSize(0, 0));
        } else {
            QCOMPARE(enabledStates(p), states);
            QCOMPARE(p->sourceImage().size(), QSize(40, 30));
        }
        // Delete leaves the paste button as it was.
        QVERIFY(p->pasteButton->isEnabled());
        QVERIFY(p->loadButton->isEnabled());
    }

    void copyThenPasteOnAnotherPage()
    {
        PicturePage *photo = open(PicturePage::Photo);
        PicturePage *area = page(PicturePage::AreaPlan);
        PicturePage *unit = page(PicturePage::UnitPlan);
        loadThroughDialog(photo, file(QStringLiteral("p.bmp"), encoded(quadrants(40, 30), "BMP")));
        click(photo->zoomInButton);

        click(photo->copyButton);
        // The source picture, not the zoomed one.
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), photo->sourceImage());
        QVERIFY(photo->hasPicture());
        // Only this page's paste button at once; the others at the next repaint.
        QVERIFY(photo->pasteButton->isEnabled());
        QVERIFY(!area->pasteButton->isEnabled());
        QVERIFY(!unit->pasteButton->isEnabled());
        for (PicturePage *p : {photo, area, unit})
            p->updatePasteAvailability();
        QVERIFY(area->pasteButton->isEnabled());
        QVERIFY(unit->pasteButton->isEnabled());

        open(PicturePage::AreaPlan);
        click(area->pasteButton);
        QCOMPARE(area->sourceImage().convertToFormat(QImage::Format_RGB32), photo->sourceImage());
        QCOMPARE(area->shownSize(), QSize(40, 30));
        QVERIFY(!area->stretchCheck->isChecked());
        verifyPictureControls(area, true);
    }

    void cutEmptiesThePage()
    {
        PicturePage *p = open(PicturePage::UnitPlan);
        loadThroughDialog(p, file(QStringLiteral("p.bmp"), encoded(quadrants(40, 30), "BMP")));
        const QImage source = p->sourceImage();
        click(p->stretchCheck);
        click(p->cutButton);
        QVERIFY(Messages::shown().isEmpty()); // no question
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), source);
        QVERIFY(!p->hasPicture());
        QVERIFY(!p->stretchCheck->isChecked());
        verifyPictureControls(p, false);
        QVERIFY(p->pasteButton->isEnabled());

        // And it comes back.
        click(p->pasteButton);
        QCOMPARE(p->sourceImage().convertToFormat(QImage::Format_RGB32), source);
        verifyPictureControls(p, true);
    }

    void pasteNeedsAPicture()
    {
        PicturePage *p = open(PicturePage::Photo);
        loadThroughDialog(p, file(QStringLiteral("p.bmp"), encoded(quadrants(40, 30), "BMP")));
        const QImage before = p->sourceImage();
        QGuiApplication::clipboard()->setText(QStringLiteral("non è un'immagine"));
        QVERIFY(!PicturePage::clipboardHasPicture());
        p->pasteButton->setEnabled(true);
        click(p->pasteButton);
        QCOMPARE(p->sourceImage(), before);
        // The next repaint takes the button away again.
        p->updatePasteAvailability();
        QVERIFY(!p->pasteButton->isEnabled());

        // A picture put there by another program enables it at the next repaint.
        QGuiApplication::clipboard()->setImage(quadrants(12, 8));
        QVERIFY(PicturePage::clipboardHasPicture());
        p->updatePasteAvailability();
        QVERIFY(p->pasteButton->isEnabled());
    }

    // A pasted picture is held within the same bound as a loaded one.
    void pastedPictureIsScaledDown()
    {
        PicturePage *p = open(PicturePage::Photo);
        QGuiApplication::clipboard()->setImage(quadrants(8192, 400));
        p->updatePasteAvailability();
        click(p->pasteButton);
        QCOMPARE(p->sourceImage().size(), QSize(4096, 200));
        QCOMPARE(p->sourceImage().pixelColor(10, 10), QColor(Qt::red));
        QCOMPARE(p->sourceImage().pixelColor(4085, 190), QColor(Qt::yellow));

        QGuiApplication::clipboard()->setImage(quadrants(300, 200));
        click(p->pasteButton);
        QCOMPARE(p->sourceImage().size(), QSize(300, 200));
    }

    void saveDialogAndFile_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("written");
        QTest::newRow("name as typed") << "mine.bmp" << "mine.bmp";
        QTest::newRow("default extension added") << "Image" << "Image.bmp";
        // Whatever the name says, the content is a bitmap.
        QTest::newRow("other extension kept") << "plan.jpg" << "plan.jpg";
    }
    void saveDialogAndFile()
    {
        QFETCH(QString, answer);
        QFETCH(QString, written);

        PicturePage *p = open(PicturePage::AreaPlan);
        // A half-transparent picture: the bitmap shows it over white.
        QImage picture(20, 10, QImage::Format_ARGB32);
        picture.fill(Qt::transparent);
        QPainter(&picture).fillRect(0, 0, 10, 10, Qt::blue);
        QGuiApplication::clipboard()->setImage(picture);
        p->updatePasteAvailability(); // the window's repaint
        click(p->pasteButton);
        QVERIFY(p->hasPicture());

        const QString target = files->filePath(answer);
        Messages::setFileAnswers([target](const FileDialogRequest &) { return target; });
        click(p->saveButton);
        Messages::setFileAnswers({});
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().value(0).text));
        const FileDialogRequest r = Messages::fileRequests().constLast();
        QCOMPARE(r.title, QStringLiteral("Salva immagine"));
        QCOMPARE(r.filter, QStringLiteral("Immagine formato Bitmap (*.bmp) (*.bmp)"));
        QCOMPARE(r.suggested, QStringLiteral("Image"));
        QVERIFY(r.save);

        const QString path = files->filePath(written);
        QCOMPARE(fixtures::readBytes(path).left(2), QByteArray("BM"));
        QImageReader reader(path, "bmp");
        const QImage saved = reader.read();
        QCOMPARE(saved.size(), QSize(20, 10));
        QCOMPARE(QColor(saved.pixel(5, 5)), QColor(Qt::blue));
        QCOMPARE(QColor(saved.pixel(15, 5)), QColor(Qt::white));
        // Nothing else left in the folder.
        QCOMPARE(QDir(files->path()).entryList(QDir::Files), QStringList{written});
    }

    void saveCancelled()
    {
        PicturePage *p = open(PicturePage::Photo);
        loadThroughDialog(p, file(QStringLiteral("p.bmp"), encoded(quadrants(40, 30), "BMP")));
        Messages::setFileAnswers([](const FileDialogRequest &) { return QString(); });
        click(p->saveButton);
        Messages::setFileAnswers({});
        QVERIFY(Messages::shown().isEmpty());
        QCOMPARE(QDir(files->path()).entryList(QDir::Files), QStringList{QStringLiteral("p.bmp")});
    }

    void saveFailures_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("read-only folder") << "readonly";
        QTest::newRow("folder that does not exist") << "missing";
        QTest::newRow("name of a folder") << "folder";
    }
    void saveFailures()
    {
        QFETCH(QString, where);
        PicturePage *p = open(PicturePage::Photo);
        loadThroughDialog(p, file(QStringLiteral("p.bmp"), encoded(quadrants(40, 30), "BMP")));

        QString target;
        if (where == QLatin1String("readonly")) {
            target = fixtures::readOnlyFolder(files->path()) + QStringLiteral("/Image.bmp");
        } else if (where == QLatin1String("missing")) {
            target = files->filePath(QStringLiteral("nowhere/Image.bmp"));
        } else {
            QDir(files->path()).mkdir(QStringLiteral("Image.bmp"));
            target = files->filePath(QStringLiteral("Image.bmp"));
        }
        Messages::setFileAnswers([target](const FileDialogRequest &) { return target; });
        click(p->saveButton);
        Messages::setFileAnswers({});
        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(Messages::shown().constFirst().kind, Messages::Shown::Error);
        QVERIFY(Messages::shown().constFirst().text.startsWith(
            QStringLiteral("Impossibile salvare l'immagine \"%1\":\n").arg(QDir::toNativeSeparators(target))));
        QVERIFY(!QFileInfo(target).isFile());
        // No temporary file left behind, and the page is as it was.
        const QStringList left = QDir(QFileInfo(target).absolutePath()).entryList(QDir::Files);
        QVERIFY2(!left.join(QLatin1Char(' ')).contains(QStringLiteral("Image")), qPrintable(left.join(' ')));
        QVERIFY(p->hasPicture());
    }

    void saveKeepsTheOldFileOnFailure()
    {
        // An existing bitmap is replaced only by a complete one: a picture the
        // writer refuses (no picture at all) leaves it byte for byte.
        const QString target = file(QStringLiteral("old.bmp"), encoded(quadrants(8, 8), "BMP"));
        const QByteArray old = fixtures::readBytes(target);
        QVERIFY_THROWS_EXCEPTION(PictureError, pictures::saveBitmap(QImage(), target));
        QCOMPARE(fixtures::readBytes(target), old);
    }

    void openingAndNewAppraisal()
    {
        PicturePage *p = open(PicturePage::AreaPlan);
        loadThroughDialog(p, file(QStringLiteral("first.bmp"), encoded(quadrants(30, 20), "BMP")));
        click(p->stretchCheck);

        // Opening an appraisal: the saved bitmap becomes both pictures.
        p->setPictureFromFile(file(QStringLiteral("PlanimZona - Via Roma 1.bmp"), encoded(quadrants(50, 40), "BMP")));
        QCOMPARE(p->sourceImage().size(), QSize(50, 40));
        QCOMPARE(p->shownSize(), QSize(50, 40));
        QVERIFY(!p->stretchCheck->isChecked());
        verifyPictureControls(p, true);

        // A damaged saved bitmap: the caller's guard reports it; the page keeps its picture.
        const QImage before = p->sourceImage();
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 p->setPictureFromFile(file(QStringLiteral("bad.bmp"), garbage(100))));
        QCOMPARE(p->sourceImage(), before);
        verifyPictureControls(p, true);
        QVERIFY(Messages::shown().isEmpty());

        // A new appraisal empties the page; paste keeps its state.
        click(p->stretchCheck);
        p->pasteButton->setEnabled(true);
        p->clearForNewAppraisal();
        QVERIFY(!p->hasPicture());
        QVERIFY(!p->stretchCheck->isChecked());
        verifyPictureControls(p, false);
        QVERIFY(p->pasteButton->isEnabled());
        QVERIFY(p->loadButton->isEnabled());
        QVERIFY(Messages::shown().isEmpty());
    }

    void commandsWithoutPictureDoNothing()
    {
        // Called straight (the buttons are disabled): nothing to act on.
        PicturePage *p = open(PicturePage::Photo);
        p->SpeedButtonZoomImageClick(110);
        p->SpeedButtonCopyImageClick();
        p->SpeedButtonCutImageClick();
        p->SpeedButtonSaveImageClick();
        QVERIFY(!p->hasPicture());
        QCOMPARE(p->shownSize(), QSize(0, 0));
        QVERIFY(!PicturePage::clipboardHasPicture());
        QVERIFY(!p->pasteButton->isEnabled());
        QVERIFY(Messages::fileRequests().isEmpty());
    }
};

QTEST_MAIN(TestPictureCommands)
#include "tst_picturecommands.moc"
