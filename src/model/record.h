// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The appraisal record: 149 fields in stored order. One table drives saving,
// opening, a new appraisal and the appraiser's particulars files.
#include <QString>
#include <QStringList>
#include <QStringView>
#include <span>

namespace brevan {

enum class FieldType { Text, Logical, Real };

// What opening an appraisal does with a stored value.
enum class OpenRole {
    Restore,    // put back into its control
    Companion,  // the name of a companion file, used to find that file
    Recomputed, // not read: recomputed or left to the value computations
};

// Characters a control lets through while typing.
enum class KeyFilter { None, Integers, PickOnly, Decimals };

enum class Choice {
    None,
    TipologiaEdilizia,
    DistanzaViaPrincipale,
    TrasportoPubblico,
    GiudizioMaschile,   // Scarso … Ottimo
    GiudizioSosta,      // Scarsa, Mediocre, …
    QuotaPiano,
    GiudizioFemminile,  // Scarsa, Insufficiente, …
    AscensoreTipo,
    RiscaldamentoTipo,
    StatoConservInt,
    StatoConservExt,
    GradoRifinitInt,
    GradoRifinitExt,
    PresImpianti,
    LivImpianti,
    CategorieCatastali,
    Province,
    SigleProvince,
    Comuni,
    CAP,
    ZoneUrbane,         // filled from the municipality's zone table
};

struct FieldDef {
    int number;          // 1-based position in the stored order
    const char *name;    // persisted field name
    FieldType type;
    int size;            // characters for text, 0 otherwise
    const char *control; // objectName of the control that shows it, "" when none
    OpenRole open;
    int typed;           // most characters the control accepts, 0 when none applies
    KeyFilter filter;
    Choice choice;
};

inline constexpr int kRecordFieldCount = 149;

// The 149 definitions in stored order.
std::span<const FieldDef> recordFields();
// The definition of a persisted field, or nullptr.
const FieldDef *recordField(const QString &name);
// Field numbers in the order in which opening an appraisal writes them into
// their controls (the Restore fields only).
std::span<const int> openingOrder();
// Fields 1 to 17: the appraiser's particulars.
std::span<const FieldDef> appraiserFields();

// Text sizes count characters: a character beyond U+FFFF (an emoji), two
// UTF-16 units in a QString, is one character, as it is in the stored file.
qsizetype characterCount(QStringView text);
// The first n characters of text; a character is never cut in half.
QString firstCharacters(const QString &text, qsizetype n);

// The items of a choice list in the order offered.
QStringList choiceItems(Choice list);

struct Province { const char *name; const char *code; };
std::span<const Province> provinces();
QStringList provinceNames();
QStringList provinceCodes();

struct CadastralCategory { const char *code; const char *description; };
std::span<const CadastralCategory> cadastralCategories();
QStringList cadastralCodes();
QStringList cadastralDescriptions();

} // namespace brevan
