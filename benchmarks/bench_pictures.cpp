// SPDX-License-Identifier: GPL-2.0-or-later
// Loading the three pictures of an appraisal: small JPEG files that claim a
// huge picture, and large photographs. Each case loads three pictures in a
// child process of its own and prints its wall time and peak memory.
#include "pages/pictureloader.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A photograph-sized JPEG, written line by line: left red, right blue, with a
// little noise so that it compresses like a picture.
QByteArray photograph(int w, int h)
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
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 85, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    QByteArray line(w * 3, Qt::Uninitialized);
    quint32 x = 7;
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int i = 0; i < w; ++i) {
            x = x * 1103515245u + 12345u;
            const int n = int(x >> 28);
            line[3 * i] = char(i < w / 2 ? 230 + n : n);
            line[3 * i + 1] = char(n * 4);
            line[3 * i + 2] = char(i < w / 2 ? n : 230 + n);
        }
        JSAMPROW row = reinterpret_cast<JSAMPROW>(line.data());
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    const QByteArray bytes(reinterpret_cast<const char *>(out), qsizetype(size));
    jpeg_destroy_compress(&cinfo);
    free(out);
    return bytes;
}

// A small baseline JPEG whose frame header claims w × h.
QByteArray claiming(int w, int h)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::gray);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 10);
    const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    qToBigEndian<quint16>(quint16(h), bytes.data() + sof + 5);
    qToBigEndian<quint16>(quint16(w), bytes.data() + sof + 7);
    return bytes;
}

int runCase(int argc, char *argv[], const QString &path)
{
    QGuiApplication app(argc, argv);
    // Held together, as the three picture pages hold them.
    QList<QImage> held;
    for (int i = 0; i < 3; ++i) {
        try {
            held << brevan::ui::pictures::load(path);
        } catch (const std::exception &) {
        }
    }
    return int(held.size());
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "--case") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        int qtArgc = 1;
        return runCase(qtArgc, argv, QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication core(argc, argv);
    QTemporaryDir dir;
    const struct {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        {"small file claiming 7745 x 7745", claiming(7745, 7745)},
        {"photograph 4000 x 3000", photograph(4000, 3000)},
        {"photograph 8000 x 6000", photograph(8000, 6000)},
    };
    for (const auto &c : cases) {
        const QString path = dir.filePath(QStringLiteral("foto.jpg"));
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(c.bytes);
        f.close();
        QElapsedTimer clock;
        clock.start();
        const pid_t child = fork();
        if (child == 0) {
            const QByteArray p = QFile::encodeName(path);
            execl(argv[0], argv[0], "--case", p.constData(), static_cast<char *>(nullptr));
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        std::printf("three pictures, %s (%lld bytes): %.0f ms, peak %ld MB, %d loaded\n", c.name,
                    static_cast<long long>(c.bytes.size()), clock.nsecsElapsed() / 1e6, usage.ru_maxrss / 1024,
                    WIFEXITED(status) ? WEXITSTATUS(status) : -1);
        std::fflush(stdout);
    }
    return 0;
}
