// SPDX-License-Identifier: GPL-2.0-or-later
// The printed report written to PDF and read back with poppler's pdftotext
// and pdftoppm: each page's texts, the cover rules, the fixed ranges of pages
// 9 and 10, the comparables page, the 19/20-row spacing rule, marks and
// pictures, the selection, and the reset between two previews.
#include "report/reportpages.h"

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace brevan;
using namespace brevan::report;

namespace {

QImage solid(QColor colour, int w = 400, int h = 300)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

ReportInput emptyInput()
{
    ReportInput in;
    in.today = QDate(2024, 3, 4); // a Monday
    in.appraisalDate = QDate(2023, 11, 5);
    return in;
}

ComparableRow comparable(const QString &address, const QString &internal, const QString &unitCost)
{
    return {
        {QStringLiteral("IndirizzoImmob"), address},         {QStringLiteral("NumCivicoImmob"), QStringLiteral("12")},
        {QStringLiteral("PianoImmob"), QStringLiteral("2")}, {QStringLiteral("InternoImmob"), internal},
        {QStringLiteral("CdCarattLocalizzaz"), QStringLiteral("20")},
        {QStringLiteral("CdCarattPosizione"), QStringLiteral("15")},
        {QStringLiteral("CdCarattTipologiche"), QStringLiteral("22")},
        {QStringLiteral("CdCarattProduttive"), QStringLiteral("18")},
        {QStringLiteral("SupCommercImmob"), QStringLiteral("95,5")},
        {QStringLiteral("CostoUnitario"), unitCost},
        {QStringLiteral("CostoComplessivo"), QStringLiteral("191.000.000")},
    };
}

ReportInput fullInput()
{
    ReportInput in = emptyInput();
    const std::pair<const char *, const char *> texts[] = {
        {"CognomeProfess", "Rossi"}, {"NomeProfess", "Mario"}, {"CodiceFiscaleProfess", "RSSMRA60A01H501U"},
        {"ProfessioneProfess", "Ingegnere"}, {"NumIscrizAlboProfess", "4321"}, {"PartitaIvaProfess", "01234567890"},
        {"SocietaProfess", "Studio Rossi"}, {"IndirizzoProfess", "Via Verdi"}, {"NumCivicoProfess", "7"},
        {"ComuneProfess", "Cagliari"}, {"CAPProfess", "09100"}, {"SiglaProvinciaProfess", "CA"},
        {"ProvinciaProfess", "Cagliari"}, {"TelefonoProfess", "070 123456"}, {"FaxProfess", "070 654321"},
        {"CellulareProfess", "333 1234567"}, {"EMailProfess", "mario@example.it"},
        {"ComuneImmob", "Quartu Sant'Elena"}, {"CAPImmob", "09045"}, {"ProvinciaImmob", "Cagliari"},
        {"SiglaProvinciaImmob", "CA"}, {"IndirizzoImmob", "Via Roma"}, {"NumCivicoImmob", "10"},
        {"TipologEdiliziaImmob", "Edificio in linea"}, {"TotPianiImmob", "5"}, {"PianoImmob", "3"},
        {"InternoImmob", "8"}, {"AnnoCostruzImmob", "1980"}, {"EtaEdificioImmob", "44 anni"},
        {"FoglioCatastImmob", "12"}, {"MappaleCatastImmob", "345"}, {"SubCatastImmob", "6"},
        {"CategCatastImmob", "A/2"}, {"ClasseCatastImmob", "3"}, {"ConsistCatastImmob", "5,5 vani"},
        {"ZonaUrbanaImmob", "Centro storico"}, {"SaggioMedioImmob", "3,50"},
        {"DistanzaViaPrincip", "Vicina"}, {"ServTraspPubblico", "Buono"}, {"QualifAmbienteExt", "Discreto"},
        {"IdoneitaInsediat", "Ottima"}, {"MiglioramAmbiente", "Nessuno"}, {"InquinamAmbiente", "Basso"},
        {"VerdePubblico", "Scarsa"}, {"DisponibAreeSosta", "Mediocre"},
        {"Luminosita", "Luminoso"}, {"Panoramicita", "Panoramico"}, {"Esposizione", "Sud"},
        {"Prospicienza", "Su strada"}, {"QuotaDaPianoStrad", "Piano alto"}, {"SuperfAccessorie", "Normale"},
        {"StatoConservInt", "Buono"}, {"StatoConservExt", "Discreto"}, {"GradoRifinitInt", "Civile"},
        {"GradoRifinitExt", "Economico"}, {"PresImpiantiTecnol", "Presenti"}, {"LivImpiantiTecnol", "Medio"},
        {"AscensoreTipo", "oleodinamico"}, {"RiscaldamentoTipo", "autonomo"},
        {"CanoneLocazUnit", "12.500,00"}, {"NumCauzioni", "3"}, {"SaggioCommerciale", "6,00"},
        {"SaggioLegale", "2,50"}, {"SpeseManutenzione", "400.000,00"}, {"SpeseAmministraz", "300.000,00"},
        {"AleeSfitti", "200.000,00"}, {"SpeseAssicurazioni", "100.000,00"}, {"AliquoteAmmortam", "150.000,00"},
        {"AliquoteTasse", "250.000,00"}, {"RedditoLordoAnnuo", "15.000.000,00"},
        {"RedditoNettoAnnuo", "13.600.000,00"}, {"CostoUnitario", "2.100.000"},
        {"CostoComplessivo", "199.500.000"}, {"CICostoUnitario", "2.050.000"},
        {"CICostoComplessivo", "194.750.000"},
    };
    for (const auto &[name, value] : texts)
        in.texts.insert(QString::fromLatin1(name), QString::fromUtf8(value));
    for (const char *tick : {"MedieDimensImmob", "ZonaCentrImmob", "ScuoleObbligo", "Supermercati", "LuoghiDiCulto",
                             "Ascensore", "Riscaldamento", "Portineria"})
        in.ticks.insert(QString::fromLatin1(tick), true);
    in.lights.fill(Light::Green);
    in.surfaces = {{QStringLiteral("Soggiorno"), 25.5}, {QStringLiteral("Camera"), 14},
                   {QStringLiteral("Bagno"), 0}, {QString(), 9}, {QStringLiteral("Cucina"), 11.25}};
    in.usefulShown = QStringLiteral("50,75  mq");
    in.conventionalShown = QStringLiteral("60,90  mq");
    in.commercialShown = QStringLiteral("63,20  mq");
    in.photo = solid(QColor(255, 0, 0));
    in.areaPlan = solid(QColor(0, 200, 0), 300, 500);
    in.unitPlan = solid(QColor(0, 0, 255));
    in.comparables = {comparable(QStringLiteral("Via Dante"), QStringLiteral("4"), QStringLiteral("2.000.000")),
                      comparable(QStringLiteral("Via Manzoni"), QString(), QStringLiteral("1.900.000"))};
    in.coefficients[Coef::CDCarattLocalizzaz] = 12.5;
    in.coefficients[Coef::CDCarattPosizione] = 15;
    in.coefficients[Coef::CDCarattTipologiche] = 21.25;
    in.coefficients[Coef::CDCarattProduttive] = 11;
    in.coefficients[Coef::CICentrRispCentrUrb] = -0.15;
    in.coefficients[Coef::CIPanoramicita] = 0.36;
    in.coefficients[Coef::CIProspicienza] = 0.05;
    in.coefficients[Coef::CICarattProduttive] = -0.1;
    in.coefficients[Coef::SaggioCapitalizzaz] = 3.27;
    return in;
}

ReportSelection only(std::initializer_list<Choice> choices)
{
    ReportSelection s = ReportSelection::none();
    for (Choice c : choices)
        s[c] = true;
    return s;
}

QString simplifiedLine(const QString &line)
{
    return line.simplified();
}

struct PdfFile {
    QTemporaryDir dir;
    QString path;
    explicit PdfFile(const QByteArray &pdf)
    {
        path = dir.filePath(QStringLiteral("report.pdf"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(pdf) != pdf.size())
            qFatal("cannot write the PDF under test");
    }
};

QByteArray run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        qWarning() << program << args << p.readAllStandardError();
    return p.readAllStandardOutput();
}

// The text of each printed page, lines with their runs of blanks made single.
QVector<QStringList> pagesOf(const QByteArray &pdf)
{
    PdfFile file(pdf);
    const QString text = QString::fromUtf8(run(QStringLiteral("pdftotext"),
                                               {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                                file.path, QStringLiteral("-")}));
    QStringList pages = text.split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    QVector<QStringList> result;
    for (const QString &page : pages) {
        QStringList lines;
        for (const QString &l : page.split(QLatin1Char('\n'))) {
            const QString s = simplifiedLine(l);
            if (!s.isEmpty())
                lines << s;
        }
        result << lines;
    }
    return result;
}

struct Word {
    QString text;
    QRectF box; // points, origin top left
};

// Word boxes of every page (pdftotext -bbox).
QVector<QVector<Word>> wordsOf(const QByteArray &pdf)
{
    PdfFile file(pdf);
    const QString html = QString::fromUtf8(
        run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                          file.path, QStringLiteral("-")}));
    QVector<QVector<Word>> pages;
    static const QRegularExpression page(QStringLiteral("<page "));
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    const QStringList chunks = html.split(page);
    for (int i = 1; i < chunks.size(); ++i) {
        QVector<Word> words;
        auto it = word.globalMatch(chunks[i]);
        while (it.hasNext()) {
            const auto m = it.next();
            const double x0 = m.captured(1).toDouble(), y0 = m.captured(2).toDouble();
            words.append({m.captured(5), QRectF(QPointF(x0, y0), QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
        }
        pages << words;
    }
    return pages;
}

// Page n (1-based) rendered at 144 dpi: 2 pixels per point.
QImage raster(const QByteArray &pdf, int page)
{
    PdfFile file(pdf);
    const QString prefix = file.dir.filePath(QStringLiteral("page"));
    run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("144"), QStringLiteral("-f"), QString::number(page),
                                     QStringLiteral("-l"), QString::number(page), QStringLiteral("-png"),
                                     QStringLiteral("-singlefile"), file.path, prefix});
    return QImage(prefix + QStringLiteral(".png"));
}

bool containsLine(const QStringList &lines, const QString &expected)
{
    return std::any_of(lines.begin(), lines.end(), [&](const QString &l) { return l.contains(expected); });
}

int countPixels(const QImage &image, const std::function<bool(QRgb)> &match, QRect area = {})
{
    if (area.isNull())
        area = image.rect();
    int n = 0;
    for (int y = area.top(); y <= area.bottom() && y < image.height(); ++y)
        for (int x = area.left(); x <= area.right() && x < image.width(); ++x)
            n += match(image.pixel(x, y)) ? 1 : 0;
    return n;
}

// The darkest grey level inside a word's box (points, 2 pixels each).
int darkest(const QImage &image, const QRectF &box)
{
    int best = 255;
    const QRect r(int(box.left() * 2), int(box.top() * 2), int(box.width() * 2), int(box.height() * 2));
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            best = std::min(best, qGray(image.pixel(x, y)));
    return best;
}

const Word *findWord(const QVector<Word> &words, const QString &text)
{
    for (const Word &w : words) {
        if (w.text == text)
            return &w;
    }
    return nullptr;
}

} // namespace

class TestReportPages : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fullReportPageTexts_data();
    void fullReportPageTexts();
    void emptyAppraisalShowsLabelsOnly();
    void coverRules_data();
    void coverRules();
    void pageConditions_data();
    void pageConditions();
    void rangesIgnoreTheZone();
    void capitalisationRatesNeedAverageAndNetIncome();
    void comparableColumnsFollowTheRows();
    void comparablesFlowWithTheBandRepeated();
    void surfaceSpacing_data();
    void surfaceSpacing();
    void marksAreBlackWhenTickedSilverOtherwise();
    void picturesArePrintedWhenPresent();
    void unitPagePicturesFillTheirFrames_data();
    void unitPagePicturesFillTheirFrames();
    void selection_data();
    void selection();
    void previewingAgainResetsEveryPage();
    void pdfIsWrittenWholeOrNotAtAll();
};

void TestReportPages::fullReportPageTexts_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("line");
    const auto row = [](int page, const char *line) {
        QTest::addRow("p%d %s", page, line) << page << QString::fromUtf8(line);
    };
    row(1, "lunedì 4 marzo 2024");
    row(1, "Comune di Quartu Sant'Elena");
    row(1, "Oggetto:");
    row(1, "Stima dell'immobile sito in Via Roma 10, Piano 3°, Interno 8");
    row(1, "Il tecnico:");
    row(1, "Mario Rossi");
    row(2, "Generalità del professionista");
    row(2, "Cognome e Nome: Rossi Mario");
    row(2, "Codice fiscale: RSSMRA60A01H501U");
    row(2, "Professione: Ingegnere");
    row(2, "N° d'iscrizione all'Albo: 4321");
    row(2, "Partita IVA: 01234567890");
    row(2, "Società / Studio: Studio Rossi");
    row(2, "Indirizzo: Via Verdi, 7");
    row(2, "Comune: Cagliari - 09100 - CA");
    row(2, "Telefono: 070 123456");
    row(2, "Fax: 070 654321");
    row(2, "Cellulare: 333 1234567");
    row(2, "E-mail: mario@example.it");
    row(3, "Descrizione unità immobiliare");
    row(3, "Indirizzo: Via Roma, 10");
    row(3, "Comune: Quartu Sant'Elena");
    row(3, "C.A.P.: 09045");
    row(3, "Provincia: Cagliari - CA");
    row(3, "Tipologia edilizia: Edificio in linea");
    row(3, "Totale piani: 5");
    row(3, "Piano: 3°");
    row(3, "Interno: 8");
    row(3, "Data stima: 5 novembre 2023");
    row(3, "Anno di costruz. o ristrutturaz. totale:");
    row(3, "1980");
    row(3, "Età dell'edificio: 44 anni");
    row(3, "Foglio catastale: 12");
    row(3, "Mappale catastale: 345");
    row(3, "Subalterno: 6");
    row(3, "Categoria: A/2");
    row(3, "Classe: 3");
    row(3, "Consistenza: 5,5 vani");
    row(3, "Illustrazione fotografica");
    row(3, "Planimetria di zona");
    row(4, "Calcolo delle superfici");
    row(4, "Descrizione delle superfici:");
    row(4, "Soggiorno 25,50 mq");
    row(4, "Camera 14,00 mq");
    row(4, "Cucina 11,25 mq");
    row(4, "Planimetria dell'immobile");
    row(4, "Superficie utile: 50,75 mq");
    row(4, "Superficie convenzionale: 60,90 mq");
    row(4, "Superficie commerciale: 63,20 mq");
    row(5, "Dimensioni del centro urbano: Medie dimensioni");
    row(5, "Ubicazione rispetto al centro urbano: Zona centrale");
    row(5, "Zona urbana di appartenenza: Centro storico");
    row(5, "Distanza da via o piazza principale: Vicina");
    row(5, "Servizio di trasporto pubblico: Buono");
    row(5, "Qualificazione dell'ambiente esterno: Discreto");
    row(5, "Idoneità insediativa: Ottima");
    row(5, "Previsione di miglioramenti ambientali: Nessuno");
    row(5, "Giudizio sul livello di inquinamento: Basso");
    row(5, "Giudizio sulla presenza di aree verdi: Scarsa");
    row(5, "Disponibilità di aree di sosta: Mediocre");
    row(5, "Attrezzature collettive a distanza pedonale:");
    row(5, "Scuole dell'obbligo Supermercati Strutture sanitarie");
    row(5, "Mercato civico Percorsi linee CTM Locali di spettacolo");
    row(6, "Caratteristiche di posizione e tipologiche");
    row(6, "Luminosità: Luminoso");
    row(6, "Panoramicità: Panoramico");
    row(6, "Esposizione: Sud");
    row(6, "Prospicienza: Su strada");
    row(6, "Quota rispetto al piano stradale: Piano alto");
    row(6, "Valutazione degli spazi accessori: Normale");
    row(6, "Stato di conservazione interno: Buono");
    row(6, "Stato di conservazione esterno: Discreto");
    row(6, "Grado di rifinitura interno: Civile");
    row(6, "Grado di rifinitura esterno: Economico");
    row(6, "Presenza di impianti tecnologici: Presenti");
    row(6, "Livello tecnologico degli impianti: Medio");
    row(6, "Impianti tecnologici di base:");
    row(6, "Antenna centralizzata Ascensore (oleodinamico)");
    row(6, "Cancello automatico Riscaldamento (autonomo)");
    row(6, "Riserva idrica Impianto elettrico a norma di legge");
    row(6, "Portineria");
    row(7, "Canone mensile di locazione unitario: 12.500,00 Lire");
    row(7, "Numero mensilità richieste in cauzione: 3");
    row(7, "Saggio d'interesse commerciale: 6,00 %");
    row(7, "Saggio d'interesse legale: 2,50 %");
    row(7, "Spese di manutenzione: 400.000,00 Lire");
    row(7, "Spese per servizi e amministrazione: 300.000,00 Lire");
    row(7, "Alee per sfitti e inesigibilità: 200.000,00 Lire");
    row(7, "Spese per assicurazioni: 100.000,00 Lire");
    row(7, "Aliquote di ammortamento: 150.000,00 Lire");
    row(7, "Aliquote per imposte e tasse: 250.000,00 Lire");
    row(7, "Reddito lordo annuo: 15.000.000,00 Lire");
    row(7, "Reddito netto annuo: 13.600.000,00 Lire");
    row(8, "Via Dante 12, Piano 2, Interno 4:");
    row(8, "- Caratteristiche di localizzazione: 20 %");
    row(8, "- Caratteristiche di posizione: 15 %");
    row(8, "- Caratteristiche tipologiche: 22 %");
    row(8, "- Caratteristiche produttive: 18 %");
    row(8, "- Superficie commerciale: 95,5 mq");
    row(8, "- Costo unitario: 2.000.000 Lire/mq");
    row(8, "- Costo complessivo: 191.000.000 Lire");
    row(9, "Comparazione diretta: Minimo Massimo Calcolato");
    row(9, "Caratteristiche di localizzazione: 10,00 % 30,00 % 12,50 %");
    row(9, "Caratteristiche di posizione: 10,00 % 20,00 % 15,00 %");
    row(9, "Caratteristiche tipologiche: 20,00 % 25,00 % 21,25 %");
    row(9, "Caratteristiche produttive: 10,00 % 25,00 % 11,00 %");
    row(9, "Totale: 50,00 % 100,00 % 59,75 %");
    row(9, "Capitalizzazione dei redditi. Minimo Massimo Calcolato");
    row(9, "Ubicazione rispetto al centro urbano: + 0,15 % - 0,15 % -0,15 %");
    row(9, "Servizio di trasporto pubblico: + 0,07 % - 0,07 % 0,00 %");
    row(9, "Attrezzature collettive: + 0,28 % - 0,28 % 0,00 %");
    row(9, "Qualificazione dell'ambiente esterno: + 0,06 % - 0,06 % 0,00 %");
    row(9, "Idoneità insediativa: + 0,06 % - 0,06 % 0,00 %");
    row(9, "Previsione di miglioramenti ambientali: + 0,06 % - 0,06 % 0,00 %");
    row(9, "Giudizio sul livello di inquinamento: + 0,04 % - 0,04 % 0,00 %");
    row(9, "Giudizio sulla presenza di aree verdi: + 0,04 % - 0,04 % 0,00 %");
    row(9, "Disponibilità aree di sosta: + 0,06 % - 0,06 % 0,00 %");
    row(9, "Luminosità: + 0,10 % - 0,10 % 0,00 %");
    row(9, "Panoramicità: + 0,36 % - 0,36 % 0,36 %");
    row(10, "Capitalizzazione dei redditi. Minimo Massimo Calcolato");
    row(10, "Prospicienza: + 0,10 % - 0,10 % 0,05 %");
    row(10, "Quota rispetto al piano stradale: + 0,08 % - 0,08 % 0,00 %");
    row(10, "Valutazione degli spazi accessori: + 0,06 % - 0,06 % 0,00 %");
    row(10, "Stato di conservazione interno: + 0,06 % - 0,06 % 0,00 %");
    row(10, "Stato di conservazione esterno: + 0,06 % - 0,06 % 0,00 %");
    row(10, "Grado di rifinitura interno: + 0,06 % - 0,06 % 0,00 %");
    row(10, "Grado di rifinitura esterno: + 0,06 % - 0,06 % 0,00 %");
    row(10, "Livello tecnologico degli impianti: + 0,04 % - 0,04 % 0,00 %");
    row(10, "Vetustà dell'edificio: + 0,10 % - 0,10 % 0,00 %");
    row(10, "Caratteristiche produttive: + 0,10 % - 0,10 % -0,10 %");
    row(10, "Saggio medio di capitalizzazione: 3,50 %");
    row(10, "Saggio di capitalizzazione calcolato: 3,27 %");
    row(11, "Stima per comparazione diretta.");
    row(11, "Valore unitario: 2.100.000 Lire/mq");
    row(11, "Valore complessivo: 199.500.000 Lire");
    row(11, "Stima per capitalizzazione dei redditi.");
    row(11, "Valore unitario: 2.050.000 Lire/mq");
    row(11, "Valore complessivo: 194.750.000 Lire");
}

void TestReportPages::fullReportPageTexts()
{
    QFETCH(int, page);
    QFETCH(QString, line);
    static const QVector<QStringList> pages = pagesOf(reportPdf(fullInput(), ReportSelection()));
    QCOMPARE(pages.size(), 11);
    QVERIFY2(containsLine(pages[page - 1], line), qPrintable(pages[page - 1].join(QLatin1Char('\n'))));
    // Every page opens with its title band.
    QCOMPARE(pages[page - 1].first(), pageTitle(page));
}

void TestReportPages::emptyAppraisalShowsLabelsOnly()
{
    const QVector<QStringList> pages = pagesOf(reportPdf(emptyInput(), ReportSelection()));
    QCOMPARE(pages.size(), 11);
    // The cover: title, date, the bare town line and the two static labels.
    QCOMPARE(pages[0], (QStringList{QStringLiteral("Brevan 2.0"), QStringLiteral("lunedì 4 marzo 2024"),
                                    QStringLiteral("Comune di"), QStringLiteral("Oggetto:"), QStringLiteral("Il tecnico:")}));
    // Pages 2 to 8 and 11: the title and static labels only. No value text
    // of any kind appears: no digit, no currency, no percent, no date.
    static const QRegularExpression valueLike(QStringLiteral("[0-9%]|Lire|Euro|mq|novembre"));
    for (int page : {2, 3, 4, 5, 6, 7, 8, 11}) {
        QCOMPARE(pages[page - 1].first(), pageTitle(page));
        for (const QString &l : pages[page - 1])
            QVERIFY2(!valueLike.match(l).hasMatch(), qPrintable(QStringLiteral("page %1: %2").arg(page).arg(l)));
    }
    QVERIFY(containsLine(pages[1], QStringLiteral("Cognome e Nome:")));
    QVERIFY(containsLine(pages[1], QStringLiteral("E-mail:")));
    QVERIFY(containsLine(pages[2], QStringLiteral("Data stima:")));
    QVERIFY(containsLine(pages[3], QStringLiteral("Superficie commerciale:")));
    QVERIFY(containsLine(pages[4], QStringLiteral("Locali di spettacolo")));
    QVERIFY(containsLine(pages[5], QStringLiteral("Ascensore")));
    QVERIFY(!containsLine(pages[5], QStringLiteral("Ascensore (")));
    QVERIFY(containsLine(pages[6], QStringLiteral("Reddito netto annuo:")));
    QCOMPARE(pages[7], QStringList{pageTitle(8)});
    QVERIFY(containsLine(pages[10], QStringLiteral("Valore complessivo:")));
    // Pages 9 and 10: labels, ranges and "0,00 %" wherever a coefficient is 0.
    QVERIFY(containsLine(pages[8], QStringLiteral("Totale: 50,00 % 100,00 % 0,00 %")));
    QVERIFY(containsLine(pages[8], QStringLiteral("Panoramicità: + 0,36 % - 0,36 % 0,00 %")));
    QVERIFY(containsLine(pages[9], QStringLiteral("Vetustà dell'edificio: + 0,10 % - 0,10 % 0,00 %")));
    QVERIFY(!containsLine(pages[9], QStringLiteral("Saggio medio")));
}

void TestReportPages::coverRules_data()
{
    QTest::addColumn<QStringList>("fields"); // name=value pairs
    QTest::addColumn<QString>("town");
    QTest::addColumn<QString>("object");    // "" when none
    QTest::addColumn<QString>("appraiser"); // "" when none

    QTest::newRow("everything") << QStringList{"ComuneImmob=Nuoro", "IndirizzoImmob=Corso Garibaldi",
                                               "NumCivicoImmob=3", "PianoImmob=1", "InternoImmob=2",
                                               "NomeProfess=Anna", "CognomeProfess=Bianchi"}
                                << "Comune di Nuoro" << "Stima dell'immobile sito in Corso Garibaldi 3, Piano 1°, Interno 2"
                                << "Anna Bianchi";
    QTest::newRow("floor and internal without address")
        << QStringList{"PianoImmob=4", "InternoImmob=9"} << "Comune di" << ", Piano 4°, Interno 9" << "";
    QTest::newRow("address without internal")
        << QStringList{"IndirizzoImmob=Via Po", "NumCivicoImmob=1", "PianoImmob=4"} << "Comune di"
        << "Stima dell'immobile sito in Via Po 1" << "";
    QTest::newRow("first name without surname")
        << QStringList{"NomeProfess=Anna", "ComuneImmob=Olbia"} << "Comune di Olbia" << "" << "";
    QTest::newRow("surname without first name") << QStringList{"CognomeProfess=Bianchi"} << "Comune di" << "" << "";
}

void TestReportPages::coverRules()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, town);
    QFETCH(QString, object);
    QFETCH(QString, appraiser);
    ReportInput in = emptyInput();
    for (const QString &f : fields)
        in.texts.insert(f.section(QLatin1Char('='), 0, 0), f.section(QLatin1Char('='), 1));
    const QVector<QStringList> pages = pagesOf(reportPdf(in, only({Choice::Copertina})));
    QCOMPARE(pages.size(), 1);
    QStringList expected{QStringLiteral("Brevan 2.0"), QStringLiteral("lunedì 4 marzo 2024"), town,
                         QStringLiteral("Oggetto:")};
    if (!object.isEmpty())
        expected << object;
    expected << QStringLiteral("Il tecnico:");
    if (!appraiser.isEmpty())
        expected << appraiser;
    QCOMPARE(pages[0], expected);
}

// Each page's condition: a page whose condition fails prints its labels
// with no values even though the values are there.
void TestReportPages::pageConditions_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("darkNodes"); // nodes whose light is red
    QTest::addColumn<QStringList>("cleared");   // texts emptied and ticks cleared
    QTest::addColumn<QString>("valueLine");
    QTest::addColumn<bool>("printed");

    const QStringList positionAndType{"Luminosita", "Panoramicita", "Esposizione", "Prospicienza", "QuotaDaPianoStrad",
                                      "SuperfAccessorie", "StatoConservInt", "StatoConservExt", "GradoRifinitInt",
                                      "GradoRifinitExt", "PresImpiantiTecnol", "LivImpiantiTecnol", "Ascensore",
                                      "Riscaldamento", "Portineria"};
    QTest::newRow("appraiser, light red") << 2 << QStringList{"1"} << QStringList{} << "Rossi Mario" << false;
    QTest::newRow("appraiser, light yellow") << 2 << QStringList{} << QStringList{} << "Rossi Mario" << true;
    QTest::newRow("unit, three lights red") << 3 << QStringList{"2", "3", "4"} << QStringList{} << "Via Roma, 10" << false;
    QTest::newRow("unit, only the photo light") << 3 << QStringList{"2", "4"} << QStringList{} << "Via Roma, 10" << true;
    QTest::newRow("surfaces, both lights red") << 4 << QStringList{"5", "6"} << QStringList{} << "Soggiorno" << false;
    QTest::newRow("surfaces, only the plan light") << 4 << QStringList{"6"} << QStringList{} << "Soggiorno" << true;
    QTest::newRow("localisation, red but pollution given")
        << 5 << QStringList{"7"} << QStringList{"VerdePubblico", "DisponibAreeSosta", "ScuoleObbligo", "Supermercati", "LuoghiDiCulto"}
        << "Centro storico" << true;
    QTest::newRow("localisation, red but a service ticked")
        << 5 << QStringList{"7"} << QStringList{"InquinamAmbiente", "VerdePubblico", "DisponibAreeSosta"}
        << "Centro storico" << true;
    QTest::newRow("localisation, red and nothing else")
        << 5 << QStringList{"7"}
        << QStringList{"InquinamAmbiente", "VerdePubblico", "DisponibAreeSosta", "ScuoleObbligo", "Supermercati", "LuoghiDiCulto"}
        << "Centro storico" << false;
    QTest::newRow("position and type, one plant ticked")
        << 6 << QStringList{"8", "9"} << positionAndType.mid(0, 14) << "Portineria" << true;
    QTest::newRow("position and type, nothing given")
        << 6 << QStringList{} << positionAndType << "Ascensore (" << false;
    QTest::newRow("income, light red") << 7 << QStringList{"10"} << QStringList{} << "13.600.000,00 Lire" << false;
    QTest::newRow("comparables, light red") << 8 << QStringList{"11"} << QStringList{} << "Via Dante" << false;
    QTest::newRow("results, light red") << 11 << QStringList{"12"} << QStringList{} << "2.100.000 Lire/mq" << false;
    QTest::newRow("results, light yellow") << 11 << QStringList{} << QStringList{} << "2.100.000 Lire/mq" << true;
}

void TestReportPages::pageConditions()
{
    QFETCH(int, page);
    QFETCH(QStringList, darkNodes);
    QFETCH(QStringList, cleared);
    QFETCH(QString, valueLine);
    QFETCH(bool, printed);
    ReportInput in = fullInput();
    in.lights.fill(Light::Yellow);
    for (const QString &n : darkNodes)
        in.lights[std::size_t(n.toInt() - 1)] = Light::Red;
    for (const QString &name : cleared) {
        in.texts.remove(name);
        in.ticks.remove(name);
    }
    ReportSelection s = ReportSelection::none();
    s[choiceOfPage(page)] = true;
    const QVector<QStringList> pages = pagesOf(reportPdf(in, s));
    QVERIFY(!pages.isEmpty());
    const QStringList &lines = pages.first();
    QCOMPARE(lines.first(), pageTitle(page));
    QCOMPARE(containsLine(lines, valueLine), printed);
}

void TestReportPages::rangesIgnoreTheZone()
{
    for (const char *zone : {"ZonaCentrImmob", "ZonaPeriferImmob", "ZonaIntermImmob"}) {
        ReportInput in = emptyInput();
        in.ticks.insert(QString::fromLatin1(zone), true);
        const QVector<QStringList> pages = pagesOf(reportPdf(in, only({Choice::ParametriConfronto})));
        QCOMPARE(pages.size(), 2);
        QVERIFY2(containsLine(pages[0], QStringLiteral("Caratteristiche di localizzazione: 10,00 % 30,00 % 0,00 %")), zone);
        QVERIFY(containsLine(pages[0], QStringLiteral("Caratteristiche produttive: 10,00 % 25,00 % 0,00 %")));
    }
}

void TestReportPages::capitalisationRatesNeedAverageAndNetIncome()
{
    for (const char *missing : {"SaggioMedioImmob", "RedditoNettoAnnuo"}) {
        ReportInput in = fullInput();
        in.texts.remove(QString::fromLatin1(missing));
        const QVector<QStringList> pages = pagesOf(reportPdf(in, only({Choice::ParametriConfronto})));
        QCOMPARE(pages.size(), 2);
        QVERIFY2(!containsLine(pages[1], QStringLiteral("Saggio medio di capitalizzazione:")), missing);
        QVERIFY(!containsLine(pages[1], QStringLiteral("Saggio di capitalizzazione calcolato:")));
    }
}

void TestReportPages::comparableColumnsFollowTheRows()
{
    ComparableRow partial = comparable(QStringLiteral("Via Po"), QStringLiteral("1"), QString());
    partial.remove(QStringLiteral("CdCarattPosizione"));
    const Columns c = comparableColumns({partial, comparable(QStringLiteral("Via Manzoni"), QString(), QStringLiteral("9"))},
                                        QStringLiteral(" Euro"));
    const QString b = QStringLiteral(" ");
    const QStringList left{
        QStringLiteral("Via Po 12, Piano 2, Interno 1:"), b,
        QStringLiteral("\t- Caratteristiche di localizzazione:"), b,
        QStringLiteral("\t- Caratteristiche tipologiche:"), b,
        QStringLiteral("\t- Caratteristiche produttive:"), b,
        QStringLiteral("\t- Superficie commerciale:"), b,
        QStringLiteral("\t- Costo complessivo:"), b, b,
        b, // end of the first row
        b, // the second row, left out, still adds its blank pair
    };
    const QStringList right{b, b, QStringLiteral("20 %"), b, QStringLiteral("22 %"), b, QStringLiteral("18 %"), b,
                            QStringLiteral("95,5 mq"), b, QStringLiteral("191.000.000  Euro"), b, b, b, b};
    QCOMPARE(c.left, left);
    QCOMPARE(c.right, right);
}

void TestReportPages::comparablesFlowWithTheBandRepeated()
{
    ReportInput in = fullInput();
    in.comparables.clear();
    for (int i = 1; i <= 12; ++i)
        in.comparables << comparable(QStringLiteral("Via Numero %1").arg(i), QString::number(i), QStringLiteral("1.000"));
    const QVector<QStringList> pages = pagesOf(reportPdf(in, only({Choice::ImmobiliConfronto, Choice::RisultatiStima})));
    QVERIFY2(pages.size() >= 4, qPrintable(QString::number(pages.size())));
    // Every printed page of the comparables starts with the band.
    for (int i = 0; i < pages.size() - 1; ++i)
        QCOMPARE(pages[i].first(), QStringLiteral("Immobili di confronto"));
    QCOMPARE(pages.last().first(), QStringLiteral("Risultati della stima"));
    // All twelve comparables are there, in order, none lost at a page break.
    QStringList addresses;
    for (const QStringList &p : pages)
        for (const QString &l : p)
            if (l.startsWith(QLatin1String("Via Numero")))
                addresses << l.section(QLatin1Char(' '), 0, 2);
    QStringList expected;
    for (int i = 1; i <= 12; ++i)
        expected << QStringLiteral("Via Numero %1").arg(i);
    QCOMPARE(addresses, expected);
    int costLines = 0;
    for (const QStringList &p : pages)
        costLines += int(std::count_if(p.begin(), p.end(), [](const QString &l) { return l.startsWith(QLatin1String("- Costo complessivo:")); }));
    QCOMPARE(costLines, 12);
}

void TestReportPages::surfaceSpacing_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("lines");
    QTest::addColumn<double>("pitchRatio"); // distance between listed rows / one line
    QTest::newRow("1 row") << 1 << 2 << 0.0;
    QTest::newRow("19 rows, double-spaced") << 19 << 38 << 2.0;
    QTest::newRow("20 rows, single-spaced") << 20 << 20 << 1.0;
    QTest::newRow("36 rows, single-spaced") << 36 << 36 << 1.0;
}

void TestReportPages::surfaceSpacing()
{
    QFETCH(int, rows);
    QFETCH(int, lines);
    QFETCH(double, pitchRatio);
    ReportInput in = fullInput();
    in.surfaces.clear();
    // Rows that are not listed do not count towards the rule.
    in.surfaces << SurfaceRow{QStringLiteral("Bagno"), 0} << SurfaceRow{QString(), 5};
    for (int i = 0; i < rows; ++i)
        in.surfaces << SurfaceRow{QStringLiteral("Camera"), 10.0 + i};
    const Columns c = surfaceColumns(in.surfaces);
    QCOMPARE(c.left.size(), lines);
    QCOMPARE(c.right.size(), lines);
    QCOMPARE(c.right.first(), QStringLiteral("10,00  mq"));

    const QVector<QVector<Word>> words = wordsOf(reportPdf(in, only({Choice::CalcoloSuperfici})));
    QCOMPARE(words.size(), 1);
    QVector<double> tops;
    for (const Word &w : words[0]) {
        if (w.text == QLatin1String("Camera"))
            tops << w.box.top();
    }
    QCOMPARE(tops.size(), rows);
    if (rows < 2)
        return;
    const double pitch = tops[1] - tops[0];
    for (int i = 2; i < tops.size(); ++i)
        QVERIFY(qAbs((tops[i] - tops[i - 1]) - pitch) < 0.5);
    // Single spacing is one line of 12 pt Arial (about 13.8 pt); double, two.
    const double oneLine = 16 * 1.149 * 0.75;
    QVERIFY2(qAbs(pitch / oneLine - pitchRatio) < 0.1, qPrintable(QString::number(pitch)));
}

void TestReportPages::marksAreBlackWhenTickedSilverOtherwise()
{
    const QByteArray pdf = reportPdf(fullInput(), only({Choice::CarattLocalizzazione}));
    const QVector<QVector<Word>> words = wordsOf(pdf);
    const QImage page = raster(pdf, 1);
    QVERIFY(!page.isNull());
    struct Case {
        const char *word;
        bool ticked;
    };
    for (const Case &c : {Case{"Supermercati", true}, Case{"Scuole", true}, Case{"culto", true},
                          Case{"Mercato", false}, Case{"Percorsi", false}, Case{"Uffici", false}}) {
        const Word *w = findWord(words[0], QString::fromLatin1(c.word));
        QVERIFY2(w, c.word);
        const int ink = darkest(page, w->box);
        if (c.ticked) {
            QVERIFY2(ink < 90, c.word);
            // The tick sits just left of the caption.
            const QRectF tickArea(w->box.left() - 16, w->box.top(), 14, w->box.height());
            QVERIFY2(darkest(page, tickArea) < 140, c.word);
        } else {
            QVERIFY2(ink >= 150 && ink < 230, qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(c.word)).arg(ink)));
            const QRectF tickArea(w->box.left() - 16, w->box.top(), 14, w->box.height());
            QCOMPARE(darkest(page, tickArea), 255);
        }
    }
}

void TestReportPages::picturesArePrintedWhenPresent()
{
    const auto reds = [](QRgb p) { return qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60; };
    const auto greens = [](QRgb p) { return qGreen(p) > 150 && qRed(p) < 60 && qBlue(p) < 60; };
    const auto blues = [](QRgb p) { return qBlue(p) > 200 && qRed(p) < 60 && qGreen(p) < 60; };
    const ReportSelection s = only({Choice::UnitaImmobiliare, Choice::CalcoloSuperfici});
    const QByteArray full = reportPdf(fullInput(), s);
    const QImage unit = raster(full, 1), surfaces = raster(full, 2);
    // The 270 px boxes at 144 dpi are 405 px wide: a 4:3 picture fitted in
    // one covers about 405 × 304 px.
    QVERIFY(countPixels(unit, reds) > 100000);
    QVERIFY(countPixels(unit, greens) > 50000);
    QVERIFY(countPixels(surfaces, blues) > 100000);

    ReportInput noPictures = fullInput();
    noPictures.photo = QImage();
    noPictures.areaPlan = QImage();
    noPictures.unitPlan = QImage();
    const QByteArray empty = reportPdf(noPictures, s);
    QCOMPARE(countPixels(raster(empty, 1), reds), 0);
    QCOMPARE(countPixels(raster(empty, 2), blues), 0);
}

// Page 3 stretches the photograph and the area plan over their 270 × 270
// frames whatever their proportions; page 4 keeps the unit plan's.
void TestReportPages::unitPagePicturesFillTheirFrames_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("printed"); // pixels at 144 dpi, inside the frame
    // 270 px at 96 dpi less 2 px each side is 399 px at 144 dpi.
    QTest::newRow("photo, wide") << 3 << QColor(255, 0, 0) << QSize(400, 100) << QSize(399, 399);
    QTest::newRow("area plan, tall") << 3 << QColor(0, 200, 0) << QSize(120, 500) << QSize(399, 399);
    // 290 px less 2 px each side is 429 px: a 2:1 picture keeps its proportions.
    QTest::newRow("unit plan keeps its proportions") << 4 << QColor(0, 0, 255) << QSize(400, 200) << QSize(429, 214);
}

void TestReportPages::unitPagePicturesFillTheirFrames()
{
    QFETCH(int, page);
    QFETCH(QColor, colour);
    QFETCH(QSize, picture);
    QFETCH(QSize, printed);
    ReportInput in = fullInput();
    if (page == 3 && colour.red() > 0)
        in.photo = solid(colour, picture.width(), picture.height());
    else if (page == 3)
        in.areaPlan = solid(colour, picture.width(), picture.height());
    else
        in.unitPlan = solid(colour, picture.width(), picture.height());
    const QImage image = raster(reportPdf(in, only({Choice::UnitaImmobiliare, Choice::CalcoloSuperfici})), page - 2);
    QVERIFY(!image.isNull());
    const auto same = [&colour](QRgb p) {
        return std::abs(qRed(p) - colour.red()) < 40 && std::abs(qGreen(p) - colour.green()) < 40
               && std::abs(qBlue(p) - colour.blue()) < 40;
    };
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (same(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    QVERIFY(!box.isEmpty());
    QVERIFY2(std::abs(box.width() - printed.width()) <= 2 && std::abs(box.height() - printed.height()) <= 2,
             qPrintable(QStringLiteral("%1 × %2").arg(box.width()).arg(box.height())));
    // Every pixel of that box is the picture's.
    QCOMPARE(countPixels(image, same, box), box.width() * box.height());
}

void TestReportPages::selection_data()
{
    QTest::addColumn<QVector<int>>("cleared"); // choices cleared, by index
    QTest::addColumn<QVector<int>>("pages");
    QTest::newRow("all") << QVector<int>{} << QVector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    QTest::newRow("no comparison parameters") << QVector<int>{8} << QVector<int>{1, 2, 3, 4, 5, 6, 7, 8, 11};
    QTest::newRow("no cover, no results") << QVector<int>{0, 9} << QVector<int>{2, 3, 4, 5, 6, 7, 8, 9, 10};
    QTest::newRow("only parameters") << QVector<int>{0, 1, 2, 3, 4, 5, 6, 7, 9} << QVector<int>{9, 10};
    QTest::newRow("none") << QVector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9} << QVector<int>{};
}

void TestReportPages::selection()
{
    QFETCH(QVector<int>, cleared);
    QFETCH(QVector<int>, pages);
    ReportSelection s;
    for (int c : cleared)
        s.on[std::size_t(c)] = false;
    QCOMPARE(assembledPages(s), pages);
    QCOMPARE(s.any(), !pages.isEmpty());
    if (pages.isEmpty()) {
        Report report;
        report.resetAndFill(fullInput());
        QTemporaryDir dir;
        QString error;
        QVERIFY(!writeReportPdf(dir.filePath(QStringLiteral("r.pdf")), report, s, &error));
        QCOMPARE(error, kNoPagesSelected);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("r.pdf"))));
        return;
    }
    const QVector<QStringList> printed = pagesOf(reportPdf(fullInput(), s));
    QCOMPARE(printed.size(), pages.size());
    for (int i = 0; i < pages.size(); ++i)
        QVERIFY(printed[i].first().startsWith(pageTitle(pages[i])));
}

void TestReportPages::previewingAgainResetsEveryPage()
{
    Report report;
    report.resetAndFill(fullInput());
    const QByteArray first = reportPdf(report, ReportSelection());
    report.resetAndFill(fullInput());
    QCOMPARE(pagesOf(reportPdf(report, ReportSelection())), pagesOf(first));

    // After a full appraisal, an empty one prints as a fresh report would:
    // no value, caption or mark of the earlier one survives.
    report.resetAndFill(emptyInput());
    const QVector<QStringList> again = pagesOf(reportPdf(report, ReportSelection()));
    Report fresh;
    fresh.resetAndFill(emptyInput());
    QCOMPARE(again, pagesOf(reportPdf(fresh, ReportSelection())));
    QVERIFY(!containsLine(again[5], QStringLiteral("Ascensore (")));
    QCOMPARE(again[0][2], QStringLiteral("Comune di"));
}

void TestReportPages::pdfIsWrittenWholeOrNotAtAll()
{
    Report report;
    report.resetAndFill(fullInput());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Report.pdf"));
    QString error;
    QVERIFY2(writeReportPdf(path, report, ReportSelection(), &error), qPrintable(error));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.startsWith("%PDF-"));
    QVERIFY(bytes.trimmed().endsWith("%%EOF"));
    QCOMPARE(pagesOf(bytes).size(), 11);

    // A folder that does not exist: a readable reason, no file, and the
    // earlier file elsewhere untouched.
    const QString bad = dir.filePath(QStringLiteral("missing/Report.pdf"));
    QVERIFY(!writeReportPdf(bad, report, ReportSelection(), &error));
    QVERIFY(error.contains(bad));
    QVERIFY(!QFile::exists(bad));
    QCOMPARE(QFile(path).size(), bytes.size());
}

QTEST_MAIN(TestReportPages)
#include "tst_reportpages.moc"
