// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The 37 coefficient values held beside the pages (record fields 108 to 144),
// the inputs the valuation reads from the characteristic pages, and the small
// vocabulary shared by the income, capitalisation and comparison computations.
#include <QString>

#include <array>
#include <optional>

namespace brevan {

// Ids are the record field numbers, so a coefficient's persisted name is
// always the record's own (see coefficientName).
enum class Coef : int {
    CICentrRispCentrUrb = 108,
    CILivelloCollegam,
    CIAttrezzCollett,
    CIQualifAmbienteExt,
    CILuminosita,
    CIPanoramicita,
    CIProspicienza,
    CIIdoneitaInsediat,
    CIPrevMiglAmbient,
    CILivInquinamAmbient,
    CIPresVerdePubblico,
    CIVetustaEdificio,
    CIDisponibParcheggi,
    CIGradoRifinInterno,
    CIGradoRifinEsterno,
    CIQuotaDaPianoStrad,
    CIDimensSpaziAccess,
    CILivTecnolImpianti,
    CIStatoConservazInt,
    CIStatoConservazExt,
    CICarattProduttive,
    SaggioCapitalizzaz,
    CDEsposizione,
    CDCarattLocalizzaz,
    CDLuminosita,
    CDPanoramicita,
    CDProspicienza,
    CDQuotaDaPianoStrad,
    CDCarattPosizione,
    CDGradoRifinInterno,
    CDGradoRifinEsterno,
    CDStatoConservazInt,
    CDStatoConservazExt,
    CDLivTecnolImpianti,
    CDVetustaEdificio,
    CDCarattTipologiche,
    CDCarattProduttive, // 144
};

inline constexpr int kFirstCoefficientField = 108;
inline constexpr int kCoefficientCount = 37;
static_assert(static_cast<int>(Coef::CDCarattProduttive) == kFirstCoefficientField + kCoefficientCount - 1);

// All ids in record order.
const std::array<Coef, kCoefficientCount> &coefficientIds();
// The persisted name, read from the record's field table.
QString coefficientName(Coef id);
// nullopt for a name that is not one of the 37.
std::optional<Coef> coefficientByName(const QString &name);

// The 37 values of one appraisal; a new appraisal has them all at 0.
class Coefficients {
public:
    double operator[](Coef id) const { return m_values[index(id)]; }
    double &operator[](Coef id) { return m_values[index(id)]; }

    // By persisted name; nullopt / false for a name that is not a coefficient.
    std::optional<double> value(const QString &name) const;
    bool setValue(const QString &name, double value);

    bool operator==(const Coefficients &) const = default;

private:
    static std::size_t index(Coef id) { return static_cast<std::size_t>(static_cast<int>(id) - kFirstCoefficientField); }
    std::array<double, kCoefficientCount> m_values{};
};

// The selected option of "Zona centrale", "Zona intermedia", "Zona periferica".
enum class Zone { None, Centrale, Intermedia, Periferica };
// The option's caption, as the unit-rent table names the zone; "" for None.
QString zoneCaption(Zone zone);

// The 15 "Attrezzature collettive a distanza pedonale" ticks, indexed in the
// order of the record fields ScuoleObbligo … LocaliSpettacolo.
inline constexpr int kFacilityCount = 15;
using Facilities = std::array<bool, kFacilityCount>;
QString facilityName(int index);    // persisted name, from the record
QString facilityCaption(int index); // the box's caption

// The texts and ticks of the characteristic pages, exactly as their controls
// hold them.
struct Characteristics {
    // Localisation
    QString DistanzaViaPrincip;
    QString ServTraspPubblico;
    QString QualifAmbienteExt;
    QString IdoneitaInsediat;
    QString MiglioramAmbiente;
    QString InquinamAmbiente;
    QString VerdePubblico;
    QString DisponibAreeSosta;
    Facilities facilities{};
    Zone zone = Zone::None;
    // Position and type
    QString Panoramicita;
    QString Prospicienza;
    QString Luminosita;
    QString Esposizione;
    QString QuotaDaPianoStrad;
    QString SuperfAccessorie;
    QString GradoRifinitInt;
    QString GradoRifinitExt;
    QString LivImpiantiTecnol;
    QString StatoConservInt;
    QString StatoConservExt;
    // Description and surfaces
    QString TipologEdiliziaImmob;
    QString EtaEdificioImmob;  // "12 anni", "1 anno"
    QString SupCommercImmob;   // plain float text, "" until computed
};

// What a computation asks of one result field. Leave keeps whatever the field
// shows; Clear empties it; Write puts text in it.
struct FieldUpdate {
    enum class Action { Leave, Write, Clear };
    Action action = Action::Leave;
    QString text;

    static FieldUpdate leave() { return {}; }
    static FieldUpdate clear() { return {Action::Clear, {}}; }
    static FieldUpdate write(const QString &t) { return {Action::Write, t}; }
    // The field's text after the update.
    QString applied(const QString &current) const;
    bool operator==(const FieldUpdate &) const = default;
};

// Number reading that never throws. Pasted text can put letters into fields
// that these computations read, and an exception thrown through a Qt slot
// would take the program down; such text counts as no number.
// amountIn: EstraiNumero's reading; nullopt for empty text or text without a digit.
std::optional<double> amountIn(const QString &text);
// plainNumberIn: plain float conversion; nullopt when the text is not a plain number.
std::optional<double> plainNumberIn(const QString &text);
// A leading minus, which EstraiNumero would drop.
bool isNegativeText(const QString &text);

} // namespace brevan
