// SPDX-License-Identifier: GPL-2.0-or-later
#include "mcacontent.h"

#include "model/currency.h"
#include "model/numbertext.h"
#include "report/pdfa.h"

#include <algorithm>

namespace brevan::report {

using mca::Feature;
using mca::Row;

namespace {

QString u8(const char *s)
{
    return QString::fromUtf8(s);
}

QString money(double v)
{
    return FormattaImporto(v);
}

QString percentText(double v)
{
    return FormattaImporto(v) + QStringLiteral(" %");
}

// The header of a table of properties, from column `first` (0 the subject).
QStringList propertyHeader(const QString &labels, int first, int last)
{
    QStringList h{labels};
    for (int c = first; c <= last; ++c)
        h << mca::columnTitle(c);
    return h;
}

// Which properties a part of a table holds: numbers first … last, 0 for the
// subject.
QString partName(int first, int last)
{
    if (first == 0)
        return last == 1 ? QStringLiteral("soggetto e comparabile 1")
                         : QStringLiteral("soggetto e comparabili 1-%1").arg(last);
    return first == last ? QStringLiteral("comparabile %1").arg(first)
                         : QStringLiteral("comparabili %1-%2").arg(first).arg(last);
}

// Splits a table of properties (numbered from firstNumber, 0 for the subject)
// into tables of at most `width` properties, the labels repeated in each.
QVector<McaTable> chunked(const McaTable &whole, int width, int firstNumber)
{
    const int columns = int(whole.header.size()) - 1;
    if (columns <= width)
        return {whole};
    QVector<McaTable> parts;
    for (int start = 0; start < columns; start += width) {
        const int end = std::min(columns, start + width);
        McaTable part;
        part.title = whole.title + QStringLiteral(" (") + partName(firstNumber + start, firstNumber + end - 1)
                     + QLatin1Char(')');
        part.header << whole.header.first() << whole.header.mid(start + 1, end - start);
        for (const QStringList &row : whole.rows)
            part.rows << (QStringList{row.first()} << row.mid(start + 1, end - start));
        part.emphasised = whole.emphasised;
        if (end == columns)
            part.note = whole.note;
        parts << part;
    }
    return parts;
}

McaTable dataTable(const mca::Sheet &sheet, const McaContext &context, const std::optional<mca::Result> &result)
{
    const QDate &valuation = context.valuationDate;
    const QString address = subjectAddress(context);
    McaTable t;
    t.title = QStringLiteral("Tabella dei dati");
    t.header = propertyHeader(QStringLiteral("Caratteristica"), 0, int(sheet.comparables.size()));
    const QString valuationText = mca::MonthYear{valuation.month(), valuation.year()}.text();
    for (const mca::RowDef &d : mca::rowDefs()) {
        QStringList row{u8(d.label)};
        const auto cell = [&](const mca::SheetColumn &c, bool subject) {
            if (d.row == Row::Lift)
                return c.lift ? QStringLiteral("sì") : QStringLiteral("no");
            if (subject && d.row == Row::SaleDate)
                return valuationText;
            if (subject && d.row == Row::Address)
                return address;
            if (subject && !d.subject)
                return QString();
            return mca::shownText(d.row, c.text(d.row));
        };
        row << cell(sheet.subject, true);
        for (const mca::SheetColumn &c : sheet.comparables)
            row << cell(c, false);
        t.rows << row;
    }
    if (result) {
        QStringList row{QStringLiteral("Superficie commerciale (m²)"), money(result->subjectCommercialSurface)};
        for (const mca::ComparableResult &c : result->comparables)
            row << money(c.commercialSurface);
        t.emphasised << int(t.rows.size());
        t.rows << row;
    }
    t.note = QStringLiteral("Per il soggetto la data è quella della stima; la superficie commerciale somma alla "
                            "superficie principale le superfici secondarie per i loro rapporti mercantili.");
    return t;
}

McaTable parametersTable(const mca::Sheet &sheet)
{
    McaTable t;
    t.title = QStringLiteral("Parametri");
    t.header = {QStringLiteral("Parametro"), QStringLiteral("Valore")};
    for (const mca::ParamDef &d : mca::paramDefs())
        t.rows << QStringList{u8(d.label), sheet.param(d.param).trimmed()};
    QStringList estimated;
    for (Feature f : mca::kFeatures) {
        if (sheet.unknown[std::size_t(mca::index(f))])
            estimated << mca::featureLabel(f);
    }
    t.note = estimated.isEmpty() ? QStringLiteral("Tutti i prezzi marginali sono dati dai parametri.")
                                 : QStringLiteral("Prezzi marginali stimati con il sistema di stima: ")
                                       + estimated.join(QStringLiteral(", ")) + QLatin1Char('.');
    return t;
}

McaTable marginalTable(const mca::Sheet &sheet, const mca::Result &r)
{
    McaTable t;
    t.title = QStringLiteral("Tabella dei prezzi marginali");
    t.header = propertyHeader(QStringLiteral("Prezzo marginale"), 1, int(r.comparables.size()));
    for (Feature f : mca::kFeatures) {
        QString label = mca::featureLabel(f);
        if (sheet.unknown[std::size_t(mca::index(f))])
            label += QStringLiteral(" - stimato");
        QStringList row{label};
        for (const mca::ComparableResult &c : r.comparables)
            row << money(c.adjustments[std::size_t(mca::index(f))].marginalPrice);
        t.rows << row;
    }
    t.note = r.cheapest >= 0
                 ? QStringLiteral("Prezzo della superficie principale: il minore dei prezzi unitari (%1 €/m², "
                                  "comparabile %2).")
                       .arg(money(r.mainSurfacePrice))
                       .arg(r.cheapest + 1)
                 : QStringLiteral("Prezzo della superficie principale stimato con il sistema di stima.");
    return t;
}

McaTable valuationTable(const mca::Result &r)
{
    McaTable t;
    t.title = QStringLiteral("Tabella di valutazione");
    t.header = propertyHeader(QStringLiteral("Aggiustamento (€)"), 1, int(r.comparables.size()));
    QStringList prices{QStringLiteral("Prezzo (€)")};
    for (const mca::ComparableResult &c : r.comparables)
        prices << money(c.price);
    t.rows << prices;
    for (Feature f : mca::kFeatures) {
        QStringList row{mca::featureLabel(f).section(QStringLiteral(" ("), 0, 0)};
        for (const mca::ComparableResult &c : r.comparables)
            row << money(c.adjustments[std::size_t(mca::index(f))].amount);
        t.rows << row;
    }
    QStringList corrected{QStringLiteral("Prezzo corretto (€)")};
    for (const mca::ComparableResult &c : r.comparables)
        corrected << money(c.corrected);
    t.emphasised << int(t.rows.size());
    t.rows << corrected;
    if (r.systemUsed && r.systemStatus == SystemSolution::Status::LeastSquares) {
        QStringList residuals{QStringLiteral("Scarto dal valore del sistema (€)")};
        for (const mca::ComparableResult &c : r.comparables)
            residuals << money(c.residual);
        t.rows << residuals;
    }
    t.note = QStringLiteral("Ogni aggiustamento è il prezzo marginale per la differenza tra il soggetto e il "
                            "comparabile; per la data, per i mesi dalla vendita alla stima.");
    return t;
}

McaTable fitTable(const FitExplanation &fit, bool lire)
{
    const QString unit = lire ? QStringLiteral("Lire/m²") : QStringLiteral("€/m²");
    McaTable t;
    t.title = QStringLiteral("Comparazione diretta: la retta dei minimi quadrati");
    t.header = {QStringLiteral("Immobile di confronto"), QStringLiteral("Somma coeff. (%)"),
                QStringLiteral("Costo unitario"), QStringLiteral("Sulla retta"), QStringLiteral("Scarto"),
                QStringLiteral("Valore senza")};
    for (const FitPoint &p : fit.points) {
        t.rows << QStringList{p.address.isEmpty() ? QStringLiteral("Riga %1").arg(p.row + 1) : p.address,
                              money(p.x),
                              money(p.y),
                              money(p.fitted),
                              money(p.residual),
                              p.valueWithout ? money(*p.valueWithout) : QStringLiteral("-")};
    }
    t.note = QStringLiteral("R² = %1; somma dei coefficienti del soggetto %2 %; valore unitario %3 %4. Importi in %4; "
                            "\"Valore senza\" è il valore unitario letto sulla retta senza quel comparabile.")
                 .arg(fit.rSquared ? QString::number(*fit.rSquared, 'f', 4).replace(QLatin1Char('.'), kDecimalSeparator)
                                   : QStringLiteral("non definito (costi unitari tutti uguali)"))
                 .arg(money(fit.subjectX))
                 .arg(money(fit.value))
                 .arg(unit);
    return t;
}

} // namespace

QString subjectAddress(const McaContext &context)
{
    return (context.appraisal.value(QStringLiteral("IndirizzoImmob")) + QLatin1Char(' ')
            + context.appraisal.value(QStringLiteral("NumCivicoImmob")))
        .trimmed();
}

QString pageAmountInEuro(const QString &shown, bool lire)
{
    if (shown.trimmed().isEmpty())
        return {};
    try {
        const double v = EstraiNumero(shown);
        return euroText(lire ? v * kFattoreEuro : v);
    } catch (const ConversionError &) {
        return {};
    }
}

McaDocument buildMcaDocument(const mca::Sheet &sheet, const McaContext &context, int columnsPerTable)
{
    McaDocument doc;
    const QString place = appraisalPlace(context.appraisal);
    doc.author = appraiserName(context.appraisal);
    QStringList fileTitle{doc.title};
    if (!place.isEmpty()) {
        doc.heading << QStringLiteral("Unità immobiliare: ") + place;
        fileTitle << place;
    }
    if (!doc.author.isEmpty()) {
        doc.heading << QStringLiteral("Professionista: ") + doc.author;
        fileTitle << doc.author;
    }
    doc.fileTitle = fileTitle.join(QStringLiteral(" - "));
    const mca::Outcome o = mca::evaluate(sheet, context.valuationDate);
    doc.hasValue = o.hasValue();
    for (const mca::Issue &i : o.issues)
        doc.problems << mca::placeText(i.place) + QStringLiteral(": ") + i.message;

    const int width = std::max(1, columnsPerTable);
    doc.tables << chunked(dataTable(sheet, context, o.result), width, 0);
    doc.tables << parametersTable(sheet);
    if (o.result) {
        doc.tables << chunked(marginalTable(sheet, *o.result), width, 1);
        doc.tables << chunked(valuationTable(*o.result), width, 1);
    }

    if (!doc.hasValue) {
        doc.results << QStringLiteral("Nessun valore: correggere i dati segnalati.");
        doc.results << doc.problems;
    } else {
        const mca::Result &r = *o.result;
        doc.results << QStringLiteral("Superficie commerciale del soggetto: %1 m²").arg(money(r.subjectCommercialSurface));
        if (r.systemUsed) {
            doc.results << (r.systemStatus == SystemSolution::Status::Exact
                                ? QStringLiteral("Sistema di stima: soluzione esatta (tante equazioni quante incognite).")
                                : QStringLiteral("Sistema di stima: soluzione ai minimi quadrati (più equazioni che "
                                                 "incognite); scarti nella tabella di valutazione."));
            doc.results << QStringLiteral("Valore del sistema di stima: %1").arg(euroText(r.systemValue));
            for (Feature f : mca::kFeatures) {
                if (const auto &p = r.estimatedPrices[std::size_t(mca::index(f))])
                    doc.results << QStringLiteral("Prezzo stimato, %1: %2 %3")
                                       .arg(mca::featureLabel(f).section(QStringLiteral(" ("), 0, 0), money(*p),
                                            mca::featureUnit(f));
            }
        }
        doc.results << QStringLiteral("Divergenza tra i prezzi corretti: %1 (soglia %2)")
                           .arg(percentText(r.divergence),
                                percentText(mca::readNumberText(sheet.param(mca::Param::Threshold)).value));
        if (r.beyondThreshold) {
            doc.warningLine = int(doc.results.size());
            doc.results << QStringLiteral("Attenzione: ") + mca::kDivergenceWarning + QLatin1Char('.');
        }
        doc.valueLine = int(doc.results.size());
        doc.results << QStringLiteral("Valore di mercato per confronto di mercato (MCA): %1").arg(euroText(r.value));
        doc.results << QStringLiteral("Valore unitario (MCA): %1 €/m²").arg(money(r.unitValue));
        if (context.lire)
            doc.results << QStringLiteral("Valore (MCA) in Lire: %1 Lire").arg(money(r.value * kFattoreLire));
    }

    const auto other = [&](const QString &name, const QString &total, const QString &unit) {
        const QString t = pageAmountInEuro(total, context.lire);
        const QString u = pageAmountInEuro(unit, context.lire);
        if (t.isEmpty())
            return QStringLiteral("%1: non calcolato").arg(name);
        return QStringLiteral("%1: %2 (%3/m²)").arg(name, t, u.isEmpty() ? QStringLiteral("-") : u);
    };
    doc.results << (context.lire ? QStringLiteral("Valori della pagina dei risultati, convertiti in euro:")
                                 : QStringLiteral("Valori della pagina dei risultati:"));
    doc.results << other(QStringLiteral("Capitalizzazione dei redditi"), context.incomeTotal, context.incomeUnit);
    doc.results << other(QStringLiteral("Comparazione diretta"), context.comparisonTotal, context.comparisonUnit);

    if (context.fit && !context.fit->points.isEmpty())
        doc.tables << fitTable(*context.fit, context.lire);
    return doc;
}

} // namespace brevan::report
