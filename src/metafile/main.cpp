// SPDX-License-Identifier: GPL-2.0-or-later
// brevan-metafile INPUT
//
// Rasterises one enhanced metafile (.emf, through libemf2svg and Qt's SVG
// renderer) or standard metafile (.wmf, through libwmf's gd device) and writes
// the picture as PNG on standard output. On failure it writes one Italian line
// on standard error and ends with status 2 (usage, or a file it cannot use)
// or 1 (anything else).
//
// Both libraries have a record of memory-safety bugs on crafted files, so the
// main program never links them: it runs this program as a child with a time
// limit and reads back only a PNG, which it decodes under its own limits. The
// limits set here (address space, CPU time, input and output size) keep a
// hostile file from making this process a burden on the machine either.
#include "cli/commandline.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

#ifdef BREVAN_HAVE_EMF2SVG
#include <emf2svg.h>
#endif
#ifdef BREVAN_HAVE_LIBWMF
#include <libwmf/api.h>
#include <libwmf/gd.h>
#endif

namespace {

// Metafiles are small vector files; anything larger is refused unread.
constexpr qint64 kMaxInputBytes = 32 * 1024 * 1024;
// The PNG gd may write for the largest raster.
constexpr qint64 kMaxOutputBytes = 128 * 1024 * 1024;
// The raster: a picture whose natural size exceeds these is scaled down to
// fit, keeping its proportions (a metafile has no pixels of its own).
constexpr int kMaxSide = 6000;
constexpr qint64 kMaxPixels = 16 * 1024 * 1024;
// Default raster when a metafile states no usable size.
constexpr int kFallbackSide = 512;

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The address sanitizer reserves terabytes of address space for its shadow
// memory: under it, the address-space limit would stop the child before it
// starts, so sanitizer builds go without it (and keep the others).
#if defined(__SANITIZE_ADDRESS__)
#define BREVAN_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BREVAN_ADDRESS_SANITIZER 1
#endif
#endif
#ifdef BREVAN_ADDRESS_SANITIZER
constexpr bool kLimitAddressSpace = false;
#else
constexpr bool kLimitAddressSpace = true;
#endif

void limitResources()
{
    const struct {
        int resource;
        rlim_t value;
    } limits[] = {
        {RLIMIT_AS, rlim_t(1536) * 1024 * 1024},
        {RLIMIT_CPU, 15},
        {RLIMIT_CORE, 0},
    };
    for (const auto &l : limits) {
        if (l.resource == RLIMIT_AS && !kLimitAddressSpace)
            continue;
        rlimit r{};
        if (getrlimit(l.resource, &r) == 0) {
            r.rlim_cur = std::min<rlim_t>(l.value, r.rlim_max);
            setrlimit(l.resource, &r);
        }
    }
}

quint32 le32(const QByteArray &d, int at)
{
    const auto *p = reinterpret_cast<const unsigned char *>(d.constData()) + at;
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

quint16 le16(const QByteArray &d, int at)
{
    const auto *p = reinterpret_cast<const unsigned char *>(d.constData()) + at;
    return quint16(p[0] | p[1] << 8);
}

bool looksLikeEmf(const QByteArray &d)
{
    // EMR_HEADER first, with the " EMF" signature at offset 40.
    return d.size() >= 88 && le32(d, 0) == 1 && le32(d, 4) >= 88 && le32(d, 40) == 0x464D4520u;
}

bool looksLikeWmf(const QByteArray &d)
{
    if (d.size() >= 22 && le32(d, 0) == 0x9AC6CDD7u)
        return true; // placeable header
    // Bare METAHEADER: memory or disk metafile, 9-word header, version 1 or 3.
    return d.size() >= 18 && (le16(d, 0) == 1 || le16(d, 0) == 2) && le16(d, 2) == 9
           && (le16(d, 4) == 0x0100 || le16(d, 4) == 0x0300);
}

// The raster size for a picture of natural size w × h: at most kMaxSide per
// side and kMaxPixels in all, proportions kept, at least 1 × 1.
QSize boundedSize(double w, double h)
{
    if (!(w >= 1 && h >= 1) || !std::isfinite(w) || !std::isfinite(h))
        return {kFallbackSide, kFallbackSide};
    double scale = std::min({1.0, kMaxSide / w, kMaxSide / h});
    const double pixels = w * scale * h * scale;
    if (pixels > double(kMaxPixels))
        scale *= std::sqrt(double(kMaxPixels) / pixels);
    return {std::max(1, int(w * scale)), std::max(1, int(h * scale))};
}

#ifdef BREVAN_HAVE_EMF2SVG
QImage rasteriseEmf(QByteArray data)
{
    generatorOptions options{};
    char nameSpace[] = "svg";
    options.nameSpace = nameSpace;
    options.verbose = false;
    options.emfplus = true;
    options.svgDelimiter = true;
    char *svg = nullptr;
    size_t svgLength = 0;
    const int ok = emf2svg(data.data(), size_t(data.size()), &svg, &svgLength, &options);
    std::unique_ptr<char, decltype(&std::free)> owned(svg, &std::free);
    if (!ok || !svg || svgLength == 0)
        throw Failure("il metafile avanzato (EMF) è danneggiato o non valido.");

    QSvgRenderer renderer(QByteArray(svg, qsizetype(svgLength)));
    if (!renderer.isValid())
        throw Failure("il metafile avanzato (EMF) non contiene un disegno leggibile.");
    QSizeF natural = renderer.viewBoxF().size();
    if (natural.isEmpty())
        natural = renderer.defaultSize();
    const QSize size = boundedSize(natural.width(), natural.height());
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        throw Failure("memoria insufficiente per il disegno del metafile.");
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(image.rect()));
    painter.end();
    return image;
}
#endif

#ifdef BREVAN_HAVE_LIBWMF
// libwmf draws text with the 13 standard PostScript fonts and refuses to play
// a metafile when it finds none of them. Debian installs them (gsfonts) only
// on request, so they are mapped onto the metric-compatible Liberation fonts
// the program already depends on, with DejaVu Sans for the symbols.
wmfMapping kPostScriptFonts[] = {
    {const_cast<char *>("Times-Roman"), const_cast<char *>("LiberationSerif-Regular.ttf"), FT_ENCODING_NONE},
    {const_cast<char *>("Times-Italic"), const_cast<char *>("LiberationSerif-Italic.ttf"), FT_ENCODING_NONE},
    {const_cast<char *>("Times-Bold"), const_cast<char *>("LiberationSerif-Bold.ttf"), FT_ENCODING_NONE},
    {const_cast<char *>("Times-BoldItalic"), const_cast<char *>("LiberationSerif-BoldItalic.ttf"), FT_ENCODING_NONE},
    {const_cast<char *>("Helvetica"), const_cast<char *>("LiberationSans-Regular.ttf"), FT_ENCODING_NONE},
    {const_cast<char *>("Helvetica-Oblique"), const_cast<char *>("LiberationSans-Italic.ttf"), FT_ENCODING_NONE},
    {const_cast<char *>("Helvetica-Bold"), const_cast<char *>("LiberationSans-Bold.ttf"), FT_ENCODING_NONE},
    {const_cast<char *>("Helvetica-BoldOblique"), const_cast<char *>("LiberationSans-BoldItalic.ttf"), FT_ENCODING_NONE},
    {const_cast<char *>("Courier"), const_cast<char *>("LiberationMono-Regular.ttf"), FT_ENCODING_NONE},
    {const_cast<char *>("Courier-Oblique"), const_cast<char *>("LiberationMono-Italic.ttf"), FT_ENCODING_NONE},
    {const_cast<char *>("Courier-Bold"), const_cast<char *>("LiberationMono-Bold.ttf"), FT_ENCODING_NONE},
    {const_cast<char *>("Courier-BoldOblique"), const_cast<char *>("LiberationMono-BoldItalic.ttf"), FT_ENCODING_NONE},
    {const_cast<char *>("Symbol"), const_cast<char *>("DejaVuSans.ttf"), FT_ENCODING_NONE},
    {nullptr, nullptr, FT_ENCODING_NONE},
};
wmfMapping kNoSubstitutes[] = {{nullptr, nullptr, FT_ENCODING_NONE}};
wmfFontMap kNoFontMap[] = {{nullptr, nullptr, nullptr, nullptr, nullptr}};
char *kFontDirs[] = {
    const_cast<char *>("/usr/share/fonts/truetype/liberation2"),
    const_cast<char *>("/usr/share/fonts/truetype/liberation"),
    const_cast<char *>("/usr/share/fonts/truetype/dejavu"),
    const_cast<char *>("/usr/share/fonts/type1/gsfonts"),
    nullptr,
};

QImage rasteriseWmf(QByteArray data)
{
    wmfAPI *api = nullptr;
    wmfAPI_Options options{};
    options.function = wmf_gd_function;
    options.fontdirs = kFontDirs;
    options.font.wmf = kNoFontMap;
    options.font.sub = kNoSubstitutes;
    options.font.ps = kPostScriptFonts;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG
                                | WMF_OPT_FONTDIRS | WMF_OPT_FONTMAP;
    if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
        if (api)
            wmf_api_destroy(api);
        throw Failure("impossibile avviare la lettura dei metafile standard (WMF).");
    }
    struct Destroy {
        wmfAPI *api;
        ~Destroy() { wmf_api_destroy(api); }
    } destroy{api};

    const auto bad = [] { return Failure("il metafile standard (WMF) è danneggiato o non valido."); };
    if (wmf_mem_open(api, reinterpret_cast<unsigned char *>(data.data()), long(data.size())) != wmf_E_None)
        throw bad();
    struct Close {
        wmfAPI *api;
        ~Close() { wmf_mem_close(api); }
    } close{api};

    wmfD_Rect bbox{};
    if (wmf_scan(api, 0, &bbox) != wmf_E_None)
        throw bad();
    unsigned int width = 0;
    unsigned int height = 0;
    if (wmf_display_size(api, &width, &height, 96, 96) != wmf_E_None)
        throw bad();
    const QSize size = boundedSize(width, height);

    // gd draws into an image of its own and encodes it as PNG into our
    // buffer; libwmf then destroys the image itself (an image handed back
    // through wmf_gd_image would be ours to free, and its destructor is not
    // exported).
    struct Sink {
        QByteArray png;
        bool overflow = false;
        static int write(void *context, char *buffer, int length)
        {
            auto *self = static_cast<Sink *>(context);
            if (length < 0 || self->png.size() + length > kMaxOutputBytes) {
                self->overflow = true;
                return 0;
            }
            self->png.append(buffer, length);
            return length;
        }
    } sink;
    wmf_gd_t *gd = WMF_GD_GetData(api);
    if (!(gd->flags & WMF_GD_SUPPORTS_PNG))
        throw Failure("questa installazione non legge i metafile standard (WMF).");
    gd->type = wmf_gd_png;
    gd->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
    gd->sink.context = &sink;
    gd->sink.function = &Sink::write;
    gd->bbox = bbox;
    gd->width = unsigned(size.width());
    gd->height = unsigned(size.height());
    if (wmf_play(api, 0, &bbox) != wmf_E_None || sink.overflow || sink.png.isEmpty())
        throw bad();
    QImage drawn;
    if (!drawn.loadFromData(sink.png, "PNG") || drawn.size() != size)
        throw bad();
    sink.png = QByteArray();

    // gd's transparency laid on white paper, as the EMF path lays its drawing.
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        throw Failure("memoria insufficiente per il disegno del metafile.");
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawImage(0, 0, drawn);
    painter.end();
    return image;
}
#endif

QImage rasterise(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool emf = suffix == QLatin1String("emf");
    const bool wmf = suffix == QLatin1String("wmf");
    if (!emf && !wmf)
        throw Failure("il file non è un metafile (.emf o .wmf).");

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure("il file non esiste o non è leggibile.");
    if (file.size() == 0)
        throw Failure("il file è vuoto.");
    if (file.size() > kMaxInputBytes)
        throw Failure("il metafile è troppo grande.");
    const QByteArray data = file.readAll();
    if (data.size() != file.size())
        throw Failure("il file non è leggibile.");

    if (emf) {
        if (!looksLikeEmf(data))
            throw Failure("il file non è un metafile avanzato (EMF) valido.");
#ifdef BREVAN_HAVE_EMF2SVG
        return rasteriseEmf(data);
#else
        throw Failure("questa installazione non legge i metafile avanzati (EMF).");
#endif
    }
    if (!looksLikeWmf(data))
        throw Failure("il file non è un metafile standard (WMF) valido.");
#ifdef BREVAN_HAVE_LIBWMF
    return rasteriseWmf(data);
#else
    throw Failure("questa installazione non legge i metafile standard (WMF).");
#endif
}

// Writes all of data to fd; false on any failure.
bool writeAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= size_t(n);
    }
    return true;
}

void quietQt(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

int main(int argc, char **argv)
{
    brevan::cli::CommandInfo info;
    info.name = "brevan-metafile";
    info.usage = QStringLiteral("Uso: brevan-metafile FILE.emf|FILE.wmf\n");
    info.description = QStringLiteral(
        "Disegna un metafile avanzato (EMF) o standard (WMF) e lo scrive in formato PNG\n"
        "sullo standard output. Brevan lo avvia da sé quando si carica un metafile\n"
        "come fotografia o planimetria; non serve avviarlo a mano.\n");
    if (const int status = brevan::cli::answerStandardOptions(argc, argv, info); status >= 0)
        return status;
    limitResources();
    // The PNG and the message travel on private copies of standard output and
    // standard error; whatever the libraries or Qt print goes nowhere, so it
    // can neither corrupt the picture nor flood the caller.
    const int pictureFd = ::dup(STDOUT_FILENO);
    const int messageFd = ::dup(STDERR_FILENO);
    const int nullFd = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    if (pictureFd < 0 || messageFd < 0 || nullFd < 0)
        return brevan::cli::ExitFailure;
    ::dup2(nullFd, STDOUT_FILENO);
    ::dup2(nullFd, STDERR_FILENO);
    qInstallMessageHandler(quietQt);
    const auto fail = [messageFd](const char *message, int status) {
        writeAll(messageFd, message, std::strlen(message));
        writeAll(messageFd, "\n", 1);
        return status;
    };

    if (argc != 2)
        return fail("uso: brevan-metafile FILE.emf|FILE.wmf", brevan::cli::ExitUsage);
    // Rendering text needs a font database, hence a GUI application; it never
    // shows a window, so it runs on the offscreen platform whatever the session.
    char platformFlag[] = "-platform";
    char platformName[] = "offscreen";
    char *qtArgv[] = {argv[0], platformFlag, platformName, nullptr};
    int qtArgc = 3;
    QGuiApplication app(qtArgc, qtArgv);

    try {
        const QImage image = rasterise(QFile::decodeName(argv[1]));
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            throw Failure("impossibile produrre il disegno del metafile.");
        if (!writeAll(pictureFd, png.constData(), size_t(png.size())))
            return brevan::cli::ExitFailure;
        return brevan::cli::ExitOk;
    } catch (const Failure &e) {
        // The file is not a metafile this program can draw.
        return fail(e.what(), brevan::cli::ExitUsage);
    } catch (const std::exception &e) {
        return fail(e.what(), brevan::cli::ExitFailure);
    }
}
