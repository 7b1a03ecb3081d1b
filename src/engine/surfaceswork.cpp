// SPDX-License-Identifier: GPL-2.0-or-later
#include "surfaceswork.h"

#include "engine/fields.h"
#include "model/numbertext.h"
#include "store/datafolder.h"
#include "store/tablestore.h"

namespace brevan::engine {

namespace {

enum Surface { Useful, Conventional, Commercial };

// The values, and the fields that show them.
constexpr const char *kValues[] = {"SupUtileImmob", "SupConvenzImmob", "SupCommercImmob"};
constexpr const char *kShown[] = {"Edit25", "Edit26", "Edit27"};

} // namespace

SurfacesWork::SurfacesWork(Fields &fields, Notices &notices, QObject *parent)
    : QObject(parent), m_fields(fields), m_notices(notices)
{
}

QString SurfacesWork::usefulValue() const
{
    return m_fields.text(QString::fromLatin1(kValues[Useful]));
}

QString SurfacesWork::conventionalValue() const
{
    return m_fields.text(QString::fromLatin1(kValues[Conventional]));
}

QString SurfacesWork::commercialValue() const
{
    return m_fields.text(QString::fromLatin1(kValues[Commercial]));
}

void SurfacesWork::setUsefulValue(const QString &value)
{
    setValue(Useful, value);
}

void SurfacesWork::setConventionalValue(const QString &value)
{
    setValue(Conventional, value);
}

void SurfacesWork::setCommercialValue(const QString &value)
{
    setValue(Commercial, value);
}

void SurfacesWork::setValue(int which, const QString &value)
{
    m_fields.setText(QString::fromLatin1(kValues[which]), value);
    QString text;
    if (!value.isEmpty()) {
        double v = 0;
        // A value that is no number (a damaged appraisal) is shown as it is
        // rather than as a made-up figure.
        text = TryTextToFloat(value, &v) ? surfaceShownText(value) : value;
    }
    m_fields.setText(QString::fromLatin1(kShown[which]), text);
}

QVector<SurfaceRow> readSurfaceRows(const QString &path)
{
    QVector<SurfaceRow> out;
    const Table table = Table::open(path);
    const int description = table.columnIndex(QStringLiteral("DescrizioneSuperficie"));
    const int area = table.columnIndex(QStringLiteral("MqSuperficie"));
    if (description < 0 || area < 0)
        return out;
    for (const QVariantList &r : table.rows())
        out.append({r.value(description).toString(), r.value(area).toDouble()});
    return out;
}

QVector<SurfaceRow> SurfacesWork::rows() const
{
    const QString path = dataPath(kDescrSup);
    return Table::exists(path) ? readSurfaceRows(path) : QVector<SurfaceRow>();
}

bool SurfacesWork::readValue(const QString &text, double &value)
{
    try {
        value = TextToFloat(text);
        return true;
    } catch (const std::exception &e) {
        m_notices.error(QString::fromUtf8(e.what()));
        return false;
    }
}

void SurfacesWork::CalcolaSuperficieUtile()
{
    commitGridEdit();
    setUsefulValue(surfaceValueText(brevan::CalcolaSuperficieUtile(rows())));
}

void SurfacesWork::CalcolaSuperficieConvenzionale()
{
    commitGridEdit();
    double useful = 0;
    if (!readValue(usefulValue(), useful))
        return;
    setConventionalValue(surfaceValueText(brevan::CalcolaSuperficieConvenzionale(rows(), useful)));
}

void SurfacesWork::CalcolaSuperficieCommerciale()
{
    commitGridEdit();
    double useful = 0;
    if (!readValue(usefulValue(), useful))
        return;
    setCommercialValue(surfaceValueText(brevan::CalcolaSuperficieCommerciale(rows(), useful)));
    ValutaDimensioneSpaziCopertiScoperti();
    Q_EMIT CalcolaRedditoLordoAnnuoRequested();
}

void SurfacesWork::ValutaDimensioneSpaziCopertiScoperti()
{
    const QString judgment = QStringLiteral("SuperfAccessorie");
    const QString commercial = commercialValue();
    double sc = 0;
    if (!commercial.isEmpty() && !readValue(commercial, sc))
        return;
    m_fields.setText(judgment,
                     brevan::ValutaDimensioneSpaziCopertiScoperti(rows(), commercial, m_fields.text(judgment)));
}

void SurfacesWork::SpeedButtonCalcolaSuperficiClick()
{
    CalcolaSuperficieUtile();
    CalcolaSuperficieConvenzionale();
    CalcolaSuperficieCommerciale();
}

void SurfacesWork::AttivaSpeedButtonCalcolaSuperfici()
{
    commitGridEdit();
    const SurfaceRowCounts counts = countSurfaceRows(rows());
    if (counts.complete > 0)
        SpeedButtonCalcolaSuperficiClick();
    rowsCounted(counts);
}

} // namespace brevan::engine
