// SPDX-License-Identifier: GPL-2.0-or-later
#include "judgments.h"

namespace brevan {

namespace {

struct TextPair {
    const char *key;
    const char *text;
};

std::optional<QString> lookup(const TextPair *rows, size_t n, const QString &key)
{
    for (size_t i = 0; i < n; ++i) {
        if (key == QString::fromUtf8(rows[i].key))
            return QString::fromUtf8(rows[i].text);
    }
    return std::nullopt;
}

const TextPair kPresenceHints[] = {
    {"Scarso", "|Giudizio scarso: assenza degli impianti essenziali."},
    {"Mediocre", "|Giudizio mediocre: presenza di ascensore o di impianto di riscaldamento."},
    {"Sufficiente", "|Giudizio sufficiente: presenza di ascensore e di impianto di riscaldamento."},
    {"Discreto", "|Giudizio discreto: presenza di ascensore, riscaldamento e antenna centralizzata o cancello automatico."},
    {"Buono", "|Giudizio buono: presenza di ascensore, riscaldamento e riserva idrica."},
    {"Ottimo", "|Giudizio ottimo: presenza di ascensore, riscaldamento, riserva idrica, antenna centralizzata e/o "
               "cancello automatico."},
};

const TextPair kLevelHints[] = {
    {"Sufficiente", "|Giudizio sufficiente: presenza di impianto di riscaldamento centralizzato."},
    {"Discreto", "|Giudizio discreto: impianto di riscaldam. a pompa di calore o impianti di riscaldam. centralizz. e "
                 "elettrico a norma di legge."},
    {"Buono", "|Giudizio buono: presenza di impianto di riscaldamento a pompa di calore e impianto elettrico a norma "
              "di legge."},
    {"Ottimo", "|Giudizio ottimo: presenza di impianto di riscaldam. a pompa di calore, impianto elettrico a norma di "
               "legge e doppio ascensore."},
};

struct GradeTable {
    const TextPair *rows;
    size_t count;
    const char *emptyHint;
    const char *initialHint;
};

const TextPair kStatoInt[] = {
    {"Scarso", "Giudizio scarso: è indispensabile una ristrutturazione totale."},
    {"Mediocre", "Giudizio mediocre: è indispensabile una ristrutturazione parziale."},
    {"Sufficiente", "Giudizio sufficiente: condizioni ordinarie (immobile con 15/20 anni di vita)."},
    {"Discreto", "Giudizio discreto: immobile parzialmente ristrutturato da meno di 15 anni."},
    {"Buono", "Giudizio buono: immobile totalmente ristrutturato da meno di 15 anni."},
    {"Ottimo", "Giudizio ottimo: immobile costruito o totalmente ristrutturato negli ultimi 5 anni."},
};
const TextPair kStatoExt[] = {
    {"Scarso", "Giudizio scarso: è indispensabile una manutenzione straordinaria."},
    {"Mediocre", "Giudizio mediocre: è indispensabile una manutenzione ordinaria."},
    {"Sufficiente", "Giudizio sufficiente: è opportuna ma non indispensabile una manutenzione ordinaria."},
    {"Buono", "Giudizio buono: non vi sono necessità di manutenzione."},
    {"Ottimo", "Giudizio ottimo: edificio nuovo o appena ristrutturato."},
};
const TextPair kRifinInt[] = {
    {"Scarso", "Giudizio scarso: intonaco, pavimenti e infissi di scarsa qualità."},
    {"Ordinario", "Giudizio ordinario: intonaco, pavimenti e infissi di sufficiente qualità."},
    {"Sufficiente", "Giudizio sufficiente: intonaco, pavimenti e infissi di sufficiente qualità, doppie finestre."},
    {"Discreto", "Giudizio discreto: intonaco trattato, pavimenti e infissi di sufficiente qualità, doppie finestre."},
    {"Buono", "Giudizio buono: intonaco trattato o carta da parati, pavimenti o parquet e infissi di buona qualità, "
              "doppie finestre."},
    {"Ottimo", "Giudizio ottimo: finiture superiori."},
};
const TextPair kRifinExt[] = {
    {"Ordinario", "Giudizio ordinario: intonaco semplice o intonaco con rivestimento di qualità ordinaria."},
    {"Sufficiente", "Giudizio sufficiente: intonaco con rivestimento di qualità ordinaria."},
    {"Discreto", "Giudizio discreto: intonaco trattato o muro a vista."},
    {"Buono", "Giudizio buono: intonaco con rivest. di qualità; intonaco trattato con rivest. di qualità; intonaco di "
              "qualità superiore."},
    {"Ottimo", "Giudizio ottimo: rivestimenti di qualità superiore."},
};

const GradeTable kGradeTables[] = {
    {kStatoInt, std::size(kStatoInt), "|Giudizio sullo stato di conservazione interno.",
     "|Giudizio sullo stato di conservazione interno dell'immobile oggetto di stima."},
    {kStatoExt, std::size(kStatoExt), "|Giudizio sullo stato di conservazione esterno.",
     "|Giudizio sullo stato di conservazione esterno dell'immobile oggetto di stima."},
    {kRifinInt, std::size(kRifinInt), "|Giudizio sul grado di rifinitura interno.",
     "|Giudizio sul grado di rifinitura interno dell'immobile oggetto di stima."},
    {kRifinExt, std::size(kRifinExt), "|Giudizio sul grado di rifinitura esterno.",
     "|Giudizio sul grado di rifinitura esterno dell'immobile oggetto di stima."},
};

struct TownRow {
    TownSize size;
    const char *rate;
    const char *hint;
};
const TownRow kTownRates[] = {
    {TownSize::Small, "4,00", "|Il saggio di capitalizzazione varia fra il valore minimo 2,00% e il massimo 6,00%."},
    {TownSize::Medium, "3,50", "|Il saggio di capitalizzazione varia fra il valore minimo 1,50% e il massimo 5,50%."},
    {TownSize::Large, "2,50", "|Il saggio di capitalizzazione varia fra il valore minimo 0,50% e il massimo 4,50%."},
};

} // namespace

QString GiudicaPresenzaImpiantiTecnologici(const Fittings &f)
{
    const bool a = f.lift;
    const bool r = f.heating;
    // Each later rule that holds overwrites the earlier ones.
    QString j;
    if (!(a && r && f.waterReserve && f.aerial && f.gate))
        j = QStringLiteral("Scarso");
    if (a || r)
        j = QStringLiteral("Mediocre");
    if (a && r)
        j = QStringLiteral("Sufficiente");
    if (a && r && (f.gate || f.aerial))
        j = QStringLiteral("Discreto");
    if (a && r && f.waterReserve)
        j = QStringLiteral("Buono");
    if (a && r && f.waterReserve && (f.aerial || f.gate))
        j = QStringLiteral("Ottimo");
    return j;
}

QString GiudicaLivelloTecnologicoImpianti(const Fittings &f, const QString &current)
{
    const bool central = f.heatingKind == QLatin1String("Centralizzato");
    const bool heatPump = f.heatingKind == QLatin1String("Pompa di calore");
    QString j = current;
    if (central)
        j = QStringLiteral("Sufficiente");
    if (heatPump || (central && f.wiring))
        j = QStringLiteral("Discreto");
    if (heatPump && f.wiring)
        j = QStringLiteral("Buono");
    if (heatPump && f.wiring && f.liftKind == QLatin1String("Doppio"))
        j = QStringLiteral("Ottimo");
    if (f.heatingKind.isEmpty() && !f.wiring && f.liftKind.isEmpty())
        j = QStringLiteral("Scarso");
    return j;
}

std::optional<QString> SetHintPresenzaImpiantiTecnologici(const QString &judgment)
{
    if (judgment.isEmpty())
        return QStringLiteral("|Giudizio sulla presenza degli impianti tecnologici.");
    return lookup(kPresenceHints, std::size(kPresenceHints), judgment);
}

std::optional<QString> SetHintLivelloTecnologicoImpianti(const QString &judgment)
{
    if (judgment.isEmpty())
        return QStringLiteral("|Giudizio sul livello tecnologico degli impianti.");
    return lookup(kLevelHints, std::size(kLevelHints), judgment);
}

std::optional<QString> gradeExplanation(GradedJudgment which, const QString &judgment)
{
    const GradeTable &t = kGradeTables[int(which)];
    if (judgment.isEmpty())
        return QString::fromUtf8(t.emptyHint);
    if (const auto text = lookup(t.rows, t.count, judgment))
        return QLatin1Char('|') + *text;
    return std::nullopt;
}

QString initialGradeHint(GradedJudgment which)
{
    return QString::fromUtf8(kGradeTables[int(which)].initialHint);
}

TownRate SetDimensioniCentroUrbano(TownSize size)
{
    for (const TownRow &r : kTownRates) {
        if (r.size == size)
            return {QString::fromLatin1(r.rate), QString::fromUtf8(r.hint)};
    }
    return {};
}

} // namespace brevan
