// SPDX-License-Identifier: GPL-2.0-or-later
#include "periziatable.h"

#include "files/appraisalfiles.h"
#include "valuation/purposecompliance.h"

#include <QDir>
#include <QJsonArray>
#include <QMap>
#include <QSet>

#include <cmath>

#include <variant>

namespace brevan::files {

using namespace perizia;

namespace {

const QString kName = QStringLiteral("Campo");
const QString kIndex = QStringLiteral("Indice");
const QString kValue = QStringLiteral("Valore");
// Lists longer than this are not a report's: a damaged or hostile file.
constexpr int kMaxListLength = 500;

QString native(const QString &path) { return QDir::toNativeSeparators(path); }

// One stored value of a structure S: its name and where it lives.
template <typename S>
using Member = std::variant<QString S::*, QDate S::*, double S::*, bool S::*, std::optional<bool> S::*, int S::*>;

template <typename S>
struct Field {
    const char *name;
    Member<S> member;
};

const QVector<Field<Report>> kReportFields{
    {"Committente", &Report::client},
    {"Richiedente", &Report::loanApplicant},
    {"Tribunale", &Report::court},
    {"RGE", &Report::procedureNumber},
    {"Giudice", &Report::judge},
    {"Albo", &Report::professionalRegister},
    {"NumeroIscrizione", &Report::registerNumber},
    {"CertificazioneUNI11558", &Report::uniCertification},
    {"RegistroUNI11558", &Report::uniRegistryNumber},
    {"DataIncarico", &Report::engagementDate},
    {"DataSopralluogo", &Report::inspectionDate},
    {"DataRapporto", &Report::reportDate},
    {"Indipendenza", &Report::independence},
    {"ConformeUNI11612", &Report::followsUni11612},
    {"Documenti567Completi", &Report::documents567Complete},
    {"Documenti567Mancanti", &Report::documents567Missing},
    {"Descrizione", &Report::description},
    {"Confini", &Report::boundaries},
    {"ConformePlanimetria", &Report::matchesCadastralPlan},
    {"DifformitaPlanimetria", &Report::planDifferences},
    {"CostoRegolarizzazioneCatastale", &Report::planFixCost},
    {"Diritto", &Report::right},
    {"NessunVincolo", &Report::noEncumbrances},
    {"Agibilita", &Report::fitForUse},
    {"ConformeTitoli", &Report::conformsToPermits},
    {"DifformitaTitoli", &Report::permitDifferences},
    {"Sanabile", &Report::regularisable},
    {"CostoSanatoria", &Report::regularisationCost},
    {"CostoRipristino", &Report::restorationCost},
    {"DestinazioneUrbanistica", &Report::landUseCertificate},
    {"CensoLivelloUsoCivico", &Report::censoLivelloUsoCivico},
    {"NonCondominio", &Report::notInCondominium},
    {"SpeseAnnue", &Report::yearlyExpenses},
    {"SpeseInsolute", &Report::unpaidLastTwoYears},
    {"SpeseStraordinarie", &Report::extraordinaryResolved},
    {"Procedimenti", &Report::lawsuits},
    {"ClasseEnergetica", &Report::energyClass},
    {"EPgl", &Report::epgl},
    {"DataAPE", &Report::apeDate},
    {"ClasseSismica", &Report::seismicClass},
    {"Sostenibilita", &Report::sustainabilityNotes},
    {"DocumentiEsaminati", &Report::documentsExamined},
    {"Assunzioni", &Report::assumptions},
    {"ValorePerito", &Report::ownValue},
    {"Motivazione", &Report::reason},
    {"ValoreImmobile", &Report::propertyValue},
    {"Rivalutazione", &Report::revaluation},
    {"MediaSeiAnni", &Report::sixYearAverage},
    {"FonteMedia", &Report::averageSource},
    {"PassoArrotondamento", &Report::roundingStep},
};

const QVector<Field<Deed>> kDeedFields{
    {"Provenienza.Tipo", &Deed::type},
    {"Provenienza.Notaio", &Deed::notary},
    {"Provenienza.Data", &Deed::date},
    {"Provenienza.Repertorio", &Deed::repertory},
};

const QVector<Field<CadastralEntry>> kCadastralFields{
    {"Catasto.Registro", &CadastralEntry::registry},
    {"Catasto.Comune", &CadastralEntry::municipality},
    {"Catasto.Sezione", &CadastralEntry::section},
    {"Catasto.Foglio", &CadastralEntry::sheet},
    {"Catasto.Particella", &CadastralEntry::parcel},
    {"Catasto.Subalterno", &CadastralEntry::subaltern},
    {"Catasto.Categoria", &CadastralEntry::category},
    {"Catasto.Classe", &CadastralEntry::cadastralClass},
    {"Catasto.Consistenza", &CadastralEntry::consistency},
    {"Catasto.Superficie", &CadastralEntry::surface},
    {"Catasto.Rendita", &CadastralEntry::income},
};

const QVector<Field<Owner>> kOwnerFields{
    {"Proprietario.Nome", &Owner::name},
    {"Proprietario.PersonaFisica", &Owner::naturalPerson},
    {"Proprietario.QuotaNumeratore", &Owner::numerator},
    {"Proprietario.QuotaDenominatore", &Owner::denominator},
    {"Proprietario.OggettoDiStima", &Owner::valued},
};

const QVector<Field<Lease>> kLeaseFields{
    {"Locazione.Conduttore", &Lease::tenant},
    {"Locazione.PersonaFisica", &Lease::naturalPerson},
    {"Locazione.Registrazione", &Lease::registered},
    {"Locazione.Scadenza", &Lease::expiry},
    {"Locazione.CanoneAnnuo", &Lease::yearlyRent},
    {"Locazione.Opponibile", &Lease::bindsBuyer},
};

const QVector<Field<Encumbrance>> kEncumbranceFields{
    {"Vincolo.Descrizione", &Encumbrance::description},
    {"Vincolo.Data", &Encumbrance::date},
    {"Vincolo.Registrazione", &Encumbrance::registration},
    {"Vincolo.ACaricoAcquirente", &Encumbrance::staysWithBuyer},
    {"Vincolo.CostoAffrancazione", &Encumbrance::redemptionCost},
};

const QVector<Field<Permit>> kPermitFields{
    {"Titolo.Tipo", &Permit::type},
    {"Titolo.Numero", &Permit::number},
    {"Titolo.Data", &Permit::date},
};

const QVector<Field<Amnesty>> kAmnestyFields{
    {"Condono.Richiedente", &Amnesty::applicant},
    {"Condono.Legge", &Amnesty::law},
    {"Condono.Stato", &Amnesty::state},
    {"Condono.OblazioniPagate", &Amnesty::feesPaid},
    {"Condono.OblazioniDovute", &Amnesty::feesDue},
};

const QVector<Field<Adjustment>> kAdjustmentFields{
    {"Adeguamento.Descrizione", &Adjustment::description},
    {"Adeguamento.Importo", &Adjustment::amount},
    {"Adeguamento.Percentuale", &Adjustment::percent},
};

// The kinds held by a list's rows, stored by their label.
const QString kScopo = QStringLiteral("Scopo");
const QString kOccupazione = QStringLiteral("Occupazione");
const QString kValoreIndicato = QStringLiteral("ValoreIndicato");
const QString kDebitore = QStringLiteral("Debitore");
const QString kAllegato = QStringLiteral("Allegato");
const QString kVincoloTipo = QStringLiteral("Vincolo.Tipo");
const QString kAdeguamentoTipo = QStringLiteral("Adeguamento.Tipo");

QString numberText(double v) { return QString::number(v, 'g', 17); }

// --- writing ---------------------------------------------------------------------

struct Writer {
    QVector<QVariantList> rows;

    void put(const QString &name, int index, const QString &text)
    {
        if (text.isEmpty())
            return;
        for (qsizetype at = 0; at < text.size(); at += kPeriziaTextSize)
            rows << QVariantList{name, double(index), text.mid(at, kPeriziaTextSize)};
    }

    template <typename S>
    void putFields(const QVector<Field<S>> &fields, const S &s, int index)
    {
        for (const Field<S> &f : fields) {
            const QString name = QString::fromLatin1(f.name);
            std::visit(
                [&](auto member) {
                    using T = std::decay_t<decltype(s.*member)>;
                    const T &v = s.*member;
                    if constexpr (std::is_same_v<T, QString>)
                        put(name, index, v);
                    else if constexpr (std::is_same_v<T, QDate>)
                        put(name, index, v.isValid() ? v.toString(Qt::ISODate) : QString());
                    else if constexpr (std::is_same_v<T, double>)
                        put(name, index, given(v) ? numberText(v) : QString());
                    else if constexpr (std::is_same_v<T, bool>)
                        put(name, index, v ? QStringLiteral("1") : QStringLiteral("0"));
                    else if constexpr (std::is_same_v<T, std::optional<bool>>)
                        put(name, index, v ? (*v ? QStringLiteral("1") : QStringLiteral("0")) : QString());
                    else
                        put(name, index, QString::number(v));
                },
                f.member);
        }
    }
};


// --- reading ---------------------------------------------------------------------

using Values = QMap<QString, QMap<int, QString>>; // name → position → text

[[noreturn]] void notAReport(const QString &path, const QString &why)
{
    throw StoreError(QStringLiteral("La tabella \"%1\" non è un rapporto di valutazione valido: %2.")
                         .arg(native(path), why));
}

struct Reader {
    const Values &values;
    const QString &path;
    QSet<QString> used;

    std::optional<QString> take(const QString &name, int index)
    {
        used.insert(name);
        const auto byName = values.constFind(name);
        if (byName == values.cend())
            return std::nullopt;
        const auto at = byName->constFind(index);
        if (at == byName->cend())
            return std::nullopt;
        return *at;
    }

    template <typename S>
    void takeFields(const QVector<Field<S>> &fields, S &s, int index)
    {
        for (const Field<S> &f : fields) {
            const QString name = QString::fromLatin1(f.name);
            const std::optional<QString> text = take(name, index);
            if (!text)
                continue;
            std::visit(
                [&](auto member) {
                    using T = std::decay_t<decltype(s.*member)>;
                    T &v = s.*member;
                    if constexpr (std::is_same_v<T, QString>) {
                        v = *text;
                    } else if constexpr (std::is_same_v<T, QDate>) {
                        v = QDate::fromString(*text, Qt::ISODate);
                        if (!v.isValid())
                            notAReport(path, QStringLiteral("la data di %1 non è valida").arg(name));
                    } else if constexpr (std::is_same_v<T, double>) {
                        bool ok = false;
                        v = text->toDouble(&ok);
                        if (!ok || !std::isfinite(v))
                            notAReport(path, QStringLiteral("il numero di %1 non è valido").arg(name));
                    } else if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, std::optional<bool>>) {
                        if (*text != QLatin1String("1") && *text != QLatin1String("0"))
                            notAReport(path, QStringLiteral("il valore di %1 non è valido").arg(name));
                        v = *text == QLatin1String("1");
                    } else {
                        bool ok = false;
                        v = text->toInt(&ok);
                        if (!ok)
                            notAReport(path, QStringLiteral("il numero di %1 non è valido").arg(name));
                    }
                },
                f.member);
        }
    }

    // The length of the list whose values are stored under these names.
    int listLength(const QStringList &names) const
    {
        int length = 0;
        for (const QString &name : names) {
            const auto byName = values.constFind(name);
            if (byName != values.cend() && !byName->isEmpty())
                length = std::max(length, byName->lastKey() + 1);
        }
        return length;
    }

    template <typename S>
    QVector<S> takeList(const QVector<Field<S>> &fields, const QStringList &more = {})
    {
        QStringList names = more;
        for (const Field<S> &f : fields)
            names << QString::fromLatin1(f.name);
        QVector<S> list(listLength(names));
        for (int i = 0; i < list.size(); ++i)
            takeFields(fields, list[i], i);
        return list;
    }

    QStringList takeTexts(const QString &name)
    {
        QStringList list;
        const int n = listLength({name});
        for (int i = 0; i < n; ++i)
            list << take(name, i).value_or(QString());
        return list;
    }

    template <typename T>
    std::optional<T> takeKind(const QString &name, int index, const QVector<QPair<T, QString>> &table)
    {
        const std::optional<QString> text = take(name, index);
        if (!text)
            return std::nullopt;
        for (const auto &[v, label] : table) {
            if (label == *text)
                return v;
        }
        notAReport(path, QStringLiteral("il valore di %1 non è valido").arg(name));
    }
};

template <typename S>
QJsonObject fieldsJson(const QVector<Field<S>> &fields, const S &s)
{
    QJsonObject o;
    for (const Field<S> &f : fields) {
        const QString name = QString::fromLatin1(f.name).section(QLatin1Char('.'), -1);
        std::visit(
            [&](auto member) {
                using T = std::decay_t<decltype(s.*member)>;
                const T &v = s.*member;
                if constexpr (std::is_same_v<T, QString>) {
                    if (!v.isEmpty())
                        o.insert(name, v);
                } else if constexpr (std::is_same_v<T, QDate>) {
                    if (v.isValid())
                        o.insert(name, v.toString(QStringLiteral("dd/MM/yyyy")));
                } else if constexpr (std::is_same_v<T, double>) {
                    if (given(v))
                        o.insert(name, v);
                } else if constexpr (std::is_same_v<T, bool>) {
                    o.insert(name, v);
                } else if constexpr (std::is_same_v<T, std::optional<bool>>) {
                    if (v)
                        o.insert(name, *v);
                } else {
                    o.insert(name, v);
                }
            },
            f.member);
    }
    return o;
}

template <typename S>
QJsonArray listJson(const QVector<Field<S>> &fields, const QVector<S> &list)
{
    QJsonArray a;
    for (const S &s : list)
        a.append(fieldsJson(fields, s));
    return a;
}

} // namespace

Layout periziaLayout()
{
    return {Column{kName, ColumnType::Text, 40}, Column{kIndex, ColumnType::Real, 0},
            Column{kValue, ColumnType::Text, kPeriziaTextSize}};
}

QVector<QVariantList> periziaRows(const Report &r)
{
    Writer w;
    w.put(kScopo, 0, purposeKey(r.purpose));
    w.putFields(kReportFields, r, 0);
    w.put(kOccupazione, 0, labelOf(occupations(), r.occupation));
    w.put(kValoreIndicato, 0, labelOf(statedValues(), r.stated));
    for (int i = 0; i < r.debtors.size(); ++i)
        w.put(kDebitore, i, r.debtors.at(i));
    w.putFields(kDeedFields, r.deed, 0);
    for (int i = 0; i < r.cadastral.size(); ++i)
        w.putFields(kCadastralFields, r.cadastral.at(i), i);
    for (int i = 0; i < r.owners.size(); ++i)
        w.putFields(kOwnerFields, r.owners.at(i), i);
    for (int i = 0; i < r.leases.size(); ++i)
        w.putFields(kLeaseFields, r.leases.at(i), i);
    for (int i = 0; i < r.encumbrances.size(); ++i) {
        w.put(kVincoloTipo, i, labelOf(encumbranceKinds(), r.encumbrances.at(i).kind));
        w.putFields(kEncumbranceFields, r.encumbrances.at(i), i);
    }
    for (int i = 0; i < r.permits.size(); ++i)
        w.putFields(kPermitFields, r.permits.at(i), i);
    for (int i = 0; i < r.amnesties.size(); ++i)
        w.putFields(kAmnestyFields, r.amnesties.at(i), i);
    for (int i = 0; i < r.adjustments.size(); ++i) {
        w.put(kAdeguamentoTipo, i, labelOf(adjustmentKinds(), r.adjustments.at(i).kind));
        w.putFields(kAdjustmentFields, r.adjustments.at(i), i);
    }
    for (int i = 0; i < r.annexes.size(); ++i)
        w.put(kAllegato, i, r.annexes.at(i));
    return w.rows;
}

Report periziaFromRows(const QVector<QVariantList> &rows, const QString &path)
{
    Values values;
    for (const QVariantList &row : rows) {
        if (row.size() != 3)
            notAReport(path, QStringLiteral("una riga non ha tre valori"));
        const QString name = row.at(0).toString();
        const double position = row.at(1).toDouble();
        if (position < 0 || position >= kMaxListLength || position != std::floor(position))
            notAReport(path, QStringLiteral("la posizione di %1 non è valida").arg(name));
        values[name][int(position)] += row.at(2).toString();
    }

    Reader in{values, path, {}};
    Report r;
    const std::optional<QString> purpose = in.take(kScopo, 0);
    if (!purpose || !purposeOfKey(*purpose))
        notAReport(path, QStringLiteral("lo scopo manca o non è valido"));
    r.purpose = *purposeOfKey(*purpose);
    in.takeFields(kReportFields, r, 0);
    r.occupation = in.takeKind(kOccupazione, 0, occupations()).value_or(Occupation::NotStated);
    r.stated = in.takeKind(kValoreIndicato, 0, statedValues()).value_or(StatedValue::Comparison);
    r.debtors = in.takeTexts(kDebitore);
    in.takeFields(kDeedFields, r.deed, 0);
    r.cadastral = in.takeList(kCadastralFields);
    r.owners = in.takeList(kOwnerFields);
    r.leases = in.takeList(kLeaseFields);
    r.encumbrances = in.takeList(kEncumbranceFields, {kVincoloTipo});
    for (int i = 0; i < r.encumbrances.size(); ++i)
        r.encumbrances[i].kind = in.takeKind(kVincoloTipo, i, encumbranceKinds()).value_or(EncumbranceKind::Other);
    r.permits = in.takeList(kPermitFields);
    r.amnesties = in.takeList(kAmnestyFields);
    r.adjustments = in.takeList(kAdjustmentFields, {kAdeguamentoTipo});
    for (int i = 0; i < r.adjustments.size(); ++i)
        r.adjustments[i].kind = in.takeKind(kAdeguamentoTipo, i, adjustmentKinds()).value_or(AdjustmentKind::Other);
    r.annexes = in.takeTexts(kAllegato);

    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (!in.used.contains(it.key()))
            notAReport(path, QStringLiteral("il campo %1 non è noto").arg(it.key()));
    }
    return r;
}

void writePeriziaTable(const QString &path, const Report &report)
{
    writeTableFile(path, periziaLayout(), periziaRows(report));
}

Report readPeriziaTable(const QString &path)
{
    const TableData data = readTableFile(path);
    requireLayout(data, periziaLayout(), path);
    return periziaFromRows(data.rows, path);
}

QJsonObject periziaJson(const Report &r, const AppraisalFacts &facts)
{
    QJsonObject o = fieldsJson(kReportFields, r);
    o.insert(kScopo, purposeKey(r.purpose));
    o.insert(kOccupazione, labelOf(occupations(), r.occupation));
    o.insert(kValoreIndicato, labelOf(statedValues(), r.stated));
    o.insert(kDebitore, QJsonArray::fromStringList(r.debtors));
    o.insert(QStringLiteral("Provenienza"), fieldsJson(kDeedFields, r.deed));
    o.insert(QStringLiteral("Catasto"), listJson(kCadastralFields, r.cadastral));
    o.insert(QStringLiteral("Proprietari"), listJson(kOwnerFields, r.owners));
    o.insert(QStringLiteral("Locazioni"), listJson(kLeaseFields, r.leases));
    QJsonArray encumbrances = listJson(kEncumbranceFields, r.encumbrances);
    for (int i = 0; i < r.encumbrances.size(); ++i) {
        QJsonObject e = encumbrances.at(i).toObject();
        e.insert(QStringLiteral("Tipo"), labelOf(encumbranceKinds(), r.encumbrances.at(i).kind));
        encumbrances[i] = e;
    }
    o.insert(QStringLiteral("Vincoli"), encumbrances);
    o.insert(QStringLiteral("Titoli"), listJson(kPermitFields, r.permits));
    o.insert(QStringLiteral("Condoni"), listJson(kAmnestyFields, r.amnesties));
    o.insert(QStringLiteral("Allegati"), QJsonArray::fromStringList(r.annexes));

    const std::optional<double> market = statedMarketValue(r, facts);
    o.insert(QStringLiteral("ValoreDiMercato"), market ? QJsonValue(*market) : QJsonValue());
    if (r.purpose == Purpose::Court) {
        QJsonArray adjustments;
        const std::optional<CourtValue> court = courtValue(r, facts);
        for (int i = 0; i < r.adjustments.size(); ++i) {
            QJsonObject a = fieldsJson(kAdjustmentFields, r.adjustments.at(i));
            a.insert(QStringLiteral("Tipo"), labelOf(adjustmentKinds(), r.adjustments.at(i).kind));
            if (court)
                a.insert(QStringLiteral("Ammontare"), court->amounts.at(i));
            adjustments.append(a);
        }
        o.insert(QStringLiteral("Adeguamenti"), adjustments);
        if (court) {
            o.insert(QStringLiteral("ValoreAlNettoDegliAdeguamenti"), court->netValue);
            o.insert(QStringLiteral("Quota"), court->share);
            o.insert(QStringLiteral("ValoreDellaQuota"), court->shareValue);
            o.insert(QStringLiteral("PrezzoBaseProposto"), court->basePrice);
        }
    }

    QJsonArray missing;
    for (const MissingItem &m : missingItems(r, facts)) {
        missing.append(QJsonObject{{QStringLiteral("sezione"), sectionTitle(m.section)},
                                   {QStringLiteral("elemento"), m.item},
                                   {QStringLiteral("norma"), m.rule}});
    }
    QJsonArray problems;
    for (const Problem &p : perizia::problems(r, facts))
        problems.append(QJsonObject{{QStringLiteral("campo"), p.field}, {QStringLiteral("messaggio"), p.message}});
    o.insert(QStringLiteral("conformita"),
             QJsonObject{{QStringLiteral("scopo"), purposeLabel(r.purpose)},
                         {QStringLiteral("mancano"), missing},
                         {QStringLiteral("errori"), problems}});
    return o;
}

} // namespace brevan::files
