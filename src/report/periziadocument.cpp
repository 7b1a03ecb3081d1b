// SPDX-License-Identifier: GPL-2.0-or-later
#include "periziadocument.h"

#include "files/wholefile.h"
#include "report/pdfa.h"
#include "valuation/purposecompliance.h"

#include <QBuffer>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextTable>
#include <QUrl>

#include <cmath>
#include <functional>

namespace brevan::report {

using namespace perizia;

namespace {

// Which purposes print a line: a mask of these.
constexpr unsigned kBank = 1, kCourt = 2, kMarket = 4, kAll = 7;
unsigned bit(Purpose p)
{
    switch (p) {
    case Purpose::Bank:
        return kBank;
    case Purpose::Court:
        return kCourt;
    case Purpose::Market:
        break;
    }
    return kMarket;
}

QString dateText(const QDate &d) { return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : QString(); }
QString euro(double v) { return given(v) ? euroText(v) : QString(); }
QString yesNo(const std::optional<bool> &v) { return v ? (*v ? QStringLiteral("sì") : QStringLiteral("no")) : QString(); }
QString number(double v, int decimals)
{
    return given(v) ? QLocale(QLocale::Italian, QLocale::Italy).toString(v, 'f', decimals) : QString();
}


// One line "Label: value" of a section, printed for some purposes when its value is given.
struct Line {
    Section section;
    const char16_t *label;
    unsigned purposes;
    std::function<QString(const Report &, const AppraisalFacts &)> text;
};

const QVector<Line> &lines()
{
    static const QVector<Line> rows{
        {Section::Engagement, u"Committente", kAll, [](const Report &r, const AppraisalFacts &) { return r.client; }},
        {Section::Engagement, u"Richiedente il finanziamento", kBank,
         [](const Report &r, const AppraisalFacts &) { return r.loanApplicant; }},
        {Section::Engagement, u"Tribunale", kCourt, [](const Report &r, const AppraisalFacts &) { return r.court; }},
        {Section::Engagement, u"Procedura (R.G.E.)", kCourt,
         [](const Report &r, const AppraisalFacts &) { return r.procedureNumber; }},
        {Section::Engagement, u"Giudice dell'esecuzione", kCourt, [](const Report &r, const AppraisalFacts &) { return r.judge; }},
        {Section::Engagement, u"Debitori", kCourt,
         [](const Report &r, const AppraisalFacts &) { return r.debtors.join(QStringLiteral(", ")); }},
        {Section::Engagement, u"Perito", kAll, [](const Report &, const AppraisalFacts &f) { return f.appraiser; }},
        {Section::Engagement, u"Iscrizione all'albo", kAll,
         [](const Report &r, const AppraisalFacts &) {
             return r.registerNumber.isEmpty() ? r.professionalRegister
                                               : QStringLiteral("%1, n. %2").arg(r.professionalRegister, r.registerNumber);
         }},
        {Section::Engagement, u"Certificazione UNI 11558", kAll,
         [](const Report &r, const AppraisalFacts &) {
             return r.uniRegistryNumber.isEmpty() ? r.uniCertification
                                                  : QStringLiteral("%1, registro n. %2").arg(r.uniCertification, r.uniRegistryNumber);
         }},
        {Section::Engagement, u"Data dell'incarico", kAll, [](const Report &r, const AppraisalFacts &) { return dateText(r.engagementDate); }},
        {Section::Engagement, u"Data del sopralluogo", kAll, [](const Report &r, const AppraisalFacts &) { return dateText(r.inspectionDate); }},
        {Section::Engagement, u"Data del rapporto", kAll, [](const Report &r, const AppraisalFacts &) { return dateText(r.reportDate); }},
        {Section::Engagement, u"Base di valore", kAll,
         [](const Report &r, const AppraisalFacts &) {
             return r.purpose == Purpose::Bank ? QStringLiteral("valore di mercato e valore dell'immobile")
                                               : QStringLiteral("valore di mercato");
         }},
        {Section::Engagement, u"Indipendenza", kAll,
         [](const Report &r, const AppraisalFacts &) {
             return r.independence ? QStringLiteral("il perito dichiara di essere indipendente e di non trovarsi in "
                                                    "conflitto di interessi")
                                   : QString();
         }},
        {Section::Engagement, u"Norma seguita", kMarket,
         [](const Report &r, const AppraisalFacts &) {
             return r.followsUni11612 ? QStringLiteral("la valutazione segue la norma UNI 11612") : QString();
         }},
        {Section::Engagement, u"Documenti dell'art. 567 c.p.c.", kCourt,
         [](const Report &r, const AppraisalFacts &) {
             if (!r.documents567Complete)
                 return QString();
             return *r.documents567Complete ? QStringLiteral("completi")
                                            : QStringLiteral("incompleti; mancano: %1").arg(r.documents567Missing);
         }},
        {Section::Identification, u"Indirizzo", kAll, [](const Report &, const AppraisalFacts &f) { return f.address; }},
        {Section::Identification, u"Descrizione", kAll,
         [](const Report &r, const AppraisalFacts &f) {
             return QStringList{f.pagesDescription, r.description}.filter(QRegularExpression(QStringLiteral("\\S")))
                 .join(QStringLiteral("\n"));
         }},
        {Section::Identification, u"Confini", kAll, [](const Report &r, const AppraisalFacts &) { return r.boundaries; }},
        {Section::Identification, u"Corrispondenza con la planimetria catastale", kAll,
         [](const Report &r, const AppraisalFacts &) { return yesNo(r.matchesCadastralPlan); }},
        {Section::Identification, u"Differenze", kAll, [](const Report &r, const AppraisalFacts &) { return r.planDifferences; }},
        {Section::Identification, u"Costo della regolarizzazione catastale", kAll,
         [](const Report &r, const AppraisalFacts &) { return euro(r.planFixCost); }},
        {Section::Title, u"Diritto valutato", kAll, [](const Report &r, const AppraisalFacts &) { return r.right; }},
        {Section::Title, u"Atto di provenienza", kAll,
         [](const Report &r, const AppraisalFacts &) {
             if (!r.deed.given())
                 return QString();
             QString t = QStringLiteral("%1 del %2").arg(r.deed.type, dateText(r.deed.date));
             if (!r.deed.notary.isEmpty())
                 t += QStringLiteral(", %1").arg(r.deed.notary);
             if (!r.deed.repertory.isEmpty())
                 t += QStringLiteral(", rep. n. %1").arg(r.deed.repertory);
             return t;
         }},
        {Section::Title, u"Stato di possesso", kAll,
         [](const Report &r, const AppraisalFacts &) {
             return r.occupation == Occupation::NotStated ? QString() : labelOf(occupations(), r.occupation);
         }},
        {Section::Encumbrances, u"Vincoli e oneri", kAll,
         [](const Report &r, const AppraisalFacts &) {
             return r.noEncumbrances && r.encumbrances.isEmpty() ? QStringLiteral("nessuno") : QString();
         }},
        {Section::Encumbrances, u"Censo, livello o uso civico", kAll,
         [](const Report &r, const AppraisalFacts &) {
             return r.censoLivelloUsoCivico ? (*r.censoLivelloUsoCivico ? QStringLiteral("il bene ne è gravato")
                                                                          : QStringLiteral("il bene ne è libero"))
                                            : QString();
         }},
        {Section::Planning, u"Conformità ai titoli edilizi", kAll,
         [](const Report &r, const AppraisalFacts &) { return yesNo(r.conformsToPermits); }},
        {Section::Planning, u"Agibilità", kAll, [](const Report &r, const AppraisalFacts &) { return yesNo(r.fitForUse); }},
        {Section::Planning, u"Difformità", kAll, [](const Report &r, const AppraisalFacts &) { return r.permitDifferences; }},
        {Section::Planning, u"Sanabili", kAll, [](const Report &r, const AppraisalFacts &) { return yesNo(r.regularisable); }},
        {Section::Planning, u"Costo della sanatoria", kAll,
         [](const Report &r, const AppraisalFacts &) { return euro(r.regularisationCost); }},
        {Section::Planning, u"Costo del ripristino", kAll,
         [](const Report &r, const AppraisalFacts &) { return euro(r.restorationCost); }},
        {Section::Planning, u"Certificato di destinazione urbanistica", kAll,
         [](const Report &r, const AppraisalFacts &) { return r.landUseCertificate; }},
        {Section::Condominium, u"Condominio", kAll,
         [](const Report &r, const AppraisalFacts &) {
             return r.notInCondominium ? QStringLiteral("l'unità non fa parte di un condominio") : QString();
         }},
        {Section::Condominium, u"Spese ordinarie annue", kAll, [](const Report &r, const AppraisalFacts &) { return euro(r.yearlyExpenses); }},
        {Section::Condominium, u"Spese insolute degli ultimi due anni", kAll,
         [](const Report &r, const AppraisalFacts &) { return euro(r.unpaidLastTwoYears); }},
        {Section::Condominium, u"Spese straordinarie già deliberate", kAll,
         [](const Report &r, const AppraisalFacts &) { return euro(r.extraordinaryResolved); }},
        {Section::Condominium, u"Procedimenti giudiziari", kAll, [](const Report &r, const AppraisalFacts &) { return r.lawsuits; }},
        {Section::Energy, u"Classe energetica (APE)", kAll, [](const Report &r, const AppraisalFacts &) { return r.energyClass; }},
        {Section::Energy, u"EPgl", kAll,
         [](const Report &r, const AppraisalFacts &) {
             return given(r.epgl) ? QStringLiteral("%1 kWh/m² anno").arg(number(r.epgl, 2)) : QString();
         }},
        {Section::Energy, u"Data dell'APE", kAll, [](const Report &r, const AppraisalFacts &) { return dateText(r.apeDate); }},
        {Section::Energy, u"Classe di rischio sismico", kAll, [](const Report &r, const AppraisalFacts &) { return r.seismicClass; }},
        {Section::Energy, u"Note sulla sostenibilità", kAll,
         [](const Report &r, const AppraisalFacts &) { return r.sustainabilityNotes; }},
        {Section::Documents, u"Documenti esaminati", kAll, [](const Report &r, const AppraisalFacts &) { return r.documentsExamined; }},
        {Section::Documents, u"Assunzioni e condizioni limitative", kAll,
         [](const Report &r, const AppraisalFacts &) { return r.assumptions; }},
        {Section::Documents, u"Allegati", kAll,
         [](const Report &r, const AppraisalFacts &) { return r.annexes.join(QStringLiteral("; ")); }},
    };
    return rows;
}

// The report's sections, each in the order its rules list its contents.
const QVector<Section> kCourtOrder{Section::Engagement, Section::Identification, Section::Title, Section::Encumbrances,
                                   Section::Planning, Section::Condominium, Section::Energy, Section::Documents,
                                   Section::Valuation};
const QVector<Section> kBankOrder{Section::Engagement, Section::Identification, Section::Title, Section::Encumbrances,
                                  Section::Planning, Section::Energy, Section::Condominium, Section::Documents,
                                  Section::Valuation};
const QVector<Section> kMarketOrder{Section::Engagement, Section::Identification, Section::Title, Section::Planning,
                                    Section::Encumbrances, Section::Energy, Section::Condominium, Section::Documents,
                                    Section::Valuation};

class Builder {
public:
    explicit Builder(const PeriziaInput &in)
        : m_in(in), m_doc(std::make_unique<QTextDocument>()), m_cursor(m_doc.get()),
          m_names(in.privacy ? privateNames(in.report) : QStringList())
    {
        QFont font(QStringLiteral("Arial"));
        font.setPointSizeF(10);
        m_doc->setDefaultFont(font);
    }

    std::unique_ptr<QTextDocument> build()
    {
        const Report &r = m_in.report;
        heading(QStringLiteral("Rapporto di valutazione"), 16);
        paragraph(purposeLabel(r.purpose));
        if (!m_in.title.isEmpty())
            paragraph(m_in.title);
        if (m_in.privacy)
            paragraph(QStringLiteral("Copia per la pubblicazione: i nomi delle persone fisiche sono omessi."));

        const QVector<MissingItem> missing = missingItems(r, m_in.facts);
        if (!missing.isEmpty()) {
            heading(kMissingHeading, 12);
            for (const QString &line : missingLines(missing))
                paragraph(QStringLiteral("– ") + line);
        }
        m_problems = perizia::problems(r, m_in.facts);
        if (!m_problems.isEmpty()) {
            heading(QStringLiteral("Dati da correggere"), 12);
            for (const Problem &p : m_problems)
                paragraph(QStringLiteral("– ") + p.message);
        }

        for (Section s : sectionOrder(r.purpose))
            section(s);
        if (!m_in.surfaces.isEmpty()) {
            heading(QStringLiteral("Superfici"), 12);
            table(m_in.surfacesHeader, m_in.surfaces);
        }
        if (m_in.mca && m_in.mca->hasValue) {
            heading(m_in.mca->title, 12);
            for (const McaTable &t : m_in.mca->tables) {
                paragraph(t.title);
                table(t.header, t.rows);
            }
            for (const QString &line : m_in.mca->results)
                paragraph(line);
        }
        if (!m_in.pictures.isEmpty()) {
            heading(QStringLiteral("Fotografie e planimetrie"), 12);
            for (int i = 0; i < m_in.pictures.size(); ++i)
                picture(m_in.pictures.at(i), i);
        }
        return std::move(m_doc);
    }

private:
    QString text(const QString &t) const { return m_names.isEmpty() ? t : withoutNames(t, m_names); }

    void heading(const QString &t, double points)
    {
        QTextBlockFormat block;
        block.setTopMargin(points >= 12 ? 12 : 0);
        block.setBottomMargin(4);
        QTextCharFormat chars;
        chars.setFontWeight(QFont::Bold);
        chars.setFontPointSize(points);
        chars.setForeground(QColor(0x000080));
        if (!m_doc->isEmpty())
            m_cursor.insertBlock(block, chars);
        else
            m_cursor.setBlockFormat(block);
        m_cursor.insertText(text(t), chars);
    }

    void paragraph(const QString &t)
    {
        QTextBlockFormat block;
        block.setBottomMargin(2);
        m_cursor.insertBlock(block, QTextCharFormat());
        m_cursor.insertText(text(t), QTextCharFormat());
    }

    void labelled(const QString &label, const QString &value)
    {
        QTextBlockFormat block;
        block.setBottomMargin(2);
        m_cursor.insertBlock(block, QTextCharFormat());
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        m_cursor.insertText(label + QStringLiteral(": "), bold);
        m_cursor.insertText(text(value), QTextCharFormat());
    }

    void table(const QStringList &header, const QVector<QStringList> &rows)
    {
        if (header.isEmpty())
            return;
        QTextTableFormat format;
        format.setCellPadding(2);
        format.setCellSpacing(0);
        format.setBorder(0.5);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        format.setHeaderRowCount(1);
        m_cursor.insertBlock();
        QTextTable *t = m_cursor.insertTable(int(rows.size()) + 1, int(header.size()), format);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        for (int c = 0; c < header.size(); ++c)
            t->cellAt(0, c).firstCursorPosition().insertText(header.at(c), bold);
        for (int r = 0; r < rows.size(); ++r) {
            for (int c = 0; c < header.size() && c < rows.at(r).size(); ++c)
                t->cellAt(r + 1, c).firstCursorPosition().insertText(text(rows.at(r).at(c)));
        }
        m_cursor.movePosition(QTextCursor::End);
    }

    void picture(const PeriziaPicture &p, int i)
    {
        if (p.image.isNull())
            return;
        const QUrl url(QStringLiteral("brevan://immagine/%1").arg(i));
        // 12 cm wide at most, in the document's points; the pixels that width
        // needs at the report's resolution and no more, opaque, so that a
        // photograph does not travel whole into the PDF and is stored as JPEG.
        const double width = std::min<double>(340, p.image.width());
        const int pixels = int(std::ceil(width / 72.0 * kPictureDpi));
        QImage shown = p.image.width() > pixels ? p.image.scaledToWidth(pixels, Qt::SmoothTransformation) : p.image;
        if (shown.hasAlphaChannel()) {
            QImage opaque(shown.size(), QImage::Format_RGB32);
            opaque.fill(Qt::white);
            QPainter painter(&opaque);
            painter.drawImage(0, 0, shown);
            painter.end();
            shown = opaque;
        }
        m_doc->addResource(QTextDocument::ImageResource, url, shown);
        QTextImageFormat image;
        image.setName(url.toString());
        image.setWidth(width);
        image.setHeight(width * p.image.height() / std::max(1, p.image.width()));
        m_cursor.insertBlock();
        m_cursor.insertImage(image);
        paragraph(p.caption);
    }

    bool troubled(const char *field) const
    {
        for (const Problem &p : m_problems) {
            if (p.field == QLatin1String(field))
                return true;
        }
        return false;
    }

    void section(Section s)
    {
        const Report &r = m_in.report;
        heading(sectionTitle(s), 12);
        for (const Line &line : lines()) {
            if (line.section != s || !(line.purposes & bit(r.purpose)))
                continue;
            const QString value = line.text(r, m_in.facts);
            if (!value.trimmed().isEmpty())
                labelled(QString::fromUtf16(line.label), value);
        }
        switch (s) {
        case Section::Identification:
            if (!r.cadastral.isEmpty()) {
                QVector<QStringList> rows;
                for (const CadastralEntry &e : r.cadastral)
                    rows << QStringList{e.registry, e.municipality, e.section, e.sheet, e.parcel, e.subaltern, e.category,
                                        e.cadastralClass, e.consistency, number(e.surface, 0), euro(e.income)};
                table({QStringLiteral("Catasto"), QStringLiteral("Comune"), QStringLiteral("Sez."), QStringLiteral("Foglio"),
                       QStringLiteral("Part."), QStringLiteral("Sub."), QStringLiteral("Cat."), QStringLiteral("Cl."),
                       QStringLiteral("Consistenza"), QStringLiteral("Sup. cat. m²"), QStringLiteral("Rendita")},
                      rows);
            }
            break;
        case Section::Title:
            if (!r.owners.isEmpty()) {
                QVector<QStringList> rows;
                for (const Owner &o : r.owners)
                    rows << QStringList{o.name, QStringLiteral("%1/%2").arg(o.numerator).arg(o.denominator),
                                        o.valued ? QStringLiteral("sì") : QStringLiteral("no")};
                table({QStringLiteral("Proprietario"), QStringLiteral("Quota"), QStringLiteral("Oggetto di stima")}, rows);
            }
            if (!r.leases.isEmpty()) {
                QVector<QStringList> rows;
                for (const Lease &l : r.leases)
                    rows << QStringList{l.tenant, dateText(l.registered), dateText(l.expiry), euro(l.yearlyRent),
                                        yesNo(l.bindsBuyer)};
                table({QStringLiteral("Conduttore"), QStringLiteral("Registrazione"), QStringLiteral("Scadenza"),
                       QStringLiteral("Canone annuo"), QStringLiteral("Opponibile all'acquirente")},
                      rows);
            }
            break;
        case Section::Encumbrances:
            if (!r.encumbrances.isEmpty()) {
                QVector<QStringList> rows;
                for (const Encumbrance &e : r.encumbrances) {
                    QString outcome = e.staysWithBuyer ? QStringLiteral("resta a carico dell'acquirente")
                                                       : QStringLiteral("sarà cancellato o non opponibile");
                    if (given(e.redemptionCost))
                        outcome += QStringLiteral("; affrancazione: %1").arg(euro(e.redemptionCost));
                    rows << QStringList{labelOf(encumbranceKinds(), e.kind), e.description, dateText(e.date),
                                        e.registration, outcome};
                }
                table({QStringLiteral("Tipo"), QStringLiteral("Descrizione"), QStringLiteral("Data"),
                       QStringLiteral("Registrazione"), QStringLiteral("Esito")},
                      rows);
            }
            break;
        case Section::Planning:
            if (!r.permits.isEmpty()) {
                QVector<QStringList> rows;
                for (const Permit &p : r.permits)
                    rows << QStringList{p.type, p.number, dateText(p.date)};
                table({QStringLiteral("Titolo edilizio"), QStringLiteral("Numero"), QStringLiteral("Data")}, rows);
            }
            if (!r.amnesties.isEmpty()) {
                QVector<QStringList> rows;
                for (const Amnesty &a : r.amnesties)
                    rows << QStringList{a.applicant, a.law, a.state, euro(a.feesPaid), euro(a.feesDue)};
                table({QStringLiteral("Istanza di condono: richiedente"), QStringLiteral("Legge"), QStringLiteral("Stato"),
                       QStringLiteral("Oblazioni pagate"), QStringLiteral("Oblazioni dovute")},
                      rows);
            }
            break;
        case Section::Valuation:
            valuation();
            break;
        default:
            break;
        }
    }

    void valuation()
    {
        const Report &r = m_in.report;
        const AppraisalFacts &f = m_in.facts;
        const auto valueRow = [&f](const QString &name, double v) {
            const bool known = given(v) && v > 0;
            const bool perM2 = known && given(f.surface) && f.surface > 0;
            return QStringList{name, known ? euro(v) : QStringLiteral("non calcolato"),
                               perM2 ? euro(v / f.surface) + QStringLiteral("/m²") : QString()};
        };
        table({QStringLiteral("Procedimento"), QStringLiteral("Valore"), QStringLiteral("Valore al m²")},
              {valueRow(QStringLiteral("Capitalizzazione del reddito"), f.incomeValue),
               valueRow(QStringLiteral("Confronto diretto"), f.comparisonValue),
               valueRow(QStringLiteral("Metodo del confronto di mercato (MCA)"), f.mcaValue)});
        const std::optional<double> market = statedMarketValue(r, f);
        labelled(QStringLiteral("Valore di mercato"),
                 market ? QStringLiteral("%1 (%2)").arg(euroText(*market), labelOf(statedValues(), r.stated))
                        : QStringLiteral("non calcolato"));
        if (!r.reason.trimmed().isEmpty())
            labelled(QStringLiteral("Motivazione"), r.reason);

        if (r.purpose == Purpose::Bank && given(r.propertyValue) && !troubled("propertyValue")) {
            labelled(QStringLiteral("Valore dell'immobile (Reg. UE 575/2013, art. 229)"), euro(r.propertyValue));
            if (r.revaluation && given(r.sixYearAverage))
                labelled(QStringLiteral("Valore medio degli ultimi sei anni"),
                         QStringLiteral("%1 (fonte: %2)").arg(euro(r.sixYearAverage), r.averageSource));
        }
        if (r.purpose != Purpose::Court)
            return;
        if (troubled("adjustments") || troubled("owners") || troubled("roundingStep"))
            return;
        const std::optional<CourtValue> c = courtValue(r, f);
        if (!c)
            return;
        QVector<QStringList> rows;
        for (int i = 0; i < r.adjustments.size(); ++i) {
            const Adjustment &a = r.adjustments.at(i);
            QString label = labelOf(adjustmentKinds(), a.kind);
            if (!a.description.trimmed().isEmpty())
                label += QStringLiteral(": ") + a.description;
            if (!given(a.amount) && given(a.percent))
                label += QStringLiteral(" (%1 %)").arg(number(a.percent, 2));
            rows << QStringList{label, euroText(-c->amounts.at(i))};
        }
        rows << QStringList{QStringLiteral("Valore al netto degli adeguamenti"), euroText(c->netValue)};
        if (!wholeShare(r))
            rows << QStringList{QStringLiteral("Valore della quota oggetto di stima (%1)").arg(number(c->share * 100, 2) + " %"),
                                euroText(c->shareValue)};
        rows << QStringList{QStringLiteral("Prezzo base proposto (arrotondato a %1)").arg(euroText(r.roundingStep)),
                            euroText(c->basePrice)};
        table({QStringLiteral("Adeguamenti (art. 568 c.p.c.)"), QStringLiteral("Importo")}, rows);
        paragraph(QStringLiteral("Il prezzo base della vendita è fissato dal giudice (art. 568 c.p.c.): "
                                 "il valore indicato è una proposta."));
    }

    const PeriziaInput &m_in;
    std::unique_ptr<QTextDocument> m_doc;
    QTextCursor m_cursor;
    QStringList m_names;
    QVector<Problem> m_problems;
};

PdfMetadata metadata(const PeriziaInput &in)
{
    PdfMetadata meta;
    meta.title = in.title.isEmpty() ? QStringLiteral("Rapporto di valutazione") : in.title;
    meta.author = in.facts.appraiser;
    meta.subject = QStringLiteral("Rapporto di valutazione: ") + purposeLabel(in.report.purpose);
    return meta;
}

} // namespace

QVector<Section> sectionOrder(Purpose purpose)
{
    switch (purpose) {
    case Purpose::Bank:
        return kBankOrder;
    case Purpose::Court:
        return kCourtOrder;
    case Purpose::Market:
        break;
    }
    return kMarketOrder;
}

QStringList privateNames(const Report &report)
{
    QStringList names;
    const auto add = [&names](const QString &name) {
        const QString n = name.simplified();
        if (!n.isEmpty() && !names.contains(n, Qt::CaseInsensitive))
            names << n;
    };
    for (const QString &d : report.debtors)
        add(d);
    for (const Owner &o : report.owners) {
        if (o.naturalPerson)
            add(o.name);
    }
    for (const Lease &l : report.leases) {
        if (l.naturalPerson)
            add(l.tenant);
    }
    return names;
}

QString withoutNames(const QString &text, const QStringList &names)
{
    QString out = text;
    // The longest first, so "Maria Rossi Bianchi" goes before "Maria Rossi".
    QStringList all;
    for (const QString &n : names) {
        all << n;
        const QStringList words = n.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() == 2)
            all << words.at(1) + QLatin1Char(' ') + words.at(0);
    }
    std::sort(all.begin(), all.end(), [](const QString &a, const QString &b) { return a.size() > b.size(); });
    for (const QString &n : all) {
        QString pattern = QRegularExpression::escape(n);
        pattern.replace(QStringLiteral("\\ "), QStringLiteral("\\s+"));
        out.replace(QRegularExpression(pattern, QRegularExpression::CaseInsensitiveOption), kOmissis);
    }
    return out;
}

std::unique_ptr<QTextDocument> periziaDocument(const PeriziaInput &in)
{
    return Builder(in).build();
}

bool writePeriziaOdt(const QString &path, const PeriziaInput &in, QString *error)
{
    const std::unique_ptr<QTextDocument> doc = periziaDocument(in);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QTextDocumentWriter writer(&buffer, "ODF");
    if (!writer.write(doc.get())) {
        if (error)
            *error = QStringLiteral("Impossibile comporre il documento ODT.");
        return false;
    }
    return files::writeWholeFile(path, bytes, error);
}

QByteArray periziaPdf(const PeriziaInput &in)
{
    const std::unique_ptr<QTextDocument> doc = periziaDocument(in);
    return pdfaDocument(metadata(in), [&doc](QPdfWriter *writer) {
        writer->setPageSize(QPageSize(QPageSize::A4));
        writer->setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
        doc->print(writer);
        return true;
    });
}

bool writePeriziaPdf(const QString &path, const PeriziaInput &in, QString *error)
{
    const QByteArray pdf = periziaPdf(in);
    if (pdf.isEmpty()) {
        if (error)
            *error = QStringLiteral("Impossibile comporre il documento PDF.");
        return false;
    }
    return writePdfBytes(path, pdf, error);
}

} // namespace brevan::report
