#include "reportpages.h"

#include "model/numbertext.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QLocale>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSaveFile>

#include <functional>
#include <initializer_list>

namespace brevan::report {

namespace {

// ---------------------------------------------------------------- styles

constexpr double kContentWidth = 624; // A4 less 25 mm and 20 mm, at 96 dpi
constexpr double kBandHeight = 40;
constexpr double kBelowBand = 20;
constexpr double kRowPitch = 22; // one label/value row
constexpr double kGroupGap = 18; // blank space between groups of rows
constexpr double kTabWidth = 48; // the rich-text default tab stop, half an inch
constexpr double kTickSize = 17;

const QColor kNavy(0, 0, 128);
const QColor kSilver(192, 192, 192);

// Points to 96-dpi pixels: the painter is scaled, so fonts are sized in
// pixels (a point size would be scaled twice on a high-resolution device).
int px(double points)
{
    return qRound(points * 96.0 / 72.0);
}

QFont arial(double points, bool bold, bool italic)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(px(points));
    f.setBold(bold);
    f.setItalic(italic);
    f.setStyleStrategy(QFont::PreferOutline);
    return f;
}

const QFont &labelFont()
{
    static const QFont f = arial(12, true, false);
    return f;
}
const QFont &valueFont()
{
    static const QFont f = arial(12, false, true);
    return f;
}
const QFont &groupFont()
{
    static const QFont f = arial(14, true, true);
    return f;
}
const QFont &titleFont()
{
    static const QFont f = [] {
        QFont t(QStringLiteral("Arial"));
        t.setPixelSize(21); // 16 pt
        t.setStyleStrategy(QFont::PreferOutline);
        return t;
    }();
    return f;
}

const QLocale &italian()
{
    static const QLocale l(QLocale::Italian, QLocale::Italy);
    return l;
}

// ---------------------------------------------------------------- values

QString joinedAll(const ReportInput &in, std::initializer_list<const char *> names, const QString &separator)
{
    QStringList parts;
    for (const char *n : names) {
        const QString v = in.text(QLatin1String(n));
        if (v.isEmpty())
            return {};
        parts << v;
    }
    return parts.join(separator);
}

QString suffixed(const QString &value, const QString &suffix)
{
    return value.isEmpty() ? QString() : value + suffix;
}

QString percent(double value)
{
    return FormattaImporto(value) + QStringLiteral(" %");
}

// A picture kept at about three times its printed size: enough for a
// printer, and a 20-megapixel photograph does not travel whole into every
// page of a preview.
QImage preparedPicture(const QImage &source, double boxSide)
{
    if (source.isNull())
        return {};
    const int limit = int(boxSide * 3);
    if (source.width() <= limit && source.height() <= limit)
        return source;
    return source.scaled(limit, limit, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace

// ---------------------------------------------------------------- painter

// The painter of one report: 96-dpi layout units on the device's paint
// rectangle, the printed page, and the vertical position on it.
class ReportPainter {
public:
    ReportPainter(QPainter &painter, QPagedPaintDevice &device) : p(painter), m_device(device)
    {
        m_scale = device.logicalDpiY() / 96.0;
        m_height = device.pageLayout().paintRect(QPageLayout::Point).height() * 96.0 / 72.0;
        applyScale();
    }

    QPainter &p;
    double y = 0;

    double height() const { return m_height; }

    void newPage()
    {
        if (m_pagesStarted > 0)
            m_device.newPage();
        ++m_pagesStarted;
        applyScale();
        y = 0;
    }

    void band(const QString &title)
    {
        const QRectF r(0, 0, kContentWidth, kBandHeight);
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(170, 205, 245));
        g.setColorAt(1, QColor(0, 35, 110));
        p.fillRect(r, g);
        smallPicture(QRectF(4, 4, 32, 32));
        p.setFont(titleFont());
        p.setPen(Qt::white);
        p.drawText(QRectF(44, 0, kContentWidth - 48, kBandHeight), Qt::AlignLeft | Qt::AlignVCenter, title);
        y = kBandHeight + kBelowBand;
    }

    // Text in a box; returns the height it took (at least one line).
    double text(const QRectF &box, int flags, const QFont &font, const QColor &colour, const QString &s)
    {
        const QFontMetricsF fm(font);
        if (s.isEmpty())
            return fm.lineSpacing();
        const QRectF needed = fm.boundingRect(QRectF(box.x(), box.y(), box.width(), 1e6),
                                              flags | Qt::TextWordWrap, s);
        p.setFont(font);
        p.setPen(colour);
        p.drawText(QRectF(box.x(), box.y(), box.width(), std::max(needed.height(), box.height())),
                   flags | Qt::TextWordWrap, s);
        return std::max(needed.height(), fm.lineSpacing());
    }

    // How a picture takes its frame: stretched over the whole of it, or
    // scaled with its proportions kept and centred.
    enum class Fit { Stretch, KeepProportions };

    // A framed picture box with the picture, when there is one, inside.
    void picture(const QRectF &frame, const QImage &image, Fit fit)
    {
        p.setPen(QPen(QColor(128, 128, 128), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(frame);
        if (image.isNull())
            return;
        const QRectF inner = frame.adjusted(2, 2, -2, -2);
        QSizeF size = image.size();
        size.scale(inner.size(), fit == Fit::Stretch ? Qt::IgnoreAspectRatio : Qt::KeepAspectRatio);
        const QRectF target(inner.center().x() - size.width() / 2, inner.center().y() - size.height() / 2,
                            size.width(), size.height());
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(target, image);
    }

    // A mark: the tick and a black caption when ticked, a silver caption alone
    // when not. Returns the height taken.
    double mark(double x, double top, double width, const QString &caption, bool ticked)
    {
        if (ticked)
            tick(QRectF(x, top + 1, kTickSize, kTickSize));
        return std::max(kRowPitch, text(QRectF(x + kTickSize + 5, top, width - kTickSize - 5, 0), Qt::AlignLeft,
                                        valueFont(), ticked ? Qt::black : kSilver, caption));
    }

private:
    void applyScale()
    {
        p.resetTransform();
        p.scale(m_scale, m_scale);
    }

    void tick(const QRectF &r)
    {
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(96, 96, 96), 1));
        p.setBrush(Qt::white);
        p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
        QPainterPath check;
        check.moveTo(r.left() + 3.5, r.top() + 9);
        check.lineTo(r.left() + 7, r.top() + 13);
        check.lineTo(r.left() + 13.5, r.top() + 4);
        p.setPen(QPen(QColor(0, 110, 0), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(check);
        p.restore();
    }

    // The small picture at the band's left end: a house on a light tile.
    void smallPicture(const QRectF &r)
    {
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(255, 255, 255, 200), 1));
        p.setBrush(QColor(60, 110, 190));
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
        QPainterPath roof;
        roof.moveTo(r.left() + 5, r.top() + 16);
        roof.lineTo(r.center().x(), r.top() + 6);
        roof.lineTo(r.right() - 5, r.top() + 16);
        roof.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 40, 40));
        p.drawPath(roof);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(r.left() + 9, r.top() + 16, r.width() - 18, 11));
        p.setBrush(QColor(60, 110, 190));
        p.drawRect(QRectF(r.center().x() - 2.5, r.top() + 20, 5, 7));
        p.restore();
    }

    QPagedPaintDevice &m_device;
    double m_scale = 1;
    double m_height = 971;
    int m_pagesStarted = 0;
};

namespace {

// A label and its value on one row; the value goes under the label when the
// label reaches into the value's column, and wraps within its column.
double labelValueRow(ReportPainter &rp, double x, double valueX, double right, const QString &label,
                     const QString &value, bool valueRight = false)
{
    const QFontMetricsF lm(labelFont());
    const double top = rp.y;
    const double labelHeight = rp.text(QRectF(x, top, right - x, 0), Qt::AlignLeft, labelFont(), kNavy, label);
    // Where the value goes depends on the label alone, so that an empty
    // appraisal prints its labels where a full one does.
    double valueTop = top;
    if (x + lm.horizontalAdvance(label) + 6 > valueX)
        valueTop = top + labelHeight;
    double valueHeight = 0;
    if (!value.isEmpty())
        valueHeight = rp.text(QRectF(valueX, valueTop, right - valueX, 0), valueRight ? Qt::AlignRight : Qt::AlignLeft,
                              valueFont(), Qt::black, value);
    const double bottom = std::max({top + labelHeight, valueTop + valueHeight, valueTop + QFontMetricsF(valueFont()).lineSpacing()});
    rp.y = std::max(top + kRowPitch, bottom + (kRowPitch - lm.lineSpacing()));
    return rp.y;
}

void groupCaption(ReportPainter &rp, const QString &caption, double x = 0)
{
    const double h = rp.text(QRectF(x, rp.y, kContentWidth - x, 0), Qt::AlignLeft, groupFont(), Qt::black, caption);
    rp.y += h + 8;
}

struct ColumnStyle {
    double x;
    double width;
    const QFont *font;
    QColor colour;
    Qt::Alignment align;
};

// Two aligned columns flowing over as many printed pages as they need; on a
// new page the band is repeated when asked, otherwise the columns go on from
// the top.
void flowColumns(ReportPainter &rp, const Columns &c, const ColumnStyle &left, const ColumnStyle &right,
                 const QString &repeatedTitle)
{
    const int n = std::max(c.left.size(), c.right.size());
    for (int i = 0; i < n; ++i) {
        QString l = c.left.value(i);
        const QString r = c.right.value(i);
        double indent = 0;
        while (l.startsWith(QLatin1Char('\t'))) {
            indent += kTabWidth;
            l.remove(0, 1);
        }
        const int wrap = Qt::TextWordWrap;
        const double lh = QFontMetricsF(*left.font)
                              .boundingRect(QRectF(0, 0, left.width - indent, 1e6), int(left.align) | wrap, l.isEmpty() ? QStringLiteral(" ") : l)
                              .height();
        const double rh = QFontMetricsF(*right.font)
                              .boundingRect(QRectF(0, 0, right.width, 1e6), int(right.align) | wrap, r.isEmpty() ? QStringLiteral(" ") : r)
                              .height();
        const double h = std::max(lh, rh);
        if (rp.y + h > rp.height()) {
            rp.newPage();
            if (!repeatedTitle.isEmpty())
                rp.band(repeatedTitle);
        }
        if (!l.trimmed().isEmpty())
            rp.text(QRectF(left.x + indent, rp.y, left.width - indent, 0), int(left.align), *left.font, left.colour, l);
        if (!r.trimmed().isEmpty())
            rp.text(QRectF(right.x, rp.y, right.width, 0), int(right.align), *right.font, right.colour, r);
        rp.y += h;
    }
}

// ---------------------------------------------------------------- rows

// A label with the rule that gives its value, and the blank space before it.
struct ValueRule {
    const char *label;
    std::function<QString(const ReportInput &)> value;
    bool groupStart = false;
};

std::function<QString(const ReportInput &)> field(const char *name)
{
    return [name](const ReportInput &in) { return in.text(QLatin1String(name)); };
}
std::function<QString(const ReportInput &)> fields(std::initializer_list<const char *> names, const char *separator)
{
    const std::vector<const char *> list(names);
    return [list, separator](const ReportInput &in) {
        QStringList parts;
        for (const char *n : list) {
            const QString v = in.text(QLatin1String(n));
            if (v.isEmpty())
                return QString();
            parts << v;
        }
        return parts.join(QString::fromUtf8(separator));
    };
}
std::function<QString(const ReportInput &)> withSuffix(const char *name, const char *suffix)
{
    return [name, suffix](const ReportInput &in) { return suffixed(in.text(QLatin1String(name)), QString::fromUtf8(suffix)); };
}
// + currency: one space followed by ValutaCorrente (itself " Lire" or " Euro").
std::function<QString(const ReportInput &)> withCurrency(const char *name, const char *after = "")
{
    return [name, after](const ReportInput &in) {
        return suffixed(in.text(QLatin1String(name)), QStringLiteral(" ") + in.currency + QString::fromUtf8(after));
    };
}
std::function<QString(const ReportInput &)> firstTicked(std::initializer_list<std::pair<const char *, const char *>> options)
{
    const std::vector<std::pair<const char *, const char *>> list(options);
    return [list](const ReportInput &in) {
        for (const auto &[name, text] : list) {
            if (in.tick(QLatin1String(name)))
                return QString::fromUtf8(text);
        }
        return QString();
    };
}

// A page of label/value rows filled from a table of rules.
class RowsPage : public ReportPage {
public:
    RowsPage(int number, std::vector<ValueRule> rules, double valueX, double right)
        : ReportPage(number), m_rules(std::move(rules)), m_values(m_rules.size()), m_valueX(valueX), m_right(right)
    {
    }

    void reset() override { std::fill(m_values.begin(), m_values.end(), QString()); }

protected:
    void fillValues(const ReportInput &in) override
    {
        for (std::size_t i = 0; i < m_rules.size(); ++i)
            m_values[i] = m_rules[i].value(in);
    }
    void paintRows(ReportPainter &rp, bool valueRight = false) const
    {
        for (std::size_t i = 0; i < m_rules.size(); ++i) {
            if (m_rules[i].groupStart && i > 0)
                rp.y += kGroupGap;
            labelValueRow(rp, 0, m_valueX, m_right, QString::fromUtf8(m_rules[i].label), m_values[i], valueRight);
        }
    }

    std::vector<ValueRule> m_rules;
    std::vector<QString> m_values;
    double m_valueX;
    double m_right;
};

// ---------------------------------------------------------------- page 1

class CoverPage : public ReportPage {
public:
    CoverPage() : ReportPage(1) { reset(); }

    void reset() override
    {
        m_date.clear();
        m_town = QStringLiteral("Comune di");
        m_object.clear();
        m_appraiser.clear();
    }

    void paint(ReportPainter &rp) const override
    {
        rp.band(title());
        rp.text(QRectF(0, 56, kContentWidth, 0), Qt::AlignRight, arial(10, false, true), Qt::black, m_date);
        rp.text(QRectF(0, 230, kContentWidth, 0), Qt::AlignHCenter, arial(25, true, false), Qt::black, m_town);
        rp.text(QRectF(0, 380, kContentWidth, 0), Qt::AlignLeft, arial(16, true, false), kNavy, QStringLiteral("Oggetto:"));
        // The object text wraps in a tall box.
        rp.text(QRectF(0, 420, kContentWidth, 200), Qt::AlignLeft, arial(16, false, true), Qt::black, m_object);
        rp.text(QRectF(0, 700, kContentWidth, 0), Qt::AlignLeft, arial(16, true, true), kNavy, QStringLiteral("Il tecnico:"));
        rp.text(QRectF(0, 745, kContentWidth, 0), Qt::AlignHCenter, arial(16, false, true), Qt::black, m_appraiser);
    }

protected:
    bool condition(const ReportInput &) const override { return true; }
    void fillValues(const ReportInput &in) override
    {
        m_date = italian().toString(in.today, QStringLiteral("dddd d MMMM yyyy"));
        const QString town = in.text(QStringLiteral("ComuneImmob"));
        if (!town.isEmpty())
            m_town = QStringLiteral("Comune di ") + town;
        QString object;
        if (!in.text(QStringLiteral("IndirizzoImmob")).isEmpty())
            object = QStringLiteral("Stima dell'immobile sito in ") + in.text(QStringLiteral("IndirizzoImmob"))
                     + QStringLiteral(" ") + in.text(QStringLiteral("NumCivicoImmob"));
        const QString floor = in.text(QStringLiteral("PianoImmob"));
        const QString internal = in.text(QStringLiteral("InternoImmob"));
        if (!floor.isEmpty() && !internal.isEmpty())
            object += QStringLiteral(", Piano ") + floor + QStringLiteral("°, Interno ") + internal;
        m_object = object;
        m_appraiser = joinedAll(in, {"NomeProfess", "CognomeProfess"}, QStringLiteral(" "));
    }

private:
    QString m_date, m_town, m_object, m_appraiser;
};

// ---------------------------------------------------------------- page 2

class AppraiserPage : public RowsPage {
public:
    AppraiserPage()
        : RowsPage(2,
                   {
                       {"Cognome e Nome:", fields({"CognomeProfess", "NomeProfess"}, " ")},
                       {"Codice fiscale:", field("CodiceFiscaleProfess")},
                       {"Professione:", field("ProfessioneProfess"), true},
                       {"N° d'iscrizione all'Albo:", field("NumIscrizAlboProfess")},
                       {"Partita IVA:", field("PartitaIvaProfess")},
                       {"Società / Studio:", field("SocietaProfess"), true},
                       {"Indirizzo:", fields({"IndirizzoProfess", "NumCivicoProfess"}, ", ")},
                       {"Comune:", fields({"ComuneProfess", "CAPProfess", "SiglaProvinciaProfess"}, " - ")},
                       {"Telefono:", field("TelefonoProfess"), true},
                       {"Fax:", field("FaxProfess")},
                       {"Cellulare:", field("CellulareProfess")},
                       {"E-mail:", field("EMailProfess")},
                   },
                   230, kContentWidth)
    {
    }
    void paint(ReportPainter &rp) const override
    {
        rp.band(title());
        paintRows(rp);
    }

protected:
    bool condition(const ReportInput &in) const override { return in.lightNotEmpty(1); }
};

// ---------------------------------------------------------------- page 3

constexpr double kPage3Picture = 270;
constexpr double kPage3PictureX = kContentWidth - kPage3Picture;

class UnitPage : public RowsPage {
public:
    UnitPage()
        : RowsPage(3,
                   {
                       {"Indirizzo:",
                        [](const ReportInput &in) {
                            const QString a = in.text(QStringLiteral("IndirizzoImmob"));
                            return a.isEmpty() ? QString() : a + QStringLiteral(", ") + in.text(QStringLiteral("NumCivicoImmob"));
                        }},
                       {"Comune:", field("ComuneImmob")},
                       {"C.A.P.:", field("CAPImmob")},
                       {"Provincia:", fields({"ProvinciaImmob", "SiglaProvinciaImmob"}, " - ")},
                       {"Tipologia edilizia:", field("TipologEdiliziaImmob")},
                       {"Totale piani:", field("TotPianiImmob")},
                       {"Piano:", withSuffix("PianoImmob", "°")},
                       {"Interno:", field("InternoImmob")},
                       {"Data stima:",
                        [](const ReportInput &in) {
                            return in.appraisalDate.isValid() ? italian().toString(in.appraisalDate, QStringLiteral("d MMMM yyyy"))
                                                              : QString();
                        }},
                       {"Anno di costruz. o ristrutturaz. totale:", field("AnnoCostruzImmob")},
                       {"Età dell'edificio:", field("EtaEdificioImmob")},
                       {"Foglio catastale:", field("FoglioCatastImmob")},
                       {"Mappale catastale:", field("MappaleCatastImmob")},
                       {"Subalterno:", field("SubCatastImmob")},
                       {"Categoria:", field("CategCatastImmob")},
                       {"Classe:", field("ClasseCatastImmob")},
                       {"Consistenza:", field("ConsistCatastImmob")},
                   },
                   175, kPage3PictureX - 12)
    {
    }
    void reset() override
    {
        RowsPage::reset();
        m_photo = QImage();
        m_areaPlan = QImage();
    }
    void paint(ReportPainter &rp) const override
    {
        rp.band(title());
        const double top = rp.y;
        paintRows(rp);
        double y = top;
        for (const auto &[caption, image] : {std::pair{QStringLiteral("Illustrazione fotografica"), &m_photo},
                                             std::pair{QStringLiteral("Planimetria di zona"), &m_areaPlan}}) {
            const double h = rp.text(QRectF(kPage3PictureX, y, kPage3Picture, 0), Qt::AlignHCenter, labelFont(), kNavy, caption);
            // Stretched over the frame, as the picture pages stretch them.
            rp.picture(QRectF(kPage3PictureX, y + h + 4, kPage3Picture, kPage3Picture), *image,
                       ReportPainter::Fit::Stretch);
            y += h + 4 + kPage3Picture + 24;
        }
    }

protected:
    bool condition(const ReportInput &in) const override
    {
        return in.lightNotEmpty(2) || in.lightNotEmpty(3) || in.lightNotEmpty(4);
    }
    void fillValues(const ReportInput &in) override
    {
        RowsPage::fillValues(in);
        m_photo = preparedPicture(in.photo, kPage3Picture);
        m_areaPlan = preparedPicture(in.areaPlan, kPage3Picture);
    }

private:
    QImage m_photo, m_areaPlan;
};

// ---------------------------------------------------------------- page 4

constexpr double kPage4Picture = 290;
constexpr double kPage4RightX = kContentWidth - kPage4Picture;

class SurfacesPage : public ReportPage {
public:
    SurfacesPage() : ReportPage(4) {}
    void reset() override
    {
        m_columns = {};
        m_plan = QImage();
        m_useful.clear();
        m_conventional.clear();
        m_commercial.clear();
    }
    void paint(ReportPainter &rp) const override
    {
        rp.band(title());
        const double top = rp.y;
        // Right half first: the columns on the left may run on to further pages.
        double y = top;
        y += rp.text(QRectF(kPage4RightX, y, kPage4Picture, 0), Qt::AlignHCenter, labelFont(), kNavy,
                     QStringLiteral("Planimetria dell'immobile")) + 4;
        rp.picture(QRectF(kPage4RightX, y, kPage4Picture, kPage4Picture), m_plan, ReportPainter::Fit::KeepProportions);
        rp.y = y + kPage4Picture + 24;
        const std::pair<QString, const QString *> surfaces[] = {
            {QStringLiteral("Superficie utile:"), &m_useful},
            {QStringLiteral("Superficie convenzionale:"), &m_conventional},
            {QStringLiteral("Superficie commerciale:"), &m_commercial}};
        double labelsWidth = 0;
        for (const auto &[label, value] : surfaces)
            labelsWidth = std::max(labelsWidth, QFontMetricsF(labelFont()).horizontalAdvance(label));
        for (const auto &[label, value] : surfaces)
            labelValueRow(rp, kPage4RightX, kPage4RightX + labelsWidth + 8, kContentWidth, label, *value, true);

        rp.y = top;
        rp.text(QRectF(0, rp.y, kPage4RightX - 12, 0), Qt::AlignLeft, labelFont(), kNavy,
                QStringLiteral("Descrizione delle superfici:"));
        rp.y += kRowPitch + 6;
        const double columnsRight = kPage4RightX - 16;
        flowColumns(rp, m_columns, {0, columnsRight - 110, &valueFont(), Qt::black, Qt::AlignLeft},
                    {columnsRight - 110, 110, &valueFont(), Qt::black, Qt::AlignRight}, {});
    }

protected:
    bool condition(const ReportInput &in) const override { return in.lightNotEmpty(6) || in.lightNotEmpty(5); }
    void fillValues(const ReportInput &in) override
    {
        m_columns = surfaceColumns(in.surfaces);
        m_plan = preparedPicture(in.unitPlan, kPage4Picture);
        m_useful = in.usefulShown;
        m_conventional = in.conventionalShown;
        m_commercial = in.commercialShown;
    }

private:
    Columns m_columns;
    QImage m_plan;
    QString m_useful, m_conventional, m_commercial;
};

// ---------------------------------------------------------------- page 5

struct MarkDef {
    const char *field;
    const char *caption;
};

// Read down each column: three columns of five.
const MarkDef kServices[kFacilityCount] = {
    {"ScuoleObbligo", "Scuole dell'obbligo"},      {"IstitutiSuperiori", "Istituti superiori"},
    {"FacoltaUniversit", "Facoltà universitarie"}, {"MensaUniversit", "Mensa universitaria"},
    {"MercatoCivico", "Mercato civico"},           {"Supermercati", "Supermercati"},
    {"GrandiMagazzini", "Grandi magazzini"},       {"CentriCommerciali", "Centri commerciali"},
    {"ParcheggiPubblici", "Parcheggi pubblici"},   {"PercorsiLineeCTM", "Percorsi linee CTM"},
    {"StruttureSanitarie", "Strutture sanitarie"}, {"ImpiantiSportivi", "Impianti sportivi"},
    {"UfficiPostali", "Uffici postali"},           {"LuoghiDiCulto", "Luoghi di culto"},
    {"LocaliSpettacolo", "Locali di spettacolo"},
};

class LocalisationPage : public RowsPage {
public:
    LocalisationPage()
        : RowsPage(5,
                   {
                       {"Dimensioni del centro urbano:",
                        firstTicked({{"PiccoleDimensImmob", "Piccole dimensioni"},
                                     {"MedieDimensImmob", "Medie dimensioni"},
                                     {"GrandiDimensImmob", "Grandi dimensioni"}})},
                       {"Ubicazione rispetto al centro urbano:",
                        firstTicked({{"ZonaCentrImmob", "Zona centrale"},
                                     {"ZonaIntermImmob", "Zona intermedia"},
                                     {"ZonaPeriferImmob", "Zona periferica"}})},
                       {"Zona urbana di appartenenza:", field("ZonaUrbanaImmob")},
                       {"Distanza da via o piazza principale:", field("DistanzaViaPrincip")},
                       {"Servizio di trasporto pubblico:", field("ServTraspPubblico")},
                       {"Qualificazione dell'ambiente esterno:", field("QualifAmbienteExt")},
                       {"Idoneità insediativa:", field("IdoneitaInsediat")},
                       {"Previsione di miglioramenti ambientali:", field("MiglioramAmbiente")},
                       {"Giudizio sul livello di inquinamento:", field("InquinamAmbiente")},
                       {"Giudizio sulla presenza di aree verdi:", field("VerdePubblico")},
                       {"Disponibilità di aree di sosta:", field("DisponibAreeSosta")},
                   },
                   330, kContentWidth)
    {
    }
    void reset() override
    {
        RowsPage::reset();
        m_ticked.fill(false);
    }
    void paint(ReportPainter &rp) const override
    {
        rp.band(title());
        paintRows(rp);
        rp.y += kGroupGap;
        rp.text(QRectF(0, rp.y, kContentWidth, 0), Qt::AlignLeft, labelFont(), kNavy,
                QStringLiteral("Attrezzature collettive a distanza pedonale:"));
        rp.y += kRowPitch + 6;
        const double top = rp.y;
        const double width = kContentWidth / 3;
        double bottom = top;
        for (int i = 0; i < kFacilityCount; ++i) {
            const int column = i / 5;
            if (i % 5 == 0)
                rp.y = top;
            rp.y += rp.mark(column * width, rp.y, width, QString::fromUtf8(kServices[i].caption), m_ticked[std::size_t(i)]);
            bottom = std::max(bottom, rp.y);
        }
        rp.y = bottom;
    }

protected:
    bool condition(const ReportInput &in) const override
    {
        if (in.lightNotEmpty(7))
            return true;
        for (const char *n : {"InquinamAmbiente", "VerdePubblico", "DisponibAreeSosta"}) {
            if (!in.text(QLatin1String(n)).isEmpty())
                return true;
        }
        for (const MarkDef &m : kServices) {
            if (in.tick(QLatin1String(m.field)))
                return true;
        }
        return false;
    }
    void fillValues(const ReportInput &in) override
    {
        RowsPage::fillValues(in);
        for (int i = 0; i < kFacilityCount; ++i)
            m_ticked[std::size_t(i)] = in.tick(QLatin1String(kServices[i].field));
    }

private:
    std::array<bool, kFacilityCount> m_ticked{};
};

// ---------------------------------------------------------------- page 6

const char *const kPositionJudgments[] = {"Luminosita", "Panoramicita", "Esposizione",
                                          "Prospicienza", "QuotaDaPianoStrad", "SuperfAccessorie"};
const char *const kTypologyJudgments[] = {"StatoConservInt", "StatoConservExt", "GradoRifinitInt",
                                          "GradoRifinitExt", "PresImpiantiTecnol", "LivImpiantiTecnol"};

// Left column, then right column.
const MarkDef kPlants[7] = {
    {"AntennaCentralizz", "Antenna centralizzata"}, {"CancelloAutomatico", "Cancello automatico"},
    {"RiservaIdrica", "Riserva idrica"},            {"Portineria", "Portineria"},
    {"Ascensore", "Ascensore"},                     {"Riscaldamento", "Riscaldamento"},
    {"ImpElettrANorma", "Impianto elettrico a norma di legge"},
};

class PositionTypologyPage : public RowsPage {
public:
    PositionTypologyPage()
        : RowsPage(6,
                   {
                       {"Luminosità:", field("Luminosita")},
                       {"Panoramicità:", field("Panoramicita")},
                       {"Esposizione:", field("Esposizione")},
                       {"Prospicienza:", field("Prospicienza")},
                       {"Quota rispetto al piano stradale:", field("QuotaDaPianoStrad")},
                       {"Valutazione degli spazi accessori:", field("SuperfAccessorie")},
                       {"Stato di conservazione interno:", field("StatoConservInt")},
                       {"Stato di conservazione esterno:", field("StatoConservExt")},
                       {"Grado di rifinitura interno:", field("GradoRifinitInt")},
                       {"Grado di rifinitura esterno:", field("GradoRifinitExt")},
                       {"Presenza di impianti tecnologici:", field("PresImpiantiTecnol")},
                       {"Livello tecnologico degli impianti:", field("LivImpiantiTecnol")},
                   },
                   300, kContentWidth)
    {
        reset();
    }
    void reset() override
    {
        RowsPage::reset();
        m_ticked.fill(false);
        for (std::size_t i = 0; i < 7; ++i)
            m_captions[i] = QString::fromUtf8(kPlants[i].caption);
    }
    void paint(ReportPainter &rp) const override
    {
        rp.band(title());
        paintRows(rp);
        rp.y += kGroupGap;
        rp.text(QRectF(0, rp.y, kContentWidth, 0), Qt::AlignLeft, labelFont(), kNavy,
                QStringLiteral("Impianti tecnologici di base:"));
        rp.y += kRowPitch + 6;
        const double top = rp.y;
        const double width = kContentWidth / 2;
        double bottom = top;
        for (std::size_t i = 0; i < 7; ++i) {
            const int column = i < 4 ? 0 : 1;
            if (i == 0 || i == 4)
                rp.y = top;
            rp.y += rp.mark(column * width, rp.y, width, m_captions[i], m_ticked[i]);
            bottom = std::max(bottom, rp.y);
        }
        rp.y = bottom;
    }

protected:
    bool condition(const ReportInput &in) const override
    {
        for (const char *n : kPositionJudgments) {
            if (!in.text(QLatin1String(n)).isEmpty())
                return true;
        }
        for (const char *n : kTypologyJudgments) {
            if (!in.text(QLatin1String(n)).isEmpty())
                return true;
        }
        for (const MarkDef &m : kPlants) {
            if (in.tick(QLatin1String(m.field)))
                return true;
        }
        return false;
    }
    void fillValues(const ReportInput &in) override
    {
        RowsPage::fillValues(in);
        for (std::size_t i = 0; i < 7; ++i) {
            const QString name = QLatin1String(kPlants[i].field);
            m_ticked[i] = in.tick(name);
            if (!m_ticked[i])
                continue;
            if (name == QLatin1String("Ascensore"))
                m_captions[i] = QStringLiteral("Ascensore (") + in.text(QStringLiteral("AscensoreTipo")) + QStringLiteral(")");
            else if (name == QLatin1String("Riscaldamento"))
                m_captions[i] = QStringLiteral("Riscaldamento (") + in.text(QStringLiteral("RiscaldamentoTipo")) + QStringLiteral(")");
        }
    }

private:
    std::array<bool, 7> m_ticked{};
    std::array<QString, 7> m_captions;
};

// ---------------------------------------------------------------- page 7

class IncomePage : public RowsPage {
public:
    IncomePage()
        : RowsPage(7,
                   {
                       {"Canone mensile di locazione unitario:", withCurrency("CanoneLocazUnit")},
                       {"Numero mensilità richieste in cauzione:", field("NumCauzioni")},
                       {"Saggio d'interesse commerciale:", withSuffix("SaggioCommerciale", " %")},
                       {"Saggio d'interesse legale:", withSuffix("SaggioLegale", " %")},
                       {"Spese di manutenzione:", withCurrency("SpeseManutenzione"), true},
                       {"Spese per servizi e amministrazione:", withCurrency("SpeseAmministraz")},
                       {"Alee per sfitti e inesigibilità:", withCurrency("AleeSfitti")},
                       {"Spese per assicurazioni:", withCurrency("SpeseAssicurazioni")},
                       {"Aliquote di ammortamento:", withCurrency("AliquoteAmmortam")},
                       {"Aliquote per imposte e tasse:", withCurrency("AliquoteTasse")},
                       {"Reddito lordo annuo:", withCurrency("RedditoLordoAnnuo"), true},
                       {"Reddito netto annuo:", withCurrency("RedditoNettoAnnuo")},
                   },
                   340, kContentWidth)
    {
    }
    void paint(ReportPainter &rp) const override
    {
        rp.band(title());
        paintRows(rp);
    }

protected:
    bool condition(const ReportInput &in) const override { return in.lightNotEmpty(10); }
};

// ---------------------------------------------------------------- page 8

constexpr double kPage8LabelWidth = 400;

class ComparablesPage : public ReportPage {
public:
    ComparablesPage() : ReportPage(8) {}
    void reset() override { m_columns = {}; }
    void paint(ReportPainter &rp) const override
    {
        rp.band(title());
        flowColumns(rp, m_columns, {0, kPage8LabelWidth, &labelFont(), kNavy, Qt::AlignLeft},
                    {kPage8LabelWidth + 8, kContentWidth - kPage8LabelWidth - 8, &valueFont(), Qt::black, Qt::AlignLeft},
                    title());
    }

protected:
    bool condition(const ReportInput &in) const override { return in.lightNotEmpty(11); }
    void fillValues(const ReportInput &in) override { m_columns = comparableColumns(in.comparables, in.currency); }

private:
    Columns m_columns;
};

// ---------------------------------------------------------------- pages 9, 10

constexpr double kMinimumRight = 420;
constexpr double kMaximumRight = 520;

void rangeHeads(ReportPainter &rp, const QString &group)
{
    const double top = rp.y;
    rp.text(QRectF(0, top, kMinimumRight - 80, 0), Qt::AlignLeft, groupFont(), Qt::black, group);
    for (const auto &[text, right] : {std::pair{QStringLiteral("Minimo"), kMinimumRight},
                                      std::pair{QStringLiteral("Massimo"), kMaximumRight},
                                      std::pair{QStringLiteral("Calcolato"), kContentWidth}})
        rp.text(QRectF(right - 100, top + 3, 100, 0), Qt::AlignRight, labelFont(), kNavy, text);
    rp.y = top + QFontMetricsF(groupFont()).lineSpacing() + 10;
}

void rangeRow(ReportPainter &rp, const QString &label, const QString &minimum, const QString &maximum,
              const QString &computed)
{
    const double top = rp.y;
    const double h = rp.text(QRectF(0, top, kMinimumRight - 90, 0), Qt::AlignLeft, labelFont(), kNavy, label);
    rp.text(QRectF(kMinimumRight - 90, top, 90, 0), Qt::AlignRight, valueFont(), Qt::black, minimum);
    rp.text(QRectF(kMaximumRight - 90, top, 90, 0), Qt::AlignRight, valueFont(), Qt::black, maximum);
    rp.text(QRectF(kContentWidth - 100, top, 100, 0), Qt::AlignRight, valueFont(), Qt::black, computed);
    rp.y = top + std::max(kRowPitch, h + 4);
}

struct RangeLine {
    QString label, minimum, maximum, computed;
};

QVector<RangeLine> capitalisationLines(const QVector<RangeRow> &rows, const Coefficients &c)
{
    QVector<RangeLine> lines;
    for (const RangeRow &r : rows)
        lines.append({QString::fromUtf8(r.label), QString::fromUtf8(r.minimum), QString::fromUtf8(r.maximum),
                      percent(c[r.coefficient])});
    return lines;
}

class ParametersPage1 : public ReportPage {
public:
    ParametersPage1() : ReportPage(9) {}
    void reset() override
    {
        m_comparison.clear();
        m_capitalisation.clear();
    }
    void paint(ReportPainter &rp) const override
    {
        rp.band(title());
        rangeHeads(rp, QStringLiteral("Comparazione diretta:"));
        for (const RangeLine &l : m_comparison)
            rangeRow(rp, l.label, l.minimum, l.maximum, l.computed);
        rp.y += kGroupGap + 6;
        rangeHeads(rp, QStringLiteral("Capitalizzazione dei redditi."));
        for (const RangeLine &l : m_capitalisation)
            rangeRow(rp, l.label, l.minimum, l.maximum, l.computed);
    }

protected:
    bool condition(const ReportInput &) const override { return true; }
    void fillValues(const ReportInput &in) override
    {
        double total = 0;
        for (const RangeRow &r : comparisonRanges()) {
            const bool isTotal = r.coefficient == Coef::SaggioCapitalizzaz;
            const double v = isTotal ? total : in.coefficients[r.coefficient];
            total += isTotal ? 0 : v;
            m_comparison.append({QString::fromUtf8(r.label), QString::fromUtf8(r.minimum), QString::fromUtf8(r.maximum), percent(v)});
        }
        m_capitalisation = capitalisationLines(capitalisationRangesPage9(), in.coefficients);
    }

private:
    QVector<RangeLine> m_comparison, m_capitalisation;
};

class ParametersPage2 : public ReportPage {
public:
    ParametersPage2() : ReportPage(10) {}
    void reset() override
    {
        m_capitalisation.clear();
        m_averageRate.clear();
        m_computedRate.clear();
    }
    void paint(ReportPainter &rp) const override
    {
        rp.band(title());
        rangeHeads(rp, QStringLiteral("Capitalizzazione dei redditi."));
        for (const RangeLine &l : m_capitalisation)
            rangeRow(rp, l.label, l.minimum, l.maximum, l.computed);
        if (m_averageRate.isEmpty())
            return;
        rp.y += kGroupGap;
        rangeRow(rp, QStringLiteral("Saggio medio di capitalizzazione:"), {}, {}, m_averageRate);
        rangeRow(rp, QStringLiteral("Saggio di capitalizzazione calcolato:"), {}, {}, m_computedRate);
    }

protected:
    bool condition(const ReportInput &) const override { return true; }
    void fillValues(const ReportInput &in) override
    {
        m_capitalisation = capitalisationLines(capitalisationRangesPage10(), in.coefficients);
        const QString average = in.text(QStringLiteral("SaggioMedioImmob"));
        if (!average.isEmpty() && !in.text(QStringLiteral("RedditoNettoAnnuo")).isEmpty()) {
            m_averageRate = average + QStringLiteral(" %");
            m_computedRate = percent(in.coefficients[Coef::SaggioCapitalizzaz]);
        }
    }

private:
    QVector<RangeLine> m_capitalisation;
    QString m_averageRate, m_computedRate;
};

// ---------------------------------------------------------------- page 11

class ResultsPage : public RowsPage {
public:
    ResultsPage()
        : RowsPage(11,
                   {
                       {"Valore unitario:", withCurrency("CostoUnitario", "/mq")},
                       {"Valore complessivo:", withCurrency("CostoComplessivo")},
                       {"Valore unitario:", withCurrency("CICostoUnitario", "/mq")},
                       {"Valore complessivo:", withCurrency("CICostoComplessivo")},
                   },
                   260, kContentWidth)
    {
    }
    void paint(ReportPainter &rp) const override
    {
        rp.band(title());
        const char *groups[] = {"Stima per comparazione diretta.", "Stima per capitalizzazione dei redditi."};
        for (std::size_t g = 0; g < 2; ++g) {
            if (g > 0)
                rp.y += kGroupGap + 6;
            groupCaption(rp, QString::fromUtf8(groups[g]));
            for (std::size_t i = g * 2; i < g * 2 + 2; ++i)
                labelValueRow(rp, 24, m_valueX, m_right, QString::fromUtf8(m_rules[i].label), m_values[i], true);
        }
    }

protected:
    bool condition(const ReportInput &in) const override { return in.lightNotEmpty(12); }
};

} // namespace

// ---------------------------------------------------------------- tables

bool ReportInput::lightNotEmpty(int node) const
{
    return node >= 1 && node <= 12 && lights[std::size_t(node - 1)] != Light::Red;
}

QStringList choiceCaptions()
{
    return {
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
    };
}

QString pageTitle(int page)
{
    static const char *const titles[kPageCount] = {
        "Brevan 2.0",
        "Generalità del professionista",
        "Descrizione unità immobiliare",
        "Calcolo delle superfici",
        "Caratteristiche di localizzazione",
        "Caratteristiche di posizione e tipologiche",
        "Caratteristiche produttive",
        "Immobili di confronto",
        "Parametri di confronto",
        "Parametri di confronto",
        "Risultati della stima",
    };
    return page >= 1 && page <= kPageCount ? QString::fromUtf8(titles[page - 1]) : QString();
}

Choice choiceOfPage(int page)
{
    if (page <= 9)
        return static_cast<Choice>(page - 1);
    return page == 10 ? Choice::ParametriConfronto : Choice::RisultatiStima;
}

bool ReportSelection::any() const
{
    return std::any_of(on.begin(), on.end(), [](bool b) { return b; });
}

ReportSelection ReportSelection::none()
{
    ReportSelection s;
    s.on.fill(false);
    return s;
}

QVector<int> assembledPages(const ReportSelection &selection)
{
    QVector<int> pages;
    for (int page = 1; page <= kPageCount; ++page) {
        if (selection[choiceOfPage(page)])
            pages << page;
    }
    return pages;
}

Columns surfaceColumns(const QVector<SurfaceRow> &rows)
{
    QVector<const SurfaceRow *> listed;
    for (const SurfaceRow &r : rows) {
        if (!r.description.isEmpty() && r.area != 0)
            listed << &r;
    }
    // Up to 19 rows fit the page double-spaced; from 20 on they are printed
    // single-spaced.
    const bool doubleSpaced = listed.size() <= 19;
    Columns c;
    for (const SurfaceRow *r : listed) {
        c.left << r->description;
        c.right << FormattaImporto(r->area) + QStringLiteral("  mq");
        if (doubleSpaced) {
            c.left << QStringLiteral(" ");
            c.right << QStringLiteral(" ");
        }
    }
    return c;
}

Columns comparableColumns(const QVector<ComparableRow> &rows, const QString &currency)
{
    struct Line {
        const char *label;
        const char *field;
        std::function<QString(const QString &)> value;
        bool extraBlank;
    };
    const QString cur = currency;
    const Line lines[] = {
        {"\t- Caratteristiche di localizzazione:", "CdCarattLocalizzaz", [](const QString &v) { return v + QStringLiteral(" %"); }, false},
        {"\t- Caratteristiche di posizione:", "CdCarattPosizione", [](const QString &v) { return v + QStringLiteral(" %"); }, false},
        {"\t- Caratteristiche tipologiche:", "CdCarattTipologiche", [](const QString &v) { return v + QStringLiteral(" %"); }, false},
        {"\t- Caratteristiche produttive:", "CdCarattProduttive", [](const QString &v) { return v + QStringLiteral(" %"); }, false},
        {"\t- Superficie commerciale:", "SupCommercImmob", [](const QString &v) { return v + QStringLiteral(" mq"); }, false},
        {"\t- Costo unitario:", "CostoUnitario", [cur](const QString &v) { return v + QStringLiteral(" ") + cur + QStringLiteral("/mq"); }, false},
        {"\t- Costo complessivo:", "CostoComplessivo", [cur](const QString &v) { return v + QStringLiteral(" ") + cur; }, true},
    };
    Columns c;
    const auto blankPair = [&c] {
        c.left << QStringLiteral(" ");
        c.right << QStringLiteral(" ");
    };
    for (const ComparableRow &row : rows) {
        const auto text = [&row](const char *name) { return row.value(QLatin1String(name)); };
        if (!text("IndirizzoImmob").isEmpty() && !text("NumCivicoImmob").isEmpty() && !text("PianoImmob").isEmpty()
            && !text("InternoImmob").isEmpty()) {
            c.left << text("IndirizzoImmob") + QStringLiteral(" ") + text("NumCivicoImmob") + QStringLiteral(", Piano ")
                          + text("PianoImmob") + QStringLiteral(", Interno ") + text("InternoImmob") + QStringLiteral(":");
            c.right << QStringLiteral(" ");
            blankPair();
            for (const Line &l : lines) {
                const QString v = text(l.field);
                if (v.isEmpty())
                    continue;
                c.left << QString::fromUtf8(l.label);
                c.right << l.value(v);
                blankPair();
                if (l.extraBlank)
                    blankPair();
            }
        }
        blankPair();
    }
    return c;
}

const QVector<RangeRow> &comparisonRanges()
{
    static const QVector<RangeRow> rows{
        {"Caratteristiche di localizzazione:", "10,00 %", "30,00 %", Coef::CDCarattLocalizzaz},
        {"Caratteristiche di posizione:", "10,00 %", "20,00 %", Coef::CDCarattPosizione},
        {"Caratteristiche tipologiche:", "20,00 %", "25,00 %", Coef::CDCarattTipologiche},
        {"Caratteristiche produttive:", "10,00 %", "25,00 %", Coef::CDCarattProduttive},
        {"Totale:", "50,00 %", "100,00 %", Coef::SaggioCapitalizzaz},
    };
    return rows;
}

const QVector<RangeRow> &capitalisationRangesPage9()
{
    static const QVector<RangeRow> rows{
        {"Ubicazione rispetto al centro urbano:", "+ 0,15 %", "- 0,15 %", Coef::CICentrRispCentrUrb},
        {"Servizio di trasporto pubblico:", "+ 0,07 %", "- 0,07 %", Coef::CILivelloCollegam},
        {"Attrezzature collettive:", "+ 0,28 %", "- 0,28 %", Coef::CIAttrezzCollett},
        {"Qualificazione dell'ambiente esterno:", "+ 0,06 %", "- 0,06 %", Coef::CIQualifAmbienteExt},
        {"Idoneità insediativa:", "+ 0,06 %", "- 0,06 %", Coef::CIIdoneitaInsediat},
        {"Previsione di miglioramenti ambientali:", "+ 0,06 %", "- 0,06 %", Coef::CIPrevMiglAmbient},
        {"Giudizio sul livello di inquinamento:", "+ 0,04 %", "- 0,04 %", Coef::CILivInquinamAmbient},
        {"Giudizio sulla presenza di aree verdi:", "+ 0,04 %", "- 0,04 %", Coef::CIPresVerdePubblico},
        {"Disponibilità aree di sosta:", "+ 0,06 %", "- 0,06 %", Coef::CIDisponibParcheggi},
        {"Luminosità:", "+ 0,10 %", "- 0,10 %", Coef::CILuminosita},
        {"Panoramicità:", "+ 0,36 %", "- 0,36 %", Coef::CIPanoramicita},
    };
    return rows;
}

const QVector<RangeRow> &capitalisationRangesPage10()
{
    static const QVector<RangeRow> rows{
        {"Prospicienza:", "+ 0,10 %", "- 0,10 %", Coef::CIProspicienza},
        {"Quota rispetto al piano stradale:", "+ 0,08 %", "- 0,08 %", Coef::CIQuotaDaPianoStrad},
        {"Valutazione degli spazi accessori:", "+ 0,06 %", "- 0,06 %", Coef::CIDimensSpaziAccess},
        {"Stato di conservazione interno:", "+ 0,06 %", "- 0,06 %", Coef::CIStatoConservazInt},
        {"Stato di conservazione esterno:", "+ 0,06 %", "- 0,06 %", Coef::CIStatoConservazExt},
        {"Grado di rifinitura interno:", "+ 0,06 %", "- 0,06 %", Coef::CIGradoRifinInterno},
        {"Grado di rifinitura esterno:", "+ 0,06 %", "- 0,06 %", Coef::CIGradoRifinEsterno},
        {"Livello tecnologico degli impianti:", "+ 0,04 %", "- 0,04 %", Coef::CILivTecnolImpianti},
        {"Vetustà dell'edificio:", "+ 0,10 %", "- 0,10 %", Coef::CIVetustaEdificio},
        {"Caratteristiche produttive:", "+ 0,10 %", "- 0,10 %", Coef::CICarattProduttive},
    };
    return rows;
}

// ---------------------------------------------------------------- report

void ReportPage::fill(const ReportInput &in)
{
    m_filled = condition(in);
    if (m_filled)
        fillValues(in);
}

Report::Report()
{
    m_pages = {std::make_unique<CoverPage>(),         std::make_unique<AppraiserPage>(),
               std::make_unique<UnitPage>(),          std::make_unique<SurfacesPage>(),
               std::make_unique<LocalisationPage>(),  std::make_unique<PositionTypologyPage>(),
               std::make_unique<IncomePage>(),        std::make_unique<ComparablesPage>(),
               std::make_unique<ParametersPage1>(),   std::make_unique<ParametersPage2>(),
               std::make_unique<ResultsPage>()};
}

Report::~Report() = default;

void Report::resetAndFill(const ReportInput &in)
{
    for (auto &p : m_pages)
        p->reset();
    for (auto &p : m_pages)
        p->fill(in);
}

void setUpReportDevice(QPagedPaintDevice *device)
{
    device->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(25, 20, 20, 20),
                                      QPageLayout::Millimeter));
}

bool Report::render(QPagedPaintDevice *device, const ReportSelection &selection) const
{
    setUpReportDevice(device);
    QPainter painter;
    if (!painter.begin(device))
        return false;
    ReportPainter rp(painter, *device);
    for (int n : assembledPages(selection)) {
        rp.newPage();
        page(n).paint(rp);
    }
    return painter.end();
}

bool renderReport(QPagedPaintDevice *device, const ReportInput &in, const ReportSelection &selection)
{
    Report report;
    report.resetAndFill(in);
    return report.render(device, selection);
}

QByteArray reportPdf(const Report &filled, const ReportSelection &selection)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(600);
        writer.setTitle(QStringLiteral("Titolo del Report"));
        writer.setCreator(QStringLiteral("Brevan 2.0"));
        if (!filled.render(&writer, selection))
            return {};
    }
    buffer.close();
    return bytes;
}

QByteArray reportPdf(const ReportInput &in, const ReportSelection &selection)
{
    Report report;
    report.resetAndFill(in);
    return reportPdf(report, selection);
}

bool writeReportPdf(const QString &path, const Report &filled, const ReportSelection &selection, QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (!selection.any())
        return fail(kNoPagesSelected);
    const QByteArray pdf = reportPdf(filled, selection);
    if (pdf.isEmpty())
        return fail(QStringLiteral("Impossibile comporre il report di stampa."));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("Impossibile scrivere il file \"%1\":\n%2").arg(path, file.errorString()));
    if (file.write(pdf) != pdf.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return fail(QStringLiteral("Impossibile scrivere il file \"%1\":\n%2").arg(path, why));
    }
    if (!file.commit())
        return fail(QStringLiteral("Impossibile scrivere il file \"%1\":\n%2").arg(path, file.errorString()));
    return true;
}

} // namespace brevan::report
