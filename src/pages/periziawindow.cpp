// SPDX-License-Identifier: GPL-2.0-or-later
#include "periziawindow.h"

#include "pages/messages.h"
#include "pages/periziaform.h"
#include "model/record.h"
#include "report/mcadocument.h"
#include "valuation/purposecompliance.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTextDocument>
#include <QVBoxLayout>

#include <variant>

namespace brevan::ui {

using namespace brevan::perizia;
using perizia::ListColumn;
using perizia::ListEditor;

namespace {

constexpr unsigned kBank = 1, kCourt = 2, kMarket = 4, kAll = 7;
unsigned bit(Purpose p)
{
    return p == Purpose::Bank ? kBank : p == Purpose::Court ? kCourt : kMarket;
}

using Member = std::variant<QString Report::*, QDate Report::*, double Report::*, bool Report::*,
                            std::optional<bool> Report::*>;

// One field of the window: where it shows, its key (the one the compliance
// tables name), its label, which purposes use it, where it lives.
struct Scalar {
    Section section;
    const char *key;
    const char16_t *label;
    unsigned purposes;
    Member member;
    bool multiline = false;
};

const QVector<Scalar> &scalars()
{
    static const QVector<Scalar> rows{
        {Section::Engagement, "client", u"Committente", kAll, &Report::client},
        {Section::Engagement, "loanApplicant", u"Richiedente il finanziamento", kBank, &Report::loanApplicant},
        {Section::Engagement, "court", u"Tribunale", kCourt, &Report::court},
        {Section::Engagement, "procedureNumber", u"Procedura (R.G.E.)", kCourt, &Report::procedureNumber},
        {Section::Engagement, "judge", u"Giudice dell'esecuzione", kCourt, &Report::judge},
        {Section::Engagement, "professionalRegister", u"Albo professionale", kAll, &Report::professionalRegister},
        {Section::Engagement, "registerNumber", u"Numero di iscrizione", kAll, &Report::registerNumber},
        {Section::Engagement, "uniCertification", u"Certificazione UNI 11558", kAll, &Report::uniCertification},
        {Section::Engagement, "uniRegistryNumber", u"Numero di registro UNI 11558", kAll, &Report::uniRegistryNumber},
        {Section::Engagement, "engagementDate", u"Data dell'incarico", kAll, &Report::engagementDate},
        {Section::Engagement, "inspectionDate", u"Data del sopralluogo", kAll, &Report::inspectionDate},
        {Section::Engagement, "reportDate", u"Data del rapporto", kAll, &Report::reportDate},
        {Section::Engagement, "independence", u"Indipendenza e assenza di conflitto di interessi", kAll, &Report::independence},
        {Section::Engagement, "followsUni11612", u"La valutazione segue la UNI 11612", kMarket, &Report::followsUni11612},
        {Section::Engagement, "documents567", u"Documenti dell'art. 567 c.p.c. completi", kCourt, &Report::documents567Complete},
        {Section::Engagement, "documents567Missing", u"Documenti mancanti", kCourt, &Report::documents567Missing},
        {Section::Identification, "description", u"Descrizione del perito", kAll, &Report::description, true},
        {Section::Identification, "boundaries", u"Confini", kAll, &Report::boundaries},
        {Section::Identification, "matchesCadastralPlan", u"Stato conforme alla planimetria catastale", kAll,
         &Report::matchesCadastralPlan},
        {Section::Identification, "planDifferences", u"Differenze", kAll, &Report::planDifferences},
        {Section::Identification, "planFixCost", u"Costo della regolarizzazione catastale (€)", kAll, &Report::planFixCost},
        {Section::Title, "right", u"Diritto valutato", kAll, &Report::right},
        {Section::Encumbrances, "noEncumbrances", u"Verificati: nessun vincolo od onere", kAll, &Report::noEncumbrances},
        {Section::Encumbrances, "censoLivelloUsoCivico", u"Gravato da censo, livello o uso civico", kAll,
         &Report::censoLivelloUsoCivico},
        {Section::Planning, "conformsToPermits", u"Conforme ai titoli edilizi", kAll, &Report::conformsToPermits},
        {Section::Planning, "permitDifferences", u"Difformità", kAll, &Report::permitDifferences, true},
        {Section::Planning, "regularisable", u"Difformità sanabili", kAll, &Report::regularisable},
        {Section::Planning, "regularisationCost", u"Costo della sanatoria (€)", kAll, &Report::regularisationCost},
        {Section::Planning, "restorationCost", u"Costo del ripristino (€)", kAll, &Report::restorationCost},
        {Section::Planning, "fitForUse", u"Agibilità", kAll, &Report::fitForUse},
        {Section::Planning, "landUseCertificate", u"Certificato di destinazione urbanistica", kAll, &Report::landUseCertificate},
        {Section::Condominium, "notInCondominium", u"L'unità non fa parte di un condominio", kAll, &Report::notInCondominium},
        {Section::Condominium, "yearlyExpenses", u"Spese ordinarie annue (€)", kAll, &Report::yearlyExpenses},
        {Section::Condominium, "unpaidLastTwoYears", u"Spese insolute degli ultimi due anni (€)", kAll,
         &Report::unpaidLastTwoYears},
        {Section::Condominium, "extraordinaryResolved", u"Spese straordinarie già deliberate (€)", kAll,
         &Report::extraordinaryResolved},
        {Section::Condominium, "lawsuits", u"Procedimenti giudiziari in corso", kAll, &Report::lawsuits},
        {Section::Energy, "epgl", u"EPgl (kWh/m² anno)", kAll, &Report::epgl},
        {Section::Energy, "apeDate", u"Data dell'APE", kAll, &Report::apeDate},
        {Section::Energy, "seismicClass", u"Classe di rischio sismico", kAll, &Report::seismicClass},
        {Section::Energy, "sustainabilityNotes", u"Note sul valore", kAll, &Report::sustainabilityNotes, true},
        {Section::Documents, "documentsExamined", u"Documenti esaminati", kAll, &Report::documentsExamined, true},
        {Section::Documents, "assumptions", u"Assunzioni e condizioni limitative", kAll, &Report::assumptions, true},
        {Section::Valuation, "ownValue", u"Valore indicato dal perito (€)", kAll, &Report::ownValue},
        {Section::Valuation, "reason", u"Motivazione", kAll, &Report::reason, true},
        {Section::Valuation, "propertyValue", u"Valore dell'immobile (€)", kBank, &Report::propertyValue},
        {Section::Valuation, "revaluation", u"Rivalutazione di una stima precedente", kBank, &Report::revaluation},
        {Section::Valuation, "sixYearAverage", u"Valore medio degli ultimi sei anni (€)", kBank, &Report::sixYearAverage},
        {Section::Valuation, "averageSource", u"Fonte del valore medio", kBank, &Report::averageSource},
        {Section::Valuation, "roundingStep", u"Arrotondamento del prezzo base (€)", kCourt, &Report::roundingStep},
    };
    return rows;
}

const QVector<QPair<const char *, const char16_t *>> kDeedFields{
    {"deedType", u"Atto di provenienza: tipo"},
    {"deedNotary", u"Notaio"},
    {"deedDate", u"Data dell'atto"},
    {"deedRepertory", u"Repertorio"},
};

template <typename T>
QStringList labels(const QVector<QPair<T, QString>> &table)
{
    QStringList out;
    for (const auto &[v, label] : table)
        out << label;
    return out;
}



QIcon lightIcon(bool on)
{
    QPixmap p(14, 14);
    p.fill(Qt::transparent);
    QPainter painter(&p);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(on ? QColor(0x00a000) : QColor(0xd00000));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(1, 1, 12, 12);
    return QIcon(p);
}

double amountOr(const QString &text) { return perizia::parseAmount(text).value_or(kNotGiven); }
QDate dateOr(const QString &text) { return perizia::parseDate(text).value_or(QDate()); }

// The list editors, each with its key and columns.
enum ListKey { Debtors, Cadastral, Owners, Leases, Encumbrances, Permits, Amnesties, Adjustments, Annexes };

} // namespace

PeriziaWindow::PeriziaWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("PeriziaWindow"));
    setWindowTitle(QStringLiteral("Rapporto di valutazione"));
    build();
    fill();
    refresh();
}

PeriziaWindow::~PeriziaWindow()
{
    // The fields going away say they changed: nothing is read from them any more.
    m_filling = true;
}

void PeriziaWindow::build()
{
    purposeCombo = new QComboBox(this);
    purposeCombo->setObjectName(QStringLiteral("purpose"));
    for (const PurposeInfo &p : purposes())
        purposeCombo->addItem(QString::fromUtf16(p.label));
    sectionList = new QListWidget(this);
    sectionList->setObjectName(QStringLiteral("sections"));
    sectionList->setFixedWidth(230);
    sectionPages = new QStackedWidget(this);
    missingList = new QListWidget(this);
    missingList->setObjectName(QStringLiteral("missing"));
    missingList->setMaximumHeight(110);
    problemsLabel = new QLabel(this);
    problemsLabel->setObjectName(QStringLiteral("problems"));
    problemsLabel->setStyleSheet(QStringLiteral("color: #b00000"));
    problemsLabel->setWordWrap(true);
    valuesLabel = new QLabel(this);
    valuesLabel->setObjectName(QStringLiteral("values"));
    valuesLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    courtLabel = new QLabel(this);
    courtLabel->setObjectName(QStringLiteral("courtValue"));
    courtLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    printButton = new QPushButton(QStringLiteral("Stampa…"), this);
    printButton->setObjectName(QStringLiteral("print"));
    pdfButton = new QPushButton(QStringLiteral("Esporta PDF…"), this);
    pdfButton->setObjectName(QStringLiteral("exportPdf"));
    odtButton = new QPushButton(QStringLiteral("Esporta ODT…"), this);
    odtButton->setObjectName(QStringLiteral("exportOdt"));
    privacyButton = new QPushButton(QStringLiteral("Esporta copia privacy…"), this);
    privacyButton->setObjectName(QStringLiteral("exportPrivacy"));

    for (int s = 0; s < kSectionCount; ++s) {
        auto *item = new QListWidgetItem(sectionTitle(Section(s)), sectionList);
        item->setIcon(lightIcon(true));
        auto *scroll = new QScrollArea(sectionPages);
        scroll->setWidgetResizable(true);
        auto *page = new QWidget(scroll);
        auto *form = new QFormLayout(page);
        form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
        buildSection(Section(s), form);
        scroll->setWidget(page);
        sectionPages->addWidget(scroll);
    }
    connect(sectionList, &QListWidget::currentRowChanged, sectionPages, &QStackedWidget::setCurrentIndex);
    sectionList->setCurrentRow(0);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Scopo:"), this));
    top->addWidget(purposeCombo, 1);
    auto *body = new QHBoxLayout;
    body->addWidget(sectionList);
    body->addWidget(sectionPages, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {printButton, pdfButton, odtButton, privacyButton})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(body, 1);
    layout->addWidget(new QLabel(QStringLiteral("Mancano:"), this));
    layout->addWidget(missingList);
    layout->addWidget(problemsLabel);
    layout->addLayout(buttons);
    resize(900, 640);

    connect(purposeCombo, &QComboBox::currentIndexChanged, this, [this] {
        if (m_filling)
            return;
        collect();
        applyPurpose();
        refresh();
        Q_EMIT reportEdited();
    });
    connect(missingList, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { showField(item->data(Qt::UserRole).toString()); });
    connect(missingList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { showField(item->data(Qt::UserRole).toString()); });
    connect(printButton, &QPushButton::clicked, this, &PeriziaWindow::StampaClick);
    connect(pdfButton, &QPushButton::clicked, this, &PeriziaWindow::EsportaPdfClick);
    connect(odtButton, &QPushButton::clicked, this, &PeriziaWindow::EsportaOdtClick);
    connect(privacyButton, &QPushButton::clicked, this, &PeriziaWindow::EsportaPrivacyClick);
}

void PeriziaWindow::addField(QFormLayout *form, const QString &key, const QString &label, QWidget *field,
                             unsigned purposes)
{
    field->setObjectName(key);
    form->addRow(label, field);
    m_fields.insert(key, field);
    m_labels.insert(key, label);
    m_fieldSection.insert(key, sectionPages->count());
    m_rows.append({form, field, purposes});
}

void PeriziaWindow::buildSection(Section section, QFormLayout *form)
{
    QWidget *page = form->parentWidget();
    const auto edited = [this] {
        if (m_filling)
            return;
        collect();
        refresh();
        Q_EMIT reportEdited();
    };
    const auto list = [&](const char *key, const QString &label, const QVector<ListColumn> &columns, unsigned purposes) {
        auto *editor = new ListEditor(QString::fromLatin1(key), columns, page);
        editor->setMinimumHeight(150);
        connect(editor, &ListEditor::edited, this, edited);
        addField(form, QString::fromLatin1(key), label, editor, purposes);
    };
    const auto fromPages = [&](const QString &label, const QString &target, QLabel **shown) {
        auto *row = new QWidget(form->parentWidget());
        auto *h = new QHBoxLayout(row);
        h->setContentsMargins(0, 0, 0, 0);
        // No word wrap: a height-for-width row in a form whose rows are
        // hidden makes Qt 6.4's QFormLayout write past its row data.
        auto *text = new QLabel(row);
        text->setTextInteractionFlags(Qt::TextSelectableByMouse);
        auto *go = new QPushButton(QStringLiteral("Vai alla pagina"), row);
        go->setObjectName(QStringLiteral("goTo_") + target);
        connect(go, &QPushButton::clicked, this, [this, target] { Q_EMIT pageRequested(target); });
        h->addWidget(text, 1);
        h->addWidget(go);
        form->addRow(label, row);
        *shown = text;
    };

    // The section's own fields; the title's come before its lists.
    const auto addScalars = [&] {
        for (const Scalar &s : scalars()) {
            if (s.section != section)
                continue;
            const QString key = QString::fromLatin1(s.key);
            const QString label = QString::fromUtf16(s.label);
            QWidget *field = nullptr;
            std::visit(
                [&](auto member) {
                    using T = std::decay_t<decltype(m_report.*member)>;
                    if constexpr (std::is_same_v<T, bool>) {
                        auto *check = new QCheckBox(page);
                        connect(check, &QCheckBox::toggled, this, edited);
                        field = check;
                    } else if constexpr (std::is_same_v<T, std::optional<bool>>) {
                        auto *combo = new QComboBox(page);
                        combo->addItems({QString(), QStringLiteral("sì"), QStringLiteral("no")});
                        connect(combo, &QComboBox::currentIndexChanged, this, edited);
                        field = combo;
                    } else if (s.multiline) {
                        auto *text = new QPlainTextEdit(page);
                        text->setTabChangesFocus(true);
                        text->setFixedHeight(70);
                        connect(text, &QPlainTextEdit::textChanged, this, edited);
                        field = text;
                    } else {
                        auto *edit = new QLineEdit(page);
                        if constexpr (std::is_same_v<T, QDate>)
                            edit->setPlaceholderText(QStringLiteral("gg/mm/aaaa"));
                        connect(edit, &QLineEdit::textEdited, this, edited);
                        field = edit;
                    }
                },
                s.member);
            addField(form, key, label, field, s.purposes);
        }
        if (section == Section::Title) {
            for (const auto &[deedKey, deedLabel] : kDeedFields) {
                auto *edit = new QLineEdit(page);
                if (QLatin1String(deedKey) == QLatin1String("deedDate"))
                    edit->setPlaceholderText(QStringLiteral("gg/mm/aaaa"));
                connect(edit, &QLineEdit::textEdited, this, edited);
                addField(form, QString::fromLatin1(deedKey), QString::fromUtf16(deedLabel), edit, kAll);
            }
        }
    };
    if (section == Section::Title)
        addScalars();

    if (section == Section::Engagement) {
        QLabel *appraiser = nullptr;
        fromPages(QStringLiteral("Perito (dalle generalità)"), QStringLiteral("appraiser"), &appraiser);
        appraiser->setObjectName(QStringLiteral("appraiser"));
        m_fields.insert(QStringLiteral("appraiser"), appraiser);
        m_fieldSection.insert(QStringLiteral("appraiser"), sectionPages->count());
        list("debtors", QStringLiteral("Debitori"), {{QStringLiteral("Nome"), ListColumn::Text, {}}}, kCourt);
    }
    if (section == Section::Identification) {
        QLabel *pages = nullptr;
        fromPages(QStringLiteral("Dalle pagine"), QStringLiteral("description"), &pages);
        pages->setObjectName(QStringLiteral("fromPages"));
        list("cadastral", QStringLiteral("Dati catastali"),
             {{QStringLiteral("Catasto"), ListColumn::Choice, {QStringLiteral("Fabbricati"), QStringLiteral("Terreni")}},
              {QStringLiteral("Comune"), ListColumn::Text, {}},
              {QStringLiteral("Sez."), ListColumn::Text, {}},
              {QStringLiteral("Foglio"), ListColumn::Text, {}},
              {QStringLiteral("Part."), ListColumn::Text, {}},
              {QStringLiteral("Sub."), ListColumn::Text, {}},
              {QStringLiteral("Cat."), ListColumn::Choice, QStringList{QString()} + choiceItems(Choice::CategorieCatastali)},
              {QStringLiteral("Classe"), ListColumn::Text, {}},
              {QStringLiteral("Consistenza"), ListColumn::Text, {}},
              {QStringLiteral("Sup. cat. m²"), ListColumn::Amount, {}},
              {QStringLiteral("Rendita €"), ListColumn::Amount, {}}},
             kAll);
    }
    if (section == Section::Title) {
        list("owners", QStringLiteral("Proprietari"),
             {{QStringLiteral("Nome"), ListColumn::Text, {}},
              {QStringLiteral("Persona fisica"), ListColumn::Tick, {}},
              {QStringLiteral("Quota"), ListColumn::Text, {}},
              {QStringLiteral("Oggetto di stima"), ListColumn::Tick, {}}},
             kAll);
        auto *occupation = new QComboBox(page);
        occupation->addItems(labels(occupations()));
        connect(occupation, &QComboBox::currentIndexChanged, this, edited);
        addField(form, QStringLiteral("occupation"), QStringLiteral("Stato di possesso"), occupation, kAll);
        list("leases", QStringLiteral("Locazioni"),
             {{QStringLiteral("Conduttore"), ListColumn::Text, {}},
              {QStringLiteral("Persona fisica"), ListColumn::Tick, {}},
              {QStringLiteral("Registrazione"), ListColumn::Date, {}},
              {QStringLiteral("Scadenza"), ListColumn::Date, {}},
              {QStringLiteral("Canone annuo €"), ListColumn::Amount, {}},
              {QStringLiteral("Opponibile"), ListColumn::Tick, {}}},
             kAll);
    }
    if (section == Section::Encumbrances)
        list("encumbrances", QStringLiteral("Vincoli e oneri"),
             {{QStringLiteral("Tipo"), ListColumn::Choice, labels(encumbranceKinds())},
              {QStringLiteral("Descrizione"), ListColumn::Text, {}},
              {QStringLiteral("Data"), ListColumn::Date, {}},
              {QStringLiteral("Registrazione"), ListColumn::Text, {}},
              {QStringLiteral("A carico dell'acquirente"), ListColumn::Tick, {}},
              {QStringLiteral("Affrancazione €"), ListColumn::Amount, {}}},
             kAll);
    if (section == Section::Planning) {
        list("permits", QStringLiteral("Titoli edilizi"),
             {{QStringLiteral("Tipo"), ListColumn::Text, {}},
              {QStringLiteral("Numero"), ListColumn::Text, {}},
              {QStringLiteral("Data"), ListColumn::Date, {}}},
             kAll);
        list("amnesties", QStringLiteral("Istanze di condono"),
             {{QStringLiteral("Richiedente"), ListColumn::Text, {}},
              {QStringLiteral("Legge"), ListColumn::Text, {}},
              {QStringLiteral("Stato"), ListColumn::Text, {}},
              {QStringLiteral("Oblazioni pagate €"), ListColumn::Amount, {}},
              {QStringLiteral("Oblazioni dovute €"), ListColumn::Amount, {}}},
             kAll);
    }
    if (section == Section::Energy) {
        auto *energy = new QComboBox(page);
        energy->addItems(QStringList{QString()} + energyClasses());
        connect(energy, &QComboBox::currentIndexChanged, this, edited);
        addField(form, QStringLiteral("energyClass"), QStringLiteral("Classe energetica (APE)"), energy, kAll);
    }
    if (section == Section::Documents)
        list("annexes", QStringLiteral("Allegati"), {{QStringLiteral("File"), ListColumn::Text, {}}}, kAll);
    if (section == Section::Valuation) {
        form->addRow(QStringLiteral("Valori calcolati"), valuesLabel);
        m_fields.insert(QStringLiteral("surface"), valuesLabel);
        m_fieldSection.insert(QStringLiteral("surface"), sectionPages->count());
        auto *stated = new QComboBox(page);
        stated->addItems(labels(statedValues()));
        connect(stated, &QComboBox::currentIndexChanged, this, edited);
        addField(form, QStringLiteral("stated"), QStringLiteral("Valore di mercato indicato"), stated, kAll);
    }

    if (section != Section::Title)
        addScalars();
    if (section == Section::Valuation) {
        list("adjustments", QStringLiteral("Adeguamenti (art. 568 c.p.c.)"),
             {{QStringLiteral("Tipo"), ListColumn::Choice, labels(adjustmentKinds())},
              {QStringLiteral("Descrizione"), ListColumn::Text, {}},
              {QStringLiteral("Importo €"), ListColumn::Amount, {}},
              {QStringLiteral("Percentuale %"), ListColumn::Amount, {}}},
             kCourt);
        // The regularisation and the unpaid expenses from their sections.
        auto *propose = new QPushButton(QStringLiteral("Proponi dalle altre sezioni"), page);
        propose->setToolTip(QStringLiteral("Regolarizzazione (sezioni Identificazione e Regolarità) e spese "
                                           "condominiali insolute (sezione Condominio)"));
        connect(propose, &QPushButton::clicked, this, [this] {
            collect();
            m_report.adjustments = proposedAdjustments(m_report);
            fill();
            collect();
            refresh();
            Q_EMIT reportEdited();
        });
        addField(form, QStringLiteral("proposeAdjustments"), QString(), propose, kCourt);
        form->addRow(QString(), courtLabel);
    }
}

bool PeriziaWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        Q_EMIT activated();
    return QWidget::event(event);
}

void PeriziaWindow::setReport(const Report &report)
{
    m_report = report;
    fill();
    refresh();
}

void PeriziaWindow::setFacts(const AppraisalFacts &facts)
{
    m_facts = facts;
    refresh();
}

void PeriziaWindow::fill()
{
    m_filling = true;
    const Report &r = m_report;
    purposeCombo->setCurrentIndex(int(r.purpose));
    for (const Scalar &s : scalars()) {
        QWidget *w = m_fields.value(QString::fromLatin1(s.key));
        if (!w)
            continue;
        std::visit(
            [&](auto member) {
                using T = std::decay_t<decltype(r.*member)>;
                const T &v = r.*member;
                if constexpr (std::is_same_v<T, bool>) {
                    static_cast<QCheckBox *>(w)->setChecked(v);
                } else if constexpr (std::is_same_v<T, std::optional<bool>>) {
                    static_cast<QComboBox *>(w)->setCurrentIndex(v ? (*v ? 1 : 2) : 0);
                } else {
                    QString text;
                    if constexpr (std::is_same_v<T, QString>)
                        text = v;
                    else if constexpr (std::is_same_v<T, QDate>)
                        text = perizia::dateText(v);
                    else
                        text = perizia::amountText(v);
                    if (auto *edit = qobject_cast<QLineEdit *>(w))
                        edit->setText(text);
                    else if (auto *plain = qobject_cast<QPlainTextEdit *>(w))
                        plain->setPlainText(text);
                }
            },
            s.member);
    }
    static_cast<QLineEdit *>(m_fields.value(QStringLiteral("deedType")))->setText(r.deed.type);
    static_cast<QLineEdit *>(m_fields.value(QStringLiteral("deedNotary")))->setText(r.deed.notary);
    static_cast<QLineEdit *>(m_fields.value(QStringLiteral("deedDate")))->setText(perizia::dateText(r.deed.date));
    static_cast<QLineEdit *>(m_fields.value(QStringLiteral("deedRepertory")))->setText(r.deed.repertory);
    static_cast<QComboBox *>(m_fields.value(QStringLiteral("occupation")))
        ->setCurrentText(labelOf(occupations(), r.occupation));
    static_cast<QComboBox *>(m_fields.value(QStringLiteral("stated")))->setCurrentText(labelOf(statedValues(), r.stated));
    static_cast<QComboBox *>(m_fields.value(QStringLiteral("energyClass")))->setCurrentText(r.energyClass);

    const auto editor = [this](const char *key) { return static_cast<ListEditor *>(m_fields.value(QString::fromLatin1(key))); };
    QVector<QStringList> rows;
    for (const QString &d : r.debtors)
        rows << QStringList{d};
    editor("debtors")->setRows(rows);
    rows.clear();
    for (const CadastralEntry &e : r.cadastral)
        rows << QStringList{e.registry, e.municipality, e.section, e.sheet, e.parcel, e.subaltern, e.category,
                            e.cadastralClass, e.consistency, perizia::amountText(e.surface), perizia::amountText(e.income)};
    editor("cadastral")->setRows(rows);
    rows.clear();
    for (const Owner &o : r.owners)
        rows << QStringList{o.name, perizia::tickText(o.naturalPerson),
                            QStringLiteral("%1/%2").arg(o.numerator).arg(o.denominator), perizia::tickText(o.valued)};
    editor("owners")->setRows(rows);
    rows.clear();
    for (const Lease &l : r.leases)
        rows << QStringList{l.tenant, perizia::tickText(l.naturalPerson), perizia::dateText(l.registered),
                            perizia::dateText(l.expiry), perizia::amountText(l.yearlyRent), perizia::tickText(l.bindsBuyer)};
    editor("leases")->setRows(rows);
    rows.clear();
    for (const Encumbrance &e : r.encumbrances)
        rows << QStringList{labelOf(encumbranceKinds(), e.kind), e.description, perizia::dateText(e.date), e.registration,
                            perizia::tickText(e.staysWithBuyer), perizia::amountText(e.redemptionCost)};
    editor("encumbrances")->setRows(rows);
    rows.clear();
    for (const Permit &p : r.permits)
        rows << QStringList{p.type, p.number, perizia::dateText(p.date)};
    editor("permits")->setRows(rows);
    rows.clear();
    for (const Amnesty &a : r.amnesties)
        rows << QStringList{a.applicant, a.law, a.state, perizia::amountText(a.feesPaid), perizia::amountText(a.feesDue)};
    editor("amnesties")->setRows(rows);
    rows.clear();
    for (const Adjustment &a : r.adjustments)
        rows << QStringList{labelOf(adjustmentKinds(), a.kind), a.description, perizia::amountText(a.amount),
                            perizia::amountText(a.percent)};
    editor("adjustments")->setRows(rows);
    rows.clear();
    for (const QString &a : r.annexes)
        rows << QStringList{a};
    editor("annexes")->setRows(rows);
    applyPurpose();
    m_filling = false;
}

void PeriziaWindow::collect()
{
    Report &r = m_report;
    m_unreadable.clear();
    r.purpose = purposes().at(std::size_t(std::max(0, purposeCombo->currentIndex()))).purpose;
    const auto unreadable = [this](const QString &label) {
        m_unreadable << QStringLiteral("%1: valore non valido.").arg(label);
    };
    for (const Scalar &s : scalars()) {
        QWidget *w = m_fields.value(QString::fromLatin1(s.key));
        if (!w)
            continue;
        const QString label = QString::fromUtf16(s.label);
        std::visit(
            [&](auto member) {
                using T = std::decay_t<decltype(r.*member)>;
                T &v = r.*member;
                if constexpr (std::is_same_v<T, bool>) {
                    v = static_cast<QCheckBox *>(w)->isChecked();
                } else if constexpr (std::is_same_v<T, std::optional<bool>>) {
                    v = perizia::parseTick(static_cast<QComboBox *>(w)->currentText());
                } else {
                    QString text;
                    if (auto *edit = qobject_cast<QLineEdit *>(w))
                        text = edit->text();
                    else if (auto *plain = qobject_cast<QPlainTextEdit *>(w))
                        text = plain->toPlainText();
                    if constexpr (std::is_same_v<T, QString>) {
                        v = text;
                    } else if constexpr (std::is_same_v<T, QDate>) {
                        const std::optional<QDate> d = perizia::parseDate(text);
                        if (!d)
                            unreadable(label);
                        v = d.value_or(QDate());
                    } else {
                        const std::optional<double> a = perizia::parseAmount(text);
                        if (!a)
                            unreadable(label);
                        v = a.value_or(kNotGiven);
                    }
                }
            },
            s.member);
    }
    // An empty step is the one proposed.
    if (static_cast<QLineEdit *>(m_fields.value(QStringLiteral("roundingStep")))->text().trimmed().isEmpty())
        r.roundingStep = 1000;
    r.deed.type = static_cast<QLineEdit *>(m_fields.value(QStringLiteral("deedType")))->text();
    r.deed.notary = static_cast<QLineEdit *>(m_fields.value(QStringLiteral("deedNotary")))->text();
    const QString deedDate = static_cast<QLineEdit *>(m_fields.value(QStringLiteral("deedDate")))->text();
    if (!perizia::parseDate(deedDate))
        unreadable(QStringLiteral("Data dell'atto"));
    r.deed.date = dateOr(deedDate);
    r.deed.repertory = static_cast<QLineEdit *>(m_fields.value(QStringLiteral("deedRepertory")))->text();
    r.occupation = valueOfLabel(occupations(), static_cast<QComboBox *>(m_fields.value(QStringLiteral("occupation")))->currentText(),
                          Occupation::NotStated);
    r.stated = valueOfLabel(statedValues(), static_cast<QComboBox *>(m_fields.value(QStringLiteral("stated")))->currentText(),
                      StatedValue::Comparison);
    r.energyClass = static_cast<QComboBox *>(m_fields.value(QStringLiteral("energyClass")))->currentText();

    const auto rowsOf = [this](const char *key) {
        auto *editor = static_cast<ListEditor *>(m_fields.value(QString::fromLatin1(key)));
        for (const QString &cell : editor->unreadableCells())
            m_unreadable << QStringLiteral("%1, %2: valore non valido.").arg(m_labels.value(QString::fromLatin1(key)), cell);
        return editor->rows();
    };
    r.debtors.clear();
    for (const QStringList &row : rowsOf("debtors")) {
        if (!row.at(0).trimmed().isEmpty())
            r.debtors << row.at(0).trimmed();
    }
    r.cadastral.clear();
    for (const QStringList &row : rowsOf("cadastral"))
        r.cadastral << CadastralEntry{row[0], row[1], row[2], row[3], row[4], row[5], row[6], row[7], row[8],
                                      amountOr(row[9]), amountOr(row[10])};
    r.owners.clear();
    for (const QStringList &row : rowsOf("owners")) {
        Owner o;
        o.name = row[0];
        o.naturalPerson = perizia::parseTick(row[1]).value_or(true);
        const QStringList share = row[2].split(QLatin1Char('/'));
        o.numerator = share.size() == 2 ? share[0].trimmed().toInt() : (row[2].trimmed().isEmpty() ? 1 : 0);
        o.denominator = share.size() == 2 ? share[1].trimmed().toInt() : 1;
        o.valued = perizia::parseTick(row[3]).value_or(true);
        r.owners << o;
    }
    r.leases.clear();
    for (const QStringList &row : rowsOf("leases"))
        r.leases << Lease{row[0], perizia::parseTick(row[1]).value_or(true), dateOr(row[2]), dateOr(row[3]),
                          amountOr(row[4]), perizia::parseTick(row[5])};
    r.encumbrances.clear();
    for (const QStringList &row : rowsOf("encumbrances"))
        r.encumbrances << Encumbrance{valueOfLabel(encumbranceKinds(), row[0], EncumbranceKind::Other), row[1], dateOr(row[2]),
                                      row[3], perizia::parseTick(row[4]).value_or(false), amountOr(row[5])};
    r.permits.clear();
    for (const QStringList &row : rowsOf("permits"))
        r.permits << Permit{row[0], row[1], dateOr(row[2])};
    r.amnesties.clear();
    for (const QStringList &row : rowsOf("amnesties"))
        r.amnesties << Amnesty{row[0], row[1], row[2], amountOr(row[3]), amountOr(row[4])};
    r.adjustments.clear();
    for (const QStringList &row : rowsOf("adjustments"))
        r.adjustments << Adjustment{valueOfLabel(adjustmentKinds(), row[0], AdjustmentKind::Other), row[1], amountOr(row[2]),
                                    amountOr(row[3])};
    r.annexes.clear();
    for (const QStringList &row : rowsOf("annexes")) {
        if (!row.at(0).trimmed().isEmpty())
            r.annexes << row.at(0).trimmed();
    }
}

void PeriziaWindow::applyPurpose()
{
    const unsigned purpose = bit(purposes().at(std::size_t(std::max(0, purposeCombo->currentIndex()))).purpose);
    // The label and the field are hidden one by one: QFormLayout::setRowVisible
    // of Qt 6.4 lays out a shown form from stale rows and writes past them.
    for (const Row &row : m_rows) {
        const bool shown = (row.purposes & purpose) != 0;
        if (QWidget *label = row.form->labelForField(row.field))
            label->setVisible(shown);
        row.field->setVisible(shown);
    }
    privacyButton->setVisible(purpose == kCourt);
}

void PeriziaWindow::refresh()
{
    const QVector<MissingItem> missing = missingItems(m_report, m_facts);
    const std::array<bool, kSectionCount> lights = sectionLights(missing);
    for (int s = 0; s < kSectionCount; ++s)
        sectionList->item(s)->setIcon(lightIcon(lights.at(std::size_t(s))));
    missingList->clear();
    for (const MissingItem &m : missing) {
        auto *item = new QListWidgetItem(QStringLiteral("%1 – %2 (%3)").arg(sectionTitle(m.section), m.item, m.rule),
                                         missingList);
        item->setData(Qt::UserRole, m.field);
    }

    QStringList problems = m_unreadable;
    QSet<QString> troubled;
    for (const Problem &p : brevan::perizia::problems(m_report, m_facts)) {
        problems << p.message;
        troubled.insert(p.field);
    }
    for (auto it = m_fields.cbegin(); it != m_fields.cend(); ++it) {
        if (qobject_cast<QLineEdit *>(it.value()) || qobject_cast<ListEditor *>(it.value()))
            it.value()->setStyleSheet(troubled.contains(it.key()) ? QStringLiteral("background: #ffe0e0") : QString());
    }
    problemsLabel->setText(problems.isEmpty() ? QString() : QStringLiteral("Da correggere: ") + problems.join(QLatin1Char(' ')));
    problemsLabel->setVisible(!problems.isEmpty());

    const auto valueText = [this](double v) {
        if (!given(v) || v <= 0)
            return QStringLiteral("non calcolato");
        QString t = report::euroText(v);
        if (given(m_facts.surface) && m_facts.surface > 0)
            t += QStringLiteral(" (%1/m²)").arg(report::euroText(v / m_facts.surface));
        return t;
    };
    valuesLabel->setText(QStringLiteral("Capitalizzazione del reddito: %1\nConfronto diretto: %2\nMCA: %3")
                             .arg(valueText(m_facts.incomeValue), valueText(m_facts.comparisonValue),
                                  valueText(m_facts.mcaValue)));
    if (auto *appraiser = qobject_cast<QLabel *>(m_fields.value(QStringLiteral("appraiser"))))
        appraiser->setText(m_facts.appraiser);
    if (auto *pages = findChild<QLabel *>(QStringLiteral("fromPages")))
        pages->setText(QStringList{m_facts.address, m_facts.category, m_facts.pagesDescription}
                           .filter(QRegularExpression(QStringLiteral("\\S")))
                           .join(QLatin1Char('\n')));

    // The court's figures, only when nothing they depend on is in doubt.
    QString court;
    const bool doubtful = troubled.contains(QStringLiteral("adjustments")) || troubled.contains(QStringLiteral("owners"))
                          || troubled.contains(QStringLiteral("roundingStep")) || !m_unreadable.isEmpty();
    if (m_report.purpose == Purpose::Court && !doubtful) {
        if (const std::optional<CourtValue> c = courtValue(m_report, m_facts)) {
            court = QStringLiteral("Adeguamenti: %1\nValore al netto degli adeguamenti: %2")
                        .arg(report::euroText(c->totalAdjustments), report::euroText(c->netValue));
            if (!wholeShare(m_report))
                court += QStringLiteral("\nValore della quota oggetto di stima: %1").arg(report::euroText(c->shareValue));
            court += QStringLiteral("\nPrezzo base proposto: %1").arg(report::euroText(c->basePrice));
        }
    }
    courtLabel->setText(court);
}

void PeriziaWindow::showField(const QString &field)
{
    if (!m_fieldSection.contains(field))
        return;
    sectionList->setCurrentRow(m_fieldSection.value(field));
    if (QWidget *w = m_fields.value(field)) {
        w->setFocus(Qt::OtherFocusReason);
        if (auto *scroll = qobject_cast<QScrollArea *>(sectionPages->currentWidget()))
            scroll->ensureWidgetVisible(w);
    }
}

QStringList PeriziaWindow::missingShown() const
{
    QStringList out;
    for (int i = 0; i < missingList->count(); ++i)
        out << missingList->item(i)->text();
    return out;
}

report::PeriziaInput PeriziaWindow::input() const
{
    report::PeriziaInput in = m_provider ? m_provider() : report::PeriziaInput();
    in.report = m_report;
    in.facts = m_facts;
    return in;
}

bool PeriziaWindow::exportTo(const QString &title, const QString &filter, const QString &suffix,
                             const std::function<bool(const QString &, QString *)> &write)
{
    FileDialogRequest request;
    request.title = title;
    request.filter = fileFilter(filter);
    request.save = true;
    request.defaultSuffix = suffix;
    request.suggested = QStringLiteral("Rapporto di valutazione.") + suffix;
    const QString path = Messages::fileName(this, request);
    if (path.isEmpty())
        return false;
    QString error;
    if (!write(path, &error)) {
        Messages::error(this, error);
        return false;
    }
    return true;
}

void PeriziaWindow::StampaClick()
{
    const std::unique_ptr<QTextDocument> doc = report::periziaDocument(input());
    if (m_testPrinter) {
        doc->print(m_testPrinter);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        doc->print(&printer);
}

void PeriziaWindow::EsportaPdfClick()
{
    const report::PeriziaInput in = input();
    exportTo(QStringLiteral("Esporta PDF"), QStringLiteral("Documento PDF (*.pdf)|*.pdf"), QStringLiteral("pdf"),
             [&in](const QString &path, QString *error) { return report::writePeriziaPdf(path, in, error); });
}

void PeriziaWindow::EsportaOdtClick()
{
    const report::PeriziaInput in = input();
    exportTo(QStringLiteral("Esporta ODT"), QStringLiteral("Documento OpenDocument (*.odt)|*.odt"), QStringLiteral("odt"),
             [&in](const QString &path, QString *error) { return report::writePeriziaOdt(path, in, error); });
}

void PeriziaWindow::EsportaPrivacyClick()
{
    report::PeriziaInput in = input();
    in.privacy = true;
    exportTo(QStringLiteral("Esporta copia privacy"), QStringLiteral("Documento PDF (*.pdf)|*.pdf"), QStringLiteral("pdf"),
             [&in](const QString &path, QString *error) { return report::writePeriziaPdf(path, in, error); });
}

} // namespace brevan::ui
