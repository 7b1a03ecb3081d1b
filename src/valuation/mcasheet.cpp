// SPDX-License-Identifier: GPL-2.0-or-later
#include "mcasheet.h"

#include "model/numbertext.h"
#include "valuation/roomnames.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

namespace brevan::mca {

namespace {

QString u8(const char *s)
{
    return QString::fromUtf8(s);
}

const std::array<RowDef, kRowCount> kRows{{
    {Row::Address, "Indirizzo", "Indirizzo del comparabile.", false, false},
    {Row::SaleDate, "Data di vendita (mese/anno)",
     "Mese e anno della vendita, per esempio 03/2024; per il soggetto la data della stima.", false, false},
    {Row::Price, "Prezzo (€)", "Prezzo di vendita in euro.", false, true},
    {Row::Source, "Fonte del dato", "Atto di compravendita, offerta, perizia…", false, false},
    {Row::MainSurface, "Superficie principale S₁ (m²)", "Superficie principale in metri quadrati.", true, true},
    {Row::Balconies, "Balconi e terrazze (m²)", "Superficie di balconi, logge, terrazze, lastrici e verande.", true,
     true},
    {Row::Cellar, "Cantina e soffitta (m²)", "Superficie di cantina e soffitta.", true, true},
    {Row::Garage, "Garage / box (m²)", "Superficie di garage, box e posti auto.", true, true},
    {Row::Garden, "Giardino o area esclusiva (m²)", "Superficie del giardino o dell'area scoperta esclusiva.", true,
     true},
    {Row::Floor, "Piano (0 = terra)", "Livello di piano: 0 per il piano terra.", true, true},
    {Row::Lift, "Ascensore", "Presenza dell'ascensore.", true, false},
    {Row::Maintenance, "Stato di manutenzione (1-5)",
     "Da 1 a 5: 1 scadente, 2 mediocre, 3 sufficiente, 4 buono, 5 ottimo.", true, true},
    {Row::Bathrooms, "Bagni (numero)", "Numero dei bagni e dei servizi igienici.", true, true},
}};

const std::array<ParamDef, kParamCount> kParams{{
    {Param::AnnualChange, "Variazione annua dei prezzi i (%, negativa se il mercato scende)", "0",
     "Saggio annuo di variazione dei prezzi di mercato: per un mercato in calo scrivere un valore negativo."},
    {Param::RatioBalconies, "Rapporto mercantile balconi e terrazze π", "0,30",
     "Prezzo di un m² di balcone o terrazza rispetto a un m² di superficie principale."},
    {Param::RatioCellar, "Rapporto mercantile cantina e soffitta π", "0,25",
     "Prezzo di un m² di cantina o soffitta rispetto a un m² di superficie principale."},
    {Param::RatioGarage, "Rapporto mercantile garage / box π", "0,50",
     "Prezzo di un m² di garage o box rispetto a un m² di superficie principale."},
    {Param::RatioGarden, "Rapporto mercantile giardino π", "0,10",
     "Prezzo di un m² di giardino rispetto a un m² di superficie principale."},
    {Param::FloorRatio, "Rapporto di piano r (% del prezzo per piano)", "2",
     "Variazione del prezzo per ogni piano di differenza, in percentuale del prezzo."},
    {Param::MaintenanceStep, "Costo di un grado di manutenzione (€)", "0",
     "Costo per passare da un grado al successivo dello stato di manutenzione."},
    {Param::BathroomCost, "Costo di un bagno nuovo (€)", "0", "Costo di realizzazione di un bagno nuovo."},
    {Param::BathroomAge, "Età del bagno (anni)", "", "Età dei bagni esistenti, in anni."},
    {Param::BathroomLife, "Vita utile del bagno (anni)", "", "Durata economica di un bagno, in anni."},
    {Param::LiftPrice, "Prezzo marginale dell'ascensore (€)", "0",
     "Differenza di prezzo tra un'unità servita dall'ascensore e una che non lo è."},
    {Param::Threshold, "Soglia di divergenza (%)", "10",
     "Divergenza massima ammessa tra il prezzo corretto più alto e il più basso."},
}};

// The numeric rows whose figures are amounts, shown with two decimals; the
// others hold whole numbers (floor, state of repair, bathrooms).
constexpr Row kAmountRows[] = {Row::Price, Row::MainSurface, Row::Balconies, Row::Cellar, Row::Garage, Row::Garden};

struct FeatureText {
    Feature feature;
    const char *name;
    const char *unit;
    Row row;
};
const FeatureText kFeatureTexts[kFeatureCount] = {
    {Feature::Date, "Data", "€/mese", Row::SaleDate},
    {Feature::MainSurface, "Superficie principale", "€/m²", Row::MainSurface},
    {Feature::Balconies, "Balconi e terrazze", "€/m²", Row::Balconies},
    {Feature::Cellar, "Cantina e soffitta", "€/m²", Row::Cellar},
    {Feature::Garage, "Garage / box", "€/m²", Row::Garage},
    {Feature::Garden, "Giardino o area esclusiva", "€/m²", Row::Garden},
    {Feature::Floor, "Piano", "€/piano", Row::Floor},
    {Feature::Lift, "Ascensore", "€", Row::Lift},
    {Feature::Maintenance, "Stato di manutenzione", "€/grado", Row::Maintenance},
    {Feature::Bathrooms, "Bagni", "€/bagno", Row::Bathrooms},
};

const FeatureText &featureText(Feature f)
{
    return kFeatureTexts[index(f)];
}

// The rooms of the surfaces table that make a secondary surface of the
// subject. "Loggia" counts in the useful surface on the surfaces page; here
// it is a balcony, and so it is left out of S₁.
struct RoomRole {
    const char *room;
    Feature feature;
};
const RoomRole kRoomRoles[] = {
    {"Balcone", Feature::Balconies},          {"Loggia", Feature::Balconies},
    {"Lastrico solare", Feature::Balconies},  {"Terrazza coperta", Feature::Balconies},
    {"Terrazza scoperta", Feature::Balconies}, {"Veranda aperta", Feature::Balconies},
    {"Veranda chiusa", Feature::Balconies},   {"Cantina", Feature::Cellar},
    {"Posto auto singolo", Feature::Garage},  {"Portico carraio", Feature::Garage},
    {"Aree verdi (quota millesimale)", Feature::Garden},
};
const char *const kBathroomRooms[] = {"Bagno", "Servizio"};

// The six grades of the interior state of repair on the 1–5 scale. "Discreto"
// (partly renovated within 15 years) joins "Buono" (wholly renovated within
// 15 years).
struct StateStep {
    const char *state;
    int step;
};
const StateStep kStateSteps[] = {
    {"Scarso", 1}, {"Mediocre", 2}, {"Sufficiente", 3}, {"Discreto", 4}, {"Buono", 4}, {"Ottimo", 5},
};

bool isWhole(double v)
{
    return std::floor(v) == v;
}

class Reader {
public:
    Reader(const Sheet &sheet, const QDate &valuationDate) : m_sheet(sheet)
    {
        m_input.valuation = {valuationDate.month(), valuationDate.year()};
    }

    Reading read()
    {
        const qsizetype n = m_sheet.comparables.size();
        if (n < kMinComparables)
            issue(Place::comparables(),
                  QStringLiteral("Servono almeno %1 comparabili: ne sono indicati %2.").arg(kMinComparables).arg(n));
        else if (n > kMaxComparables)
            issue(Place::comparables(),
                  QStringLiteral("Si possono confrontare al massimo %1 comparabili: ne sono indicati %2.")
                      .arg(kMaxComparables)
                      .arg(n));
        m_input.subject = amounts(m_sheet.subject, 0);
        for (qsizetype j = 0; j < n; ++j) {
            const SheetColumn &c = m_sheet.comparables[j];
            const int column = int(j) + 1;
            Comparable comparable;
            comparable.sale = saleDate(c, column);
            comparable.price = positive(c, column, Row::Price, QStringLiteral("Indicare il prezzo di vendita."),
                                        QStringLiteral("Il prezzo deve essere maggiore di zero."));
            comparable.amounts = amounts(c, column);
            m_input.comparables.append(comparable);
        }
        readParameters();
        Reading out;
        out.issues = m_issues;
        if (m_issues.isEmpty())
            out.input = m_input;
        return out;
    }

private:
    void issue(const Place &place, const QString &message) { m_issues.append({place, message}); }

    // The number of a cell, or nullopt after reporting why it has none.
    std::optional<double> number(const QString &text, const Place &place, const QString &whenEmpty)
    {
        const NumberText n = readNumberText(text);
        switch (n.status) {
        case NumberText::Status::Empty:
            if (whenEmpty.isEmpty())
                return 0.0;
            issue(place, whenEmpty);
            return std::nullopt;
        case NumberText::Status::Invalid:
            issue(place, QStringLiteral("«%1» non è un numero: scrivere le cifre con la virgola per i decimali, "
                                        "per esempio 1.250,50.")
                             .arg(text.trimmed()));
            return std::nullopt;
        case NumberText::Status::Number:
            break;
        }
        return n.value;
    }

    double positive(const SheetColumn &c, int column, Row row, const QString &whenEmpty, const QString &notPositive)
    {
        const Place place = Place::cell(column, row);
        const auto v = number(c.text(row), place, whenEmpty);
        if (v && !(*v > 0))
            issue(place, notPositive);
        return v.value_or(0);
    }

    MonthYear saleDate(const SheetColumn &c, int column)
    {
        const Place place = Place::cell(column, Row::SaleDate);
        const QString text = c.text(Row::SaleDate).trimmed();
        if (text.isEmpty()) {
            issue(place, QStringLiteral("Indicare il mese e l'anno della vendita, per esempio 03/2024."));
            return {};
        }
        const auto date = readMonthYear(text);
        if (!date) {
            issue(place, QStringLiteral("Data di vendita non valida: «%1». Scrivere mese e anno, per esempio 03/2024.")
                             .arg(text));
            return {};
        }
        if (date->index() > m_input.valuation.index())
            issue(place, QStringLiteral("La vendita (%1) è successiva alla data della stima (%2).")
                             .arg(date->text(), m_input.valuation.text()));
        return *date;
    }

    Amounts amounts(const SheetColumn &c, int column)
    {
        Amounts a{};
        a[std::size_t(index(Feature::MainSurface))] =
            positive(c, column, Row::MainSurface, QStringLiteral("Indicare la superficie principale."),
                     QStringLiteral("La superficie principale deve essere maggiore di zero."));
        for (Feature f : kSecondary) {
            const Row row = rowOf(f);
            const Place place = Place::cell(column, row);
            const auto v = number(c.text(row), place, {});
            if (v && *v < 0)
                issue(place, QStringLiteral("Una superficie non può essere negativa."));
            a[std::size_t(index(f))] = v.value_or(0);
        }
        const Place floorPlace = Place::cell(column, Row::Floor);
        a[std::size_t(index(Feature::Floor))] =
            number(c.text(Row::Floor), floorPlace, QStringLiteral("Indicare il piano (0 per il piano terra)."))
                .value_or(0);
        a[std::size_t(index(Feature::Lift))] = c.lift ? 1 : 0;

        const Place statePlace = Place::cell(column, Row::Maintenance);
        const QString stateRange = QStringLiteral("Lo stato di manutenzione è un numero intero da 1 (scadente) a 5 (ottimo).");
        const auto state = number(c.text(Row::Maintenance), statePlace,
                                  QStringLiteral("Indicare lo stato di manutenzione, da 1 (scadente) a 5 (ottimo)."));
        if (state && (!isWhole(*state) || *state < 1 || *state > 5))
            issue(statePlace, stateRange);
        a[std::size_t(index(Feature::Maintenance))] = state.value_or(0);

        const Place bathPlace = Place::cell(column, Row::Bathrooms);
        const auto baths = number(c.text(Row::Bathrooms), bathPlace, QStringLiteral("Indicare il numero dei bagni."));
        if (baths && (!isWhole(*baths) || *baths < 0))
            issue(bathPlace, QStringLiteral("Il numero dei bagni è un numero intero, zero o più."));
        a[std::size_t(index(Feature::Bathrooms))] = baths.value_or(0);
        return a;
    }

    double param(Param p, bool required, const QString &whenNegative)
    {
        const Place place = Place::parameter(p);
        const auto v = number(m_sheet.param(p), place, required ? QStringLiteral("Indicare un valore, anche 0.") : QString());
        if (v && !whenNegative.isEmpty() && *v < 0)
            issue(place, whenNegative);
        return v.value_or(0);
    }

    void readParameters()
    {
        Parameters &p = m_input.parameters;
        p.annualChange = param(Param::AnnualChange, true, {});
        const Param ratios[] = {Param::RatioBalconies, Param::RatioCellar, Param::RatioGarage, Param::RatioGarden};
        for (std::size_t k = 0; k < 4; ++k)
            p.ratios[k] = param(ratios[k], true, QStringLiteral("Il rapporto mercantile non può essere negativo."));
        p.floorRatio = param(Param::FloorRatio, true, QStringLiteral("Il rapporto di piano non può essere negativo."));
        p.maintenanceStep = param(Param::MaintenanceStep, false, QStringLiteral("Il costo non può essere negativo."));
        p.bathroomCost = param(Param::BathroomCost, false, QStringLiteral("Il costo non può essere negativo."));
        p.bathroomAge = param(Param::BathroomAge, false, QStringLiteral("Gli anni non possono essere negativi."));
        p.bathroomLife = param(Param::BathroomLife, false, QStringLiteral("Gli anni non possono essere negativi."));
        p.liftPrice = param(Param::LiftPrice, false, {});
        p.threshold = param(Param::Threshold, true, QStringLiteral("La soglia non può essere negativa."));
        const bool bathroomsEstimated = m_sheet.unknown[std::size_t(index(Feature::Bathrooms))];
        if (!bathroomsEstimated && p.bathroomCost > 0 && !(p.bathroomLife > 0)
            && readNumberText(m_sheet.param(Param::BathroomLife)).status != NumberText::Status::Invalid)
            issue(Place::parameter(Param::BathroomLife),
                  QStringLiteral("Indicare la vita utile del bagno, maggiore di zero, per ripartirne il costo."));
        p.unknown = m_sheet.unknown;
    }

    const Sheet &m_sheet;
    Input m_input;
    QVector<Issue> m_issues;
};

} // namespace

bool SheetColumn::isBlank() const
{
    if (lift)
        return false;
    for (const QString &t : texts) {
        if (!t.trimmed().isEmpty())
            return false;
    }
    return true;
}

Sheet Sheet::blank()
{
    Sheet s;
    s.comparables.resize(kMinComparables);
    for (const ParamDef &d : kParams)
        s.setParam(d.param, u8(d.defaultText));
    return s;
}

bool Sheet::hasData() const
{
    if (subjectEdited || cadastralSubject)
        return true;
    for (const SheetColumn &c : comparables) {
        if (!c.isBlank())
            return true;
    }
    for (const ParamDef &d : kParams) {
        if (param(d.param).trimmed() != u8(d.defaultText))
            return true;
    }
    for (bool u : unknown) {
        if (u)
            return true;
    }
    return false;
}

const std::array<RowDef, kRowCount> &rowDefs()
{
    return kRows;
}

const RowDef &rowDef(Row r)
{
    return kRows[std::size_t(r)];
}

const std::array<ParamDef, kParamCount> &paramDefs()
{
    return kParams;
}

const ParamDef &paramDef(Param p)
{
    return kParams[std::size_t(p)];
}

QString featureLabel(Feature f)
{
    return u8(featureText(f).name) + QStringLiteral(" (") + u8(featureText(f).unit) + QLatin1Char(')');
}

QString featureUnit(Feature f)
{
    return u8(featureText(f).unit);
}

Row rowOf(Feature f)
{
    return featureText(f).row;
}

NumberText readNumberText(const QString &text)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    const NumberText invalid{NumberText::Status::Invalid, 0};
    for (const QString &unit : {QStringLiteral("€"), QStringLiteral("%"), QStringLiteral("mq"), QStringLiteral("m²")}) {
        if (t.endsWith(unit)) {
            t.chop(unit.size());
            t = t.trimmed();
            break;
        }
    }
    if (t.startsWith(QStringLiteral("€")))
        t = t.mid(1).trimmed();
    bool negative = false;
    if (!t.isEmpty() && (t.front() == QLatin1Char('-') || t.front() == QChar(0x2212) || t.front() == QLatin1Char('+'))) {
        negative = t.front() != QLatin1Char('+');
        t = t.mid(1).trimmed();
    }
    if (t.isEmpty())
        return invalid;
    const qsizetype comma = t.indexOf(kDecimalSeparator);
    if (comma >= 0 && t.indexOf(kDecimalSeparator, comma + 1) >= 0)
        return invalid;
    const QString whole = comma >= 0 ? t.left(comma) : t;
    const QString fraction = comma >= 0 ? t.mid(comma + 1) : QString();
    static const QRegularExpression plain(QStringLiteral("^\\d*$"));
    static const QRegularExpression grouped(QStringLiteral("^\\d{1,3}(\\.\\d{3})+$"));
    if (!plain.match(whole).hasMatch() && !grouped.match(whole).hasMatch())
        return invalid;
    if (!plain.match(fraction).hasMatch())
        return invalid;
    QString digits = whole;
    digits.remove(kThousandsSeparator);
    if (digits.isEmpty() && fraction.isEmpty())
        return invalid;
    const QByteArray c = (digits.isEmpty() ? QStringLiteral("0") : digits).toLatin1() + '.'
                         + (fraction.isEmpty() ? QByteArray("0") : fraction.toLatin1());
    const double v = std::strtod(c.constData(), nullptr);
    if (!std::isfinite(v))
        return invalid;
    return {NumberText::Status::Number, negative ? -v : v};
}

QString shownText(Row row, const QString &typed)
{
    const QString t = typed.trimmed();
    if (!rowDef(row).numeric)
        return t;
    const NumberText n = readNumberText(t);
    if (n.status != NumberText::Status::Number)
        return t;
    const double v = n.value + 0.0; // no "-0"
    if (std::find(std::begin(kAmountRows), std::end(kAmountRows), row) != std::end(kAmountRows))
        return fifteenDigits(roundHalfUp(v, 2)) == fifteenDigits(v) ? FormattaImporto(v) : t;
    return isWhole(v) && std::abs(v) < 1e15 ? QString::number(qint64(v)) : t;
}

std::optional<MonthYear> readMonthYear(const QString &text)
{
    static const QRegularExpression shape(QStringLiteral("^\\s*(\\d{1,2})\\s*[/.-]\\s*(\\d{4})\\s*$"));
    const QRegularExpressionMatch m = shape.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const MonthYear d{m.captured(1).toInt(), m.captured(2).toInt()};
    if (d.month < 1 || d.month > 12 || d.year < 1800 || d.year > 2100)
        return std::nullopt;
    return d;
}

int maintenanceStepOf(const QString &interiorState)
{
    for (const StateStep &s : kStateSteps) {
        if (interiorState == QLatin1String(s.state))
            return s.step;
    }
    return 0;
}

SheetColumn proposeSubject(const SubjectFromPages &pages)
{
    double main = 0;
    std::array<double, 4> secondary{};
    int bathrooms = 0;
    for (const SurfaceRow &row : pages.surfaces) {
        for (const char *b : kBathroomRooms) {
            if (row.description == QLatin1String(b))
                ++bathrooms;
        }
        const RoomRole *role = nullptr;
        for (const RoomRole &r : kRoomRoles) {
            if (row.description == QLatin1String(r.room))
                role = &r;
        }
        if (role) {
            secondary[std::size_t(secondaryIndex(role->feature))] += row.area;
        } else if (const RoomName *room = roomName(row.description); room && room->useful) {
            main += row.area;
        }
    }
    if (pages.cadastral) {
        // The cadastral surface weighs the accessory spaces in already.
        main = pages.cadastralSurface.value_or(0);
        secondary.fill(0);
    }
    SheetColumn c;
    c.setText(Row::MainSurface, main > 0 ? FormattaImporto(main) : QString());
    for (std::size_t k = 0; k < kSecondary.size(); ++k)
        c.setText(rowOf(kSecondary[k]), FormattaImporto(secondary[k]));
    c.setText(Row::Floor, pages.floor.trimmed());
    c.lift = pages.lift;
    const int step = maintenanceStepOf(pages.interiorState);
    c.setText(Row::Maintenance, step > 0 ? QString::number(step) : QString());
    c.setText(Row::Bathrooms, QString::number(bathrooms));
    return c;
}

SubjectProposal takeProposal(const SheetColumn &current, const SheetColumn &proposed)
{
    // "50" and "50,00" are one value: replacing one with the other loses nothing.
    const auto sameValue = [](Row row, const QString &a, const QString &b) {
        if (a.trimmed() == b.trimmed())
            return true;
        if (!rowDef(row).numeric)
            return false;
        const NumberText x = readNumberText(a);
        const NumberText y = readNumberText(b);
        return x.status == NumberText::Status::Number && y.status == NumberText::Status::Number && x.value == y.value;
    };
    SubjectProposal out{current, {}};
    for (const RowDef &d : kRows) {
        if (!d.subject)
            continue;
        if (d.row == Row::Lift) {
            if (current.lift != proposed.lift)
                out.overwritten.append(d.row);
            out.column.lift = proposed.lift;
            continue;
        }
        const QString offered = proposed.text(d.row);
        if (offered.trimmed().isEmpty())
            continue;
        if (!current.text(d.row).trimmed().isEmpty() && !sameValue(d.row, current.text(d.row), offered))
            out.overwritten.append(d.row);
        out.column.setText(d.row, offered);
    }
    return out;
}

Reading readSheet(const Sheet &sheet, const QDate &valuationDate)
{
    return Reader(sheet, valuationDate).read();
}

Outcome evaluate(const Sheet &sheet, const QDate &valuationDate)
{
    const Reading reading = readSheet(sheet, valuationDate);
    if (!reading.input) {
        Outcome out;
        out.issues = reading.issues;
        return out;
    }
    return compute(*reading.input);
}

QString columnTitle(int column)
{
    return column == 0 ? QStringLiteral("Soggetto") : QStringLiteral("Comparabile %1").arg(column);
}

QString placeText(const Place &place)
{
    switch (place.kind) {
    case Place::Kind::Cell:
        return columnTitle(place.column) + QStringLiteral(", ") + u8(rowDef(place.row).label);
    case Place::Kind::Parameter:
        return u8(paramDef(place.param).label);
    case Place::Kind::Comparables:
        return QStringLiteral("Comparabili");
    case Place::Kind::Unknowns:
        return QStringLiteral("Sistema di stima");
    }
    return {};
}

} // namespace brevan::mca
