// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The 15 comparison coefficients (percent) and the value by direct
// comparison: a least-squares line through the comparables' unit costs
// against the sums of their four group coefficients, read at the unit's sum.
//
// Item operations: an empty judgment gives 0; with a zone selected, a text
// with a row gives that zone's value; with no zone, or a text without a row,
// the item keeps its value.
#include "coefficients.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace brevan {

void CalcolaCDLuminosita(const QString &Luminosita, Zone zone, Coefficients &c);
void CalcolaCDPanoramicita(const QString &Panoramicita, Zone zone, Coefficients &c);
void CalcolaCDEsposizione(const QString &Esposizione, Zone zone, Coefficients &c);
void CalcolaCDProspicienza(const QString &Prospicienza, Zone zone, Coefficients &c);
// Only a multi-family building has a floor coefficient; any other type gives 0.
void CalcolaCDQuotaRispettoPianoStradale(const QString &QuotaDaPianoStrad, const QString &TipologEdiliziaImmob,
                                         Zone zone, Coefficients &c);
void CalcolaCDGradoRifinituraInterno(const QString &GradoRifinitInt, Zone zone, Coefficients &c);
void CalcolaCDGradoRifinituraEsterno(const QString &GradoRifinitExt, Zone zone, Coefficients &c);
void CalcolaCDStatoConservazInterno(const QString &StatoConservInt, Zone zone, Coefficients &c);
void CalcolaCDStatoConservazEsterno(const QString &StatoConservExt, Zone zone, Coefficients &c);
void CalcolaCDLivelloTecnologicoImpianti(const QString &LivImpiantiTecnol, Zone zone, Coefficients &c);
// Whole ages 0 to 32 by equality, then 33 and over; other ages keep the value.
// A text without a number throws ConversionError.
void CalcolaCDVetustaEdificio(const QString &EtaEdificioImmob, Zone zone, Coefficients &c);

// The four groups. Localisation reads the nine localisation coefficients of
// the capitalisation as they were last computed.
void CalcolaCDCaratteristLocalizzaz(Zone zone, Coefficients &c);
void CalcolaCDCaratteristPosizione(const Characteristics &in, Coefficients &c);
void CalcolaCDCaratteristTipologiche(const Characteristics &in, Coefficients &c);
// Empty surface gives 0; no zone, or text that is not a plain number, keeps the value.
void CalcolaCDCaratteristProduttive(const QString &SupCommercImmob, Zone zone, Coefficients &c);

// One row of the comparables table layout, its 13 texts.
struct ComparableRow {
    QString IndirizzoImmob;
    QString NumCivicoImmob;
    QString PianoImmob;
    QString InternoImmob;
    QString SupCommercImmob;
    QString CdCarattLocalizzaz;
    QString CdCarattPosizione;
    QString CdCarattTipologiche;
    QString CdCarattProduttive;
    QString CostoUnitario;
    QString CostoComplessivo;
    QString Servizio1; // shadow of CostoUnitario
    QString Servizio2; // shadow of CostoComplessivo

    // The texts in the layout's column order; missing columns read "".
    static ComparableRow fromColumns(const QStringList &columns);
    QStringList columns() const;
    bool operator==(const ComparableRow &) const = default;
};
inline constexpr int kComparableColumnCount = 13;

// Its four coefficients and its unit cost are all filled in.
bool isCompleteComparable(const ComparableRow &row);

// The two "Comparazione diretta:" fields and what they were computed from.
struct DirectComparison {
    FieldUpdate unit;  // Edit50, CostoUnitario
    FieldUpdate total; // Edit52, CostoComplessivo
    double x = 0;      // the unit's sum of the four group coefficients
    double value = 0;  // the line read at x, before truncation
    int comparables = 0; // complete comparables on the line
    int rows = 0;        // rows of the table
    bool unsupported = false; // the line is below 0 at x: no value shown
};

// Fits the line through the complete comparables and reads it at x: one
// comparable gives its own cost, none gives 0. An empty (or unreadable)
// commercial surface leaves both fields; a line below 0 at x clears them.
// A complete row whose numbers hold no digit throws ConversionError.
DirectComparison fitComparables(const QList<ComparableRow> &rows, double x, const QString &SupCommercImmob);

// The four groups, then the fit. Throws ConversionError, touching nothing,
// as the item operations and fitComparables do.
DirectComparison CalcolaCDValoreMercato(const Characteristics &in, const QList<ComparableRow> &rows, Coefficients &c);

// What the status bar says about a result: that the comparables give no
// value, or that some rows were left out as incomplete; "" when all counted.
QString comparisonNote(const DirectComparison &result);

// Long hints of the comparables page's cost editors.
struct ComparableHints {
    QString unitCost;  // DBEdit10
    QString totalCost; // DBEdit11
};
ComparableHints SetHintImmobiliConfronto(const QString &ValutaCorrente);

} // namespace brevan
