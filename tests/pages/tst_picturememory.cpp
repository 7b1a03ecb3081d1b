// SPDX-License-Identifier: GPL-2.0-or-later
// Pictures and memory: a large picture is scaled down while it is decoded,
// so three of them stay within a bound; a file that only claims to be large
// costs neither time nor memory; JPEG data cut short or damaged is refused
// (Qt's own reader would show it half grey); the colour forms a JPEG may hold
// come out right; and memory that runs out is said as such.
#include "pages/jpegdecoder.h"
#include "pages/pictureloader.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace brevan::ui;

namespace {

QByteArray encoded(const QImage &image, const char *format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    if (!writer.write(image))
        qFatal("cannot encode %s", format);
    return bytes;
}

// Left half red, right half blue.
QImage halves(int w, int h)
{
    QImage im(w, h, QImage::Format_RGB32);
    QPainter p(&im);
    p.fillRect(0, 0, w / 2, h, Qt::red);
    p.fillRect(w / 2, 0, w - w / 2, h, Qt::blue);
    return im;
}

// A picture that compresses like a photograph: every pixel its own.
QImage noisy(int w, int h)
{
    QImage im(w, h, QImage::Format_RGB32);
    quint32 x = 2024;
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(im.scanLine(y));
        for (int i = 0; i < w; ++i) {
            x = x * 1103515245u + 12345u;
            line[i] = qRgb(int(x >> 24), int(x >> 16) & 0xff, (i * 3 + y) & 0xff);
        }
    }
    return im;
}

// A JPEG whose frame header claims another size; its data then runs out.
QByteArray jpegClaiming(QSize size)
{
    QByteArray bytes = encoded(halves(16, 16), "JPEG");
    const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    qToBigEndian<quint16>(quint16(size.height()), bytes.data() + sof + 5);
    qToBigEndian<quint16>(quint16(size.width()), bytes.data() + sof + 7);
    return bytes;
}

// A JPEG written with libjpeg itself, line by line, so that a large one never
// exists as a picture in the test: every line is the given bytes. Also the
// forms Qt does not write: four inks (as Adobe writes them, inverted) and one
// grey channel.
QByteArray jpegOf(J_COLOR_SPACE space, int components, int w, int h, const QByteArray &line, bool progressive = false)
{
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char *out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = JDIMENSION(w);
    cinfo.image_height = JDIMENSION(h);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    if (space == JCS_CMYK) {
        jpeg_set_colorspace(&cinfo, JCS_CMYK);
        cinfo.write_Adobe_marker = TRUE;
    }
    if (progressive)
        jpeg_simple_progression(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    QByteArray row = line;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW r = reinterpret_cast<JSAMPROW>(row.data());
        jpeg_write_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_compress(&cinfo);
    const QByteArray bytes(reinterpret_cast<const char *>(out), qsizetype(size));
    jpeg_destroy_compress(&cinfo);
    free(out);
    return bytes;
}

// Left half red, right half blue, as a JPEG.
QByteArray halvesJpeg(int w, int h, bool progressive = false)
{
    const QByteArray line = QByteArray("\xff\x00\x00", 3).repeated(w / 2) + QByteArray("\x00\x00\xff", 3).repeated(w - w / 2);
    return jpegOf(JCS_RGB, 3, w, h, line, progressive);
}

// A JPEG with an EXIF block saying how the camera was held.
QByteArray withOrientation(const QByteArray &jpeg, quint16 orientation)
{
    QByteArray exif("Exif\0\0", 6);
    exif += QByteArray("II*\0\x08\0\0\0", 8);           // little-endian TIFF, IFD at 8
    exif += QByteArray("\x01\0", 2);                      // one entry
    exif += QByteArray("\x12\x01\x03\0\x01\0\0\0", 8);   // Orientation, SHORT, 1
    exif += char(orientation & 0xff);
    exif += char(orientation >> 8);
    exif += QByteArray("\0\0\0\0\0\0", 6);               // padding, no next IFD
    QByteArray segment("\xFF\xE1", 2);
    segment += char((exif.size() + 2) >> 8);
    segment += char((exif.size() + 2) & 0xff);
    segment += exif;
    return jpeg.left(2) + segment + jpeg.mid(2);
}

bool near(QRgb a, QColor b, int tolerance = 20)
{
    return qAbs(qRed(a) - b.red()) <= tolerance && qAbs(qGreen(a) - b.green()) <= tolerance
           && qAbs(qBlue(a) - b.blue()) <= tolerance;
}

long peakResidentMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

} // namespace

class TestPictureMemory : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString file(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    static QString loadFailure(const QString &path)
    {
        try {
            pictures::load(path);
        } catch (const PictureError &e) {
            return e.text();
        }
        return {};
    }

private Q_SLOTS:
    // First, so that the peak memory it measures is its own.
    // Three photographs of 40 million pixels each (160 MB apiece at full
    // size) come in at a fraction of that, and quickly.
    void threeLargePhotographsStayBounded()
    {
        const QString path = file("grande.jpg", halvesJpeg(8000, 5000));
        const long before = peakResidentMb();
        QElapsedTimer clock;
        clock.start();
        QList<QImage> held;
        for (int i = 0; i < 3; ++i)
            held << pictures::load(path);
        const qint64 ms = clock.elapsed();
        qint64 bytes = 0;
        for (const QImage &im : held)
            bytes += im.sizeInBytes();
        qInfo("three 8000 × 5000 JPEGs: %lld ms, %lld MB held, peak grew %ld MB", ms, bytes >> 20,
              peakResidentMb() - before);
        QVERIFY(bytes <= 3 * qint64(pictures::kMaxSide) * pictures::kMaxSide * 4);
        QCOMPARE(held.first().size(), QSize(4000, 2500));
        if (!kAddressSanitizer)
            QVERIFY2(peakResidentMb() - before < 300, qPrintable(QString::number(peakResidentMb() - before)));
    }

    // Larger than kMaxSide on a side: scaled down on decoding to fit, with
    // its proportions and its content.
    void largePicturesScaledDown_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("progressive");
        QTest::addColumn<QSize>("loaded");
        // A JPEG is decoded at the largest of libjpeg's eighths that fits.
        QTest::newRow("jpeg 6000 × 4000") << "wide.jpg" << QSize(6000, 4000) << false << QSize(3750, 2500);
        QTest::newRow("progressive jpeg 3000 × 7000") << "tall.jpg" << QSize(3000, 7000) << true << QSize(1500, 3500);
        QTest::newRow("jpeg at the bound") << "edge.jpg" << QSize(4096, 100) << false << QSize(4096, 100);
        QTest::newRow("bitmap 5000 × 3000") << "wide.bmp" << QSize(5000, 3000) << false << QSize(4096, 2458);
        QTest::newRow("small bitmap untouched") << "small.bmp" << QSize(640, 480) << false << QSize(640, 480);
    }
    void largePicturesScaledDown()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        QFETCH(bool, progressive);
        QFETCH(QSize, loaded);
        const QString path = file(name, name.endsWith(".bmp") ? encoded(halves(size.width(), size.height()), "BMP")
                                                               : halvesJpeg(size.width(), size.height(), progressive));
        const QImage image = pictures::load(path);
        QVERIFY(qAbs(image.width() - loaded.width()) <= 1 && qAbs(image.height() - loaded.height()) <= 1);
        QVERIFY(image.width() <= pictures::kMaxSide && image.height() <= pictures::kMaxSide);
        QVERIFY(near(image.pixel(image.width() / 4, image.height() / 2), Qt::red));
        QVERIFY(near(image.pixel(image.width() * 3 / 4, image.height() / 2), Qt::blue));
    }

    // A few hundred bytes claiming a huge picture: refused, without the
    // memory or the time the claim would take.
    void smallFilesClaimingHugePictures_data()
    {
        QTest::addColumn<QSize>("claimed");
        QTest::addColumn<QString>("reason");
        QTest::newRow("7745 × 7745, data missing")
            << QSize(7745, 7745) << QStringLiteral("il file è danneggiato o non è un'immagine in formato JPEG.");
        QTest::newRow("9000 × 9000, over the limit")
            << QSize(9000, 9000)
            << QStringLiteral("l'immagine è troppo grande (9000 × 9000 pixel; il massimo è 60 milioni di pixel).");
    }
    void smallFilesClaimingHugePictures()
    {
        QFETCH(QSize, claimed);
        QFETCH(QString, reason);
        const QByteArray bytes = jpegClaiming(claimed);
        QVERIFY(bytes.size() < 1000);
        const QString path = file("bomba.jpg", bytes);
        const long before = peakResidentMb();
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 3; ++i)
            QCOMPARE(loadFailure(path), QStringLiteral("Impossibile caricare l'immagine \"%1\":\n%2")
                                            .arg(QDir::toNativeSeparators(path), reason));
        qInfo("three %d × %d claims refused in %lld ms", claimed.width(), claimed.height(), clock.elapsed());
        QVERIFY(clock.elapsed() < 2000);
        if (!kAddressSanitizer)
            QVERIFY(peakResidentMb() - before < 64);
    }

    // A run-length coded bitmap of a thousand bytes can declare a picture
    // that the reader would decode whole (7745 × 7745: 60 million pixels)
    // before scaling it down: refused before a pixel is decoded. One at the
    // bound still loads.
    // The 24-bit bitmaps the program saves its pictures as are read without
    // Qt's reader, pixel for pixel as it reads them: every row padding
    // (widths 1 to 5), bottom-up as written and top-down.
    void plainBitmapsReadAsQtReadsThem_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("topDown");
        for (const QSize size : {QSize(1, 1), QSize(2, 3), QSize(3, 2), QSize(4, 4), QSize(5, 7), QSize(333, 201)}) {
            for (const bool topDown : {false, true})
                QTest::addRow("%d × %d %s", size.width(), size.height(), topDown ? "top-down" : "bottom-up")
                    << size << topDown;
        }
    }
    void plainBitmapsReadAsQtReadsThem()
    {
        QFETCH(QSize, size);
        QFETCH(bool, topDown);
        QByteArray bmp = encoded(noisy(size.width(), size.height()), "BMP");
        QCOMPARE(qFromLittleEndian<quint16>(bmp.constData() + 28), quint16(24));
        if (topDown) {
            const int offBits = qFromLittleEndian<qint32>(bmp.constData() + 10);
            const int stride = (size.width() * 3 + 3) / 4 * 4;
            QByteArray flipped = bmp.left(offBits);
            for (int y = size.height() - 1; y >= 0; --y)
                flipped += bmp.mid(offBits + y * stride, stride);
            flipped += bmp.mid(offBits + size.height() * stride);
            qToLittleEndian<qint32>(-size.height(), flipped.data() + 22);
            bmp = flipped;
        }
        const QString path = file(QStringLiteral("piana.bmp"), bmp);
        QImageReader qt(path, "bmp");
        const QImage expected = qt.read();
        QVERIFY(!expected.isNull());
        const QImage read = pictures::load(path);
        QCOMPARE(read.format(), expected.format());
        QCOMPARE(read, expected);
        if (!topDown)
            QCOMPARE(read, noisy(size.width(), size.height()));
    }

    void bitmapsClaimingHugePictures_data()
    {
        QTest::addColumn<QSize>("claimed");
        QTest::addColumn<QString>("reason");
        QTest::newRow("7745 × 7745")
            << QSize(7745, 7745)
            << QStringLiteral("l'immagine è troppo grande (7745 × 7745 pixel; il massimo per un'immagine Bitmap è "
                              "4096 × 4096 pixel).");
        QTest::newRow("16384 × 1025")
            << QSize(16384, 1025)
            << QStringLiteral("l'immagine è troppo grande (16384 × 1025 pixel; il massimo per un'immagine Bitmap è "
                              "4096 × 4096 pixel).");
        QTest::newRow("4096 × 4096, at the bound") << QSize(4096, 4096) << QString();
    }
    void bitmapsClaimingHugePictures()
    {
        QFETCH(QSize, claimed);
        QFETCH(QString, reason);
        // File header, info header (8 bits a pixel, RLE8), a grey palette,
        // and the run-length data: one end of bitmap.
        QByteArray bmp(14 + 40 + 256 * 4, '\0');
        const auto put32 = [&bmp](int at, quint32 v) { qToLittleEndian(v, bmp.data() + at); };
        const auto put16 = [&bmp](int at, quint16 v) { qToLittleEndian(v, bmp.data() + at); };
        bmp[0] = 'B';
        bmp[1] = 'M';
        put32(10, 14 + 40 + 256 * 4);
        put32(14, 40);
        put32(18, quint32(claimed.width()));
        put32(22, quint32(claimed.height()));
        put16(26, 1);
        put16(28, 8);
        put32(30, 1); // BI_RLE8
        put32(46, 256);
        for (int i = 0; i < 256; ++i)
            put32(54 + 4 * i, quint32(i * 0x010101));
        bmp += QByteArray("\x00\x01", 2);
        put32(2, quint32(bmp.size()));
        put32(34, 2);
        QVERIFY(bmp.size() < 1100);
        const QString path = file("bomba.bmp", bmp);
        const long before = peakResidentMb();
        QElapsedTimer clock;
        clock.start();
        if (reason.isEmpty()) {
            const QImage image = pictures::load(path);
            QCOMPARE(image.size(), claimed);
            return;
        }
        for (int i = 0; i < 3; ++i)
            QCOMPARE(loadFailure(path), QStringLiteral("Impossibile caricare l'immagine \"%1\":\n%2")
                                            .arg(QDir::toNativeSeparators(path), reason));
        qInfo("three %d × %d bitmaps refused in %lld ms", claimed.width(), claimed.height(), clock.elapsed());
        QVERIFY(clock.elapsed() < 2000);
        if (!kAddressSanitizer)
            QVERIFY(peakResidentMb() - before < 64);
    }

    // JPEG data cut short or damaged: refused, whatever the decoder would
    // have filled in. Bytes between segments and data after the end leave
    // the picture whole.
    void damagedJpegData_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("accepted");
        const QByteArray photo = encoded(noisy(300, 200), "JPEG");
        const QByteArray progressive = encoded(noisy(300, 200), "JPEG", true);
        const qsizetype scan = photo.indexOf(QByteArray("\xFF\xDA", 2));
        QVERIFY(scan > 0);
        QTest::newRow("whole") << photo << true;
        QTest::newRow("whole, progressive") << progressive << true;
        QTest::newRow("cut after 2000 bytes") << photo.left(2000) << false;
        QTest::newRow("cut in the header") << photo.left(scan) << false;
        QTest::newRow("end marker missing") << photo.left(photo.size() - 2) << false;
        QTest::newRow("progressive cut in half") << progressive.left(progressive.size() / 2) << false;
        QByteArray marker = photo;
        marker.replace(scan + 400, 2, QByteArray("\xFF\xD9", 2));
        QTest::newRow("end marker inside the data") << marker << false;
        QTest::newRow("bytes after the end") << photo + QByteArray(100, 'x') << true;
        QByteArray extra = photo;
        extra.insert(photo.size() - 2, QByteArray("\x01\x02\x03", 3));
        QTest::newRow("bytes before the end marker") << extra << true;
    }
    void damagedJpegData()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, accepted);
        const QString path = file("foto.jpg", bytes);
        const QString failure = loadFailure(path);
        if (accepted)
            QCOMPARE(failure, QString());
        else
            QVERIFY2(failure.endsWith(QStringLiteral("il file è danneggiato o non è un'immagine in formato JPEG.")),
                     qPrintable(failure));
    }

    // The colour forms of JPEG files and the orientation of a camera.
    void colourFormsAndOrientation_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QColor>("leftColour");
        QTest::addColumn<QColor>("rightColour");
        const QByteArray grey("\x80", 1);
        // Adobe's inverted inks: 255 is no ink. Cyan alone.
        const QByteArray cyan("\x00\xff\xff\xff", 4);
        QTest::newRow("grey") << jpegOf(JCS_GRAYSCALE, 1, 40, 20, grey.repeated(40)) << QSize(40, 20) << QColor(128, 128, 128)
                              << QColor(128, 128, 128);
        QTest::newRow("four inks") << jpegOf(JCS_CMYK, 4, 40, 20, cyan.repeated(40)) << QSize(40, 20) << QColor(0, 255, 255)
                                   << QColor(0, 255, 255);
        const QByteArray wide = encoded(halves(40, 20), "JPEG");
        QTest::newRow("upright") << withOrientation(wide, 1) << QSize(40, 20) << QColor(Qt::red) << QColor(Qt::blue);
        QTest::newRow("upside down") << withOrientation(wide, 3) << QSize(40, 20) << QColor(Qt::blue)
                                     << QColor(Qt::red);
        // Turned a quarter clockwise: the red half ends on top.
        QTest::newRow("quarter turn") << withOrientation(wide, 6) << QSize(20, 40) << QColor() << QColor();
    }
    void colourFormsAndOrientation()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, size);
        QFETCH(QColor, leftColour);
        QFETCH(QColor, rightColour);
        const QImage image = pictures::load(file("colore.jpg", bytes));
        QCOMPARE(image.size(), size);
        QCOMPARE(image.format(), QImage::Format_RGB32);
        if (leftColour.isValid()) {
            QVERIFY(near(image.pixel(5, size.height() / 2), leftColour));
            QVERIFY(near(image.pixel(size.width() - 5, size.height() / 2), rightColour));
        } else {
            QVERIFY(near(image.pixel(10, 5), Qt::red));
            QVERIFY(near(image.pixel(10, size.height() - 5), Qt::blue));
        }
    }

    // With the address space nearly used up, a picture that cannot get its
    // memory is reported as such, not as a damaged file. Run in a child
    // process, whose address space is limited.
    void outOfMemorySaidSo_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("jpeg") << "poca.jpg";
        QTest::newRow("bitmap") << "poca.bmp";
    }
    void outOfMemorySaidSo()
    {
        if (kAddressSanitizer)
            QSKIP("the address sanitizer does not run under an address-space limit");
        QFETCH(QString, name);
        const QString path
            = file(name, name.endsWith(".bmp") ? encoded(halves(4096, 4096), "BMP") : halvesJpeg(4096, 4096));
        int pipeFds[2];
        QVERIFY(::pipe(pipeFds) == 0);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ::close(pipeFds[0]);
            // What the process uses now, and 20 MB more: not the 64 MB the
            // picture needs, which is also more than malloc's reserved
            // arenas (64 MB each, already counted) can hand out.
            long pages = 0;
            if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
                if (std::fscanf(statm, "%ld", &pages) != 1)
                    pages = 0;
                std::fclose(statm);
            }
            rlimit limit{};
            limit.rlim_cur = limit.rlim_max = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + 20 * 1024 * 1024;
            ::setrlimit(RLIMIT_AS, &limit);
            QByteArray said;
            try {
                pictures::load(path);
                said = "caricata";
            } catch (const PictureError &e) {
                said = e.text().toUtf8();
            } catch (...) {
                said = "altro";
            }
            (void)!::write(pipeFds[1], said.constData(), size_t(said.size()));
            ::_exit(0);
        }
        ::close(pipeFds[1]);
        QByteArray said;
        char buffer[512];
        ssize_t n = 0;
        while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
            said.append(buffer, n);
        ::close(pipeFds[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        QVERIFY2(QString::fromUtf8(said).contains(QStringLiteral("memoria insufficiente")), said.constData());
    }
};

QTEST_MAIN(TestPictureMemory)
#include "tst_picturememory.moc"
