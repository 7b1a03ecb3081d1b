// SPDX-License-Identifier: GPL-2.0-or-later
#include "mcawindow.h"

#include "mcadatatable.h"
#include "mcaparameters.h"

#include "files/mcatable.h"
#include "model/currency.h"
#include "model/numbertext.h"
#include "pages/messages.h"
#include "pages/pagekit.h"
#include "files/wholefile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStyleOptionViewItem>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace brevan::ui {

namespace {

constexpr int kFontPoints = 9;

// The sources of the subject's surfaces, in the order of the pick list.
constexpr const char *kSubjectSurfaces[] = {"dalla tabella delle superfici", "superficie catastale (DPR 138/98)"};

const report::McaTable *tableTitled(const report::McaDocument &doc, const QString &prefix)
{
    for (const report::McaTable &t : doc.tables) {
        if (t.title.startsWith(prefix))
            return &t;
    }
    return nullptr;
}

QTableWidget *makeView(const QString &objectName)
{
    auto *v = new QTableWidget;
    v->setObjectName(objectName);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    v->setWordWrap(false);
    v->horizontalHeader()->setDefaultSectionSize(118);
    v->horizontalHeader()->setMinimumSectionSize(104);
    v->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    v->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    v->verticalHeader()->setDefaultSectionSize(v->fontMetrics().height() + 8);
    return v;
}

void fillView(QTableWidget *view, const report::McaTable *t)
{
    view->clear();
    if (!t) {
        view->setRowCount(0);
        view->setColumnCount(0);
        return;
    }
    view->setColumnCount(int(t->header.size()) - 1);
    view->setRowCount(int(t->rows.size()));
    view->setHorizontalHeaderLabels(t->header.mid(1));
    QStringList labels;
    for (int r = 0; r < t->rows.size(); ++r) {
        const QStringList &row = t->rows[r];
        labels << row.value(0);
        const bool bold = t->emphasised.contains(r);
        for (int c = 1; c < row.size(); ++c) {
            auto *it = new QTableWidgetItem(row[c]);
            it->setTextAlignment((report::isNumericCell(row[c]) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
            if (bold) {
                QFont f = it->font();
                f.setBold(true);
                it->setFont(f);
                it->setBackground(QColor(232, 240, 250));
            }
            view->setItem(r, c - 1, it);
        }
    }
    view->setVerticalHeaderLabels(labels);
    for (int r = 0; r < labels.size(); ++r)
        view->verticalHeaderItem(r)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

QLabel *noteLabel()
{
    auto *l = new QLabel;
    l->setWordWrap(true);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, QColor(80, 80, 80));
    l->setPalette(pal);
    return l;
}

// A tab with a read-only table and the note under it.
QWidget *viewTab(QTableWidget *view, QLabel *note)
{
    auto *w = new QWidget;
    auto *l = new QVBoxLayout(w);
    l->setContentsMargins(6, 6, 6, 6);
    l->addWidget(view, 1);
    l->addWidget(note);
    return w;
}

QString money(double v)
{
    return FormattaImporto(v);
}

// What keeps the value from being computed: each message wraps, and the list
// is as tall as its messages for the width it is given, up to five lines or
// its first message whole (it scrolls beyond).
class IssuesList : public QListWidget {
public:
    explicit IssuesList(QWidget *parent) : QListWidget(parent)
    {
        setWordWrap(true);
        setTextElideMode(Qt::ElideNone);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setResizeMode(QListView::Adjust);
        setUniformItemSizes(false);
        QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
    }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override
    {
        const int frame = 2 * frameWidth();
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.features |= QStyleOptionViewItem::WrapText;
        option.rect = QRect(0, 0, std::max(1, width - frame - 2 * spacing()), 1);
        int h = 0;
        int first = 0;
        for (int r = 0; r < count(); ++r) {
            const int item = itemDelegate()->sizeHint(option, model()->index(r, 0)).height() + 2 * spacing();
            h += item;
            if (r == 0)
                first = item;
        }
        // Many short messages scroll in five lines, so the tables keep their
        // room; one long message is shown whole.
        const int oneLine = fontMetrics().lineSpacing() + 4;
        const int cap = std::min(std::max(first, 5 * oneLine), std::max(5 * oneLine, window()->height() / 3));
        return frame + std::clamp(h, oneLine, cap);
    }
    QSize sizeHint() const override { return {QListWidget::sizeHint().width(), heightForWidth(width())}; }
    QSize minimumSizeHint() const override { return {QListWidget::minimumSizeHint().width(), heightForWidth(width())}; }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QListWidget::resizeEvent(event);
        // The messages wrap again at the new width.
        scheduleDelayedItemsLayout();
    }
};

} // namespace

McaWindow::McaWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("StimaMCAForm"));
    setWindowTitle(QStringLiteral("Stima per confronto di mercato (MCA)"));
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(kFontPoints);
    setFont(f);
    setMinimumSize(800, 600);
    resize(1020, 740);

    const auto button = [this](const char *name, const QString &text, const QString &hint) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        setHint(b, hint);
        return b;
    };
    addButton = button("AggiungiComparabile", QStringLiteral("Aggiungi comparabile"),
                       QStringLiteral("|Aggiunge una colonna per un altro comparabile (al massimo 10)."));
    removeButton = button("RimuoviComparabile", QStringLiteral("Rimuovi comparabile"),
                          QStringLiteral("|Rimuove il comparabile della colonna selezionata."));
    proposeButton = button("ProponiSoggetto", QStringLiteral("Proponi il soggetto dalle pagine"),
                           QStringLiteral("|Riprende i dati del soggetto dalle superfici, dalla descrizione e dalle "
                                          "caratteristiche tipologiche."));
    printButton = button("StampaMCA", QStringLiteral("Stampa…"), QStringLiteral("|Stampa la stima per confronto di mercato."));
    rtfButton = button("EsportaRtfMCA", QStringLiteral("Esporta RTF…"),
                       QStringLiteral("|Esporta la stima per confronto di mercato in formato Word compatibile."));
    pdfButton = button("EsportaPdfMCA", QStringLiteral("Esporta PDF…"),
                       QStringLiteral("|Esporta la stima per confronto di mercato in formato PDF."));
    subjectSurfacesCombo = new QComboBox(this);
    subjectSurfacesCombo->setObjectName(QStringLiteral("SuperficiSoggetto"));
    for (const char *choice : kSubjectSurfaces)
        subjectSurfacesCombo->addItem(QString::fromUtf8(choice));
    setHint(subjectSurfacesCombo,
            QStringLiteral("|Da dove si propongono le superfici del soggetto: dai vani della tabella delle superfici, "
                           "o la superficie catastale (che comprende già gli accessori, le cui superfici sono 0)."));
    auto *subjectSurfacesLabel = new QLabel(QStringLiteral("Superfici del soggetto:"), this);
    subjectSurfacesLabel->setBuddy(subjectSurfacesCombo);
    auto *bar = new QHBoxLayout;
    bar->setSpacing(6);
    for (QPushButton *b : {addButton, removeButton, proposeButton})
        bar->addWidget(b);
    bar->addStretch(1);
    for (QPushButton *b : {printButton, rtfButton, pdfButton})
        bar->addWidget(b);

    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("McaSchede"));
    dataTable = new McaDataTable;
    parameters = new McaParametersPanel;
    const auto padded = [](QWidget *inner) {
        auto *w = new QWidget;
        auto *l = new QVBoxLayout(w);
        l->setContentsMargins(6, 6, 6, 6);
        l->addWidget(inner);
        return w;
    };
    auto *dataNote = noteLabel();
    dataNote->setText(QStringLiteral("Per ogni comparabile: mese e anno della vendita (per esempio 03/2024), prezzo in "
                                     "euro, superfici in m² con la virgola per i decimali, piano (0 per il piano terra), "
                                     "stato di manutenzione da 1 (scadente) a 5 (ottimo). Il soggetto è proposto dalle "
                                     "pagine della stima e si può modificare."));
    auto *dataTab = new QWidget;
    auto *dataLayout = new QVBoxLayout(dataTab);
    dataLayout->setContentsMargins(6, 6, 6, 6);
    auto *subjectSurfaces = new QHBoxLayout;
    subjectSurfaces->addWidget(subjectSurfacesLabel);
    subjectSurfaces->addWidget(subjectSurfacesCombo);
    subjectSurfaces->addStretch(1);
    dataLayout->addLayout(subjectSurfaces);
    dataLayout->addWidget(dataTable, 1);
    dataLayout->addWidget(dataNote);
    tabs->addTab(dataTab, QStringLiteral("Dati"));
    // The parameters scroll rather than squeeze in a small window.
    auto *parametersScroll = new QScrollArea;
    parametersScroll->setObjectName(QStringLiteral("McaParametriScorrimento"));
    parametersScroll->setWidgetResizable(true);
    parametersScroll->setFrameShape(QFrame::NoFrame);
    parametersScroll->setWidget(padded(parameters));
    tabs->addTab(parametersScroll, QStringLiteral("Parametri"));
    marginalView = makeView(QStringLiteral("McaPrezziMarginali"));
    valuationView = makeView(QStringLiteral("McaValutazione"));
    fitView = makeView(QStringLiteral("McaComparazioneDiretta"));
    QLabel *marginalNote = noteLabel();
    QLabel *valuationNote = noteLabel();
    marginalNote->setObjectName(QStringLiteral("McaNotaPrezziMarginali"));
    valuationNote->setObjectName(QStringLiteral("McaNotaValutazione"));
    tabs->addTab(viewTab(marginalView, marginalNote), QStringLiteral("Prezzi marginali"));
    tabs->addTab(viewTab(valuationView, valuationNote), QStringLiteral("Valutazione"));
    fitSummary = noteLabel();
    fitSummary->setObjectName(QStringLiteral("McaSintesiComparazione"));
    auto *fitTab = new QWidget;
    auto *fitLayout = new QVBoxLayout(fitTab);
    fitLayout->setContentsMargins(6, 6, 6, 6);
    auto *fitIntro = noteLabel();
    fitIntro->setText(QStringLiteral("La comparazione diretta della pagina dei risultati, spiegata: per ogni immobile "
                                     "di confronto completo, lo scarto dalla retta dei minimi quadrati e il valore "
                                     "unitario che si otterrebbe senza di esso."));
    fitLayout->addWidget(fitIntro);
    fitLayout->addWidget(fitView, 1);
    fitLayout->addWidget(fitSummary);
    tabs->addTab(fitTab, QStringLiteral("Comparazione diretta"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(6);
    layout->addLayout(bar);
    layout->addWidget(tabs, 1);
    layout->addWidget(buildResultsPanel());

    connect(addButton, &QPushButton::clicked, this, [this] {
        if (dataTable->comparableCount() < mca::kMaxComparables)
            dataTable->addComparable();
    });
    connect(removeButton, &QPushButton::clicked, this, &McaWindow::RimuoviComparabileClick);
    connect(proposeButton, &QPushButton::clicked, this, &McaWindow::proposeRequested);
    // Another source of the subject's surfaces proposes the subject again
    // (asking first when the user wrote in its column).
    connect(subjectSurfacesCombo, &QComboBox::activated, this, [this](int index) {
        const bool cadastral = index == 1;
        if (cadastral == m_sheet.cadastralSubject)
            return;
        m_sheet.cadastralSubject = cadastral;
        Q_EMIT proposeRequested();
        recompute();
        Q_EMIT sheetEdited();
    });
    connect(printButton, &QPushButton::clicked, this, &McaWindow::StampaClick);
    connect(rtfButton, &QPushButton::clicked, this, &McaWindow::EsportaRtfClick);
    connect(pdfButton, &QPushButton::clicked, this, &McaWindow::EsportaPdfClick);
    connect(dataTable, &McaDataTable::edited, this, [this](int column) {
        readFromWidgets();
        if (column == 0)
            m_sheet.subjectEdited = true;
        recompute();
        Q_EMIT sheetEdited();
    });
    connect(parameters, &McaParametersPanel::edited, this, [this] {
        readFromWidgets();
        recompute();
        Q_EMIT sheetEdited();
    });
    connect(issuesList, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        focusIssue(issuesList->row(item));
    });
    connect(issuesList, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        focusIssue(issuesList->row(item));
    });
    m_context.valuationDate = QDate::currentDate();
    setSheet(mca::Sheet::blank());
}

McaWindow::~McaWindow()
{
    // An editor still open commits its text while the window closes, after
    // this part of it is gone.
    dataTable->disconnect(this);
    parameters->disconnect(this);
}

QWidget *McaWindow::buildResultsPanel()
{
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("McaRisultato"));
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, QColor(246, 248, 252));
    panel->setPalette(pal);
    panel->setAutoFillBackground(true);

    auto *caption = new QLabel(QStringLiteral("Valore di mercato (MCA)"), panel);
    QPalette navy = caption->palette();
    navy.setColor(QPalette::WindowText, QColor(kNavy));
    caption->setPalette(navy);
    valueLabel = new QLabel(panel);
    valueLabel->setObjectName(QStringLiteral("McaValore"));
    QFont big = font();
    big.setPointSize(kFontPoints + 7);
    big.setBold(true);
    valueLabel->setFont(big);
    valueLabel->setPalette(navy);
    valueLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    detailLabel = new QLabel(panel);
    detailLabel->setObjectName(QStringLiteral("McaDettaglio"));
    detailLabel->setWordWrap(true);
    detailLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    warningLabel = new QLabel(panel);
    warningLabel->setObjectName(QStringLiteral("McaAvviso"));
    QPalette red = warningLabel->palette();
    red.setColor(QPalette::WindowText, QColor(170, 0, 0));
    warningLabel->setPalette(red);
    QFont boldFont = font();
    boldFont.setBold(true);
    warningLabel->setFont(boldFont);
    othersLabel = new QLabel(panel);
    othersLabel->setObjectName(QStringLiteral("McaAltriValori"));
    othersLabel->setWordWrap(true);
    othersLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    issuesList = new IssuesList(panel);
    issuesList->setObjectName(QStringLiteral("McaProblemi"));
    QPalette listPal = issuesList->palette();
    listPal.setColor(QPalette::Text, QColor(150, 0, 0));
    issuesList->setPalette(listPal);

    auto *left = new QVBoxLayout;
    left->setSpacing(2);
    left->addWidget(caption);
    left->addWidget(valueLabel);
    left->addWidget(detailLabel);
    left->addWidget(warningLabel);
    left->addStretch(1);
    auto *row = new QHBoxLayout;
    row->addLayout(left, 3);
    auto *sep = new QFrame(panel);
    sep->setFrameShape(QFrame::VLine);
    sep->setFrameShadow(QFrame::Sunken);
    row->addWidget(sep);
    row->addWidget(othersLabel, 2, Qt::AlignTop);
    auto *l = new QVBoxLayout(panel);
    l->setContentsMargins(10, 8, 10, 8);
    l->addLayout(row);
    l->addWidget(issuesList);
    return panel;
}

void McaWindow::setSheet(const mca::Sheet &sheet)
{
    m_sheet = sheet;
    {
        const QSignalBlocker block(subjectSurfacesCombo);
        subjectSurfacesCombo->setCurrentIndex(m_sheet.cadastralSubject ? 1 : 0);
    }
    dataTable->showSheet(m_sheet, m_context.valuationDate);
    parameters->showSheet(m_sheet);
    recompute();
}

void McaWindow::proposeSubject(const mca::SheetColumn &subject)
{
    m_sheet.subject = subject;
    m_sheet.subjectEdited = false;
    dataTable->setSubject(subject);
    recompute();
}

void McaWindow::offerSubject(const mca::SheetColumn &proposed)
{
    if (!m_sheet.subjectEdited) {
        proposeSubject(proposed);
        return;
    }
    const mca::SubjectProposal taken = mca::takeProposal(m_sheet.subject, proposed);
    if (!taken.overwritten.isEmpty()) {
        QStringList rows;
        for (mca::Row r : taken.overwritten)
            rows << QString::fromUtf8(mca::rowDef(r).label);
        const QString question = QStringLiteral("Sostituire con i dati delle pagine i valori scritti nella colonna del "
                                                "soggetto?\nCambierebbero: %1.")
                                     .arg(rows.join(QStringLiteral(", ")));
        if (Messages::question(this, question, false) != Answer::Yes)
            return;
    }
    // Written values the pages have nothing for stay, and keep the column
    // the user's.
    const bool edited = !(taken.column == proposed);
    if (taken.column == m_sheet.subject && edited == m_sheet.subjectEdited)
        return;
    m_sheet.subject = taken.column;
    m_sheet.subjectEdited = edited;
    dataTable->setSubject(taken.column);
    recompute();
    Q_EMIT sheetEdited();
}

void McaWindow::setContext(const report::McaContext &context)
{
    m_context = context;
    dataTable->setValuationDate(context.valuationDate);
    dataTable->setSubjectAddress(report::subjectAddress(context));
    recompute();
}

report::McaDocument McaWindow::document(int columnsPerTable) const
{
    return report::buildMcaDocument(m_sheet, m_context, columnsPerTable);
}

void McaWindow::readFromWidgets()
{
    const bool edited = m_sheet.subjectEdited;
    dataTable->readInto(m_sheet);
    parameters->readInto(m_sheet);
    m_sheet.subjectEdited = edited;
}

void McaWindow::recompute()
{
    m_outcome = mca::evaluate(m_sheet, m_context.valuationDate);
    m_document = report::buildMcaDocument(m_sheet, m_context);
    dataTable->markIssues(m_outcome.issues);
    parameters->markIssues(m_outcome.issues);
    QStringList surfaces;
    if (m_outcome.result) {
        surfaces << money(m_outcome.result->subjectCommercialSurface);
        for (const mca::ComparableResult &c : m_outcome.result->comparables)
            surfaces << money(c.commercialSurface);
    }
    dataTable->showCommercialSurfaces(surfaces);
    showResults();
    updateButtons();
}

void McaWindow::showResults()
{
    const report::McaTable *marginal = tableTitled(m_document, QStringLiteral("Tabella dei prezzi marginali"));
    const report::McaTable *valuation = tableTitled(m_document, QStringLiteral("Tabella di valutazione"));
    const report::McaTable *fit = tableTitled(m_document, QStringLiteral("Comparazione diretta"));
    fillView(marginalView, marginal);
    fillView(valuationView, valuation);
    fillView(fitView, fit);
    const QString noResult = QStringLiteral("Nessun risultato: correggere i dati segnalati in basso.");
    findChild<QLabel *>(QStringLiteral("McaNotaPrezziMarginali"))->setText(marginal ? marginal->note : noResult);
    findChild<QLabel *>(QStringLiteral("McaNotaValutazione"))->setText(valuation ? valuation->note : noResult);
    fitSummary->setText(fit ? fit->note
                            : QStringLiteral("Nessun immobile di confronto completo nella pagina \"Immobili di confronto\"."));

    const bool lire = m_context.lire;
    issuesList->clear();
    if (m_outcome.hasValue()) {
        const mca::Result &r = *m_outcome.result;
        valueLabel->setText(report::euroText(r.value));
        QString detail = QStringLiteral("%1 €/m² su %2 m² commerciali · divergenza %3 % (soglia %4 %)")
                             .arg(money(r.unitValue), money(r.subjectCommercialSurface), money(r.divergence),
                                  money(mca::readNumberText(m_sheet.param(mca::Param::Threshold)).value));
        if (lire)
            detail += QStringLiteral("\nIn Lire: %1 Lire").arg(money(r.value * kFattoreLire));
        if (r.systemUsed)
            detail += r.systemStatus == SystemSolution::Status::Exact
                          ? QStringLiteral("\nSistema di stima: soluzione esatta.")
                          : QStringLiteral("\nSistema di stima: soluzione ai minimi quadrati (scarti nella valutazione).");
        detailLabel->setText(detail);
        warningLabel->setText(r.beyondThreshold ? QStringLiteral("Attenzione: ") + mca::kDivergenceWarning : QString());
    } else {
        valueLabel->setText(QStringLiteral("—"));
        detailLabel->setText(QStringLiteral("Nessun valore: correggere i dati segnalati."));
        warningLabel->clear();
        for (const mca::Issue &i : m_outcome.issues)
            issuesList->addItem(mca::placeText(i.place) + QStringLiteral(": ") + i.message);
    }
    warningLabel->setVisible(!warningLabel->text().isEmpty());
    issuesList->setVisible(issuesList->count() > 0);
    issuesList->updateGeometry();

    const auto other = [&](const QString &name, const QString &total, const QString &unit) {
        const QString t = report::pageAmountInEuro(total, lire);
        if (t.isEmpty())
            return QStringLiteral("<tr><td>%1:</td><td align=right><i>non calcolato</i></td></tr>").arg(name);
        const QString u = report::pageAmountInEuro(unit, lire);
        return QStringLiteral("<tr><td>%1:</td><td align=right>%2</td><td align=right>&nbsp;&nbsp;%3/m²</td></tr>")
            .arg(name, t, u.isEmpty() ? QStringLiteral("-") : u);
    };
    // The OMI band, when the appraisal has one, under the other values.
    QString omi;
    for (const QString &line : m_context.omiBand)
        omi += QStringLiteral("<tr><td colspan=3>%1</td></tr>").arg(line.toHtmlEscaped());
    othersLabel->setText(QStringLiteral("<b>%1</b><table cellspacing=2>%2%3%4</table>")
                             .arg(lire ? QStringLiteral("Altri procedimenti (in euro, dalla pagina dei risultati)")
                                       : QStringLiteral("Altri procedimenti (dalla pagina dei risultati)"),
                                  other(QStringLiteral("Capitalizzazione dei redditi"), m_context.incomeTotal,
                                        m_context.incomeUnit),
                                  other(QStringLiteral("Comparazione diretta"), m_context.comparisonTotal,
                                        m_context.comparisonUnit),
                                  omi));
}

void McaWindow::updateButtons()
{
    addButton->setEnabled(dataTable->comparableCount() < mca::kMaxComparables);
    removeButton->setEnabled(dataTable->comparableCount() > 0);
}

void McaWindow::focusIssue(int row)
{
    if (row < 0 || row >= m_outcome.issues.size())
        return;
    const mca::Place &place = m_outcome.issues[row].place;
    switch (place.kind) {
    case mca::Place::Kind::Cell:
        tabs->setCurrentIndex(0);
        dataTable->setCurrentCell(McaDataTable::tableRow(place.row), place.column);
        dataTable->setFocus();
        break;
    case mca::Place::Kind::Parameter:
        tabs->setCurrentIndex(1);
        parameters->fields[std::size_t(place.param)]->setFocus();
        parameters->fields[std::size_t(place.param)]->selectAll();
        break;
    case mca::Place::Kind::Comparables:
        tabs->setCurrentIndex(0);
        addButton->setFocus();
        break;
    case mca::Place::Kind::Unknowns:
        tabs->setCurrentIndex(1);
        parameters->unknown[0]->setFocus();
        break;
    }
}

bool McaWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        Q_EMIT activated();
    return QWidget::event(event);
}

void McaWindow::RimuoviComparabileClick()
{
    const int column = dataTable->columnToRemove();
    if (column < 1)
        return;
    // As the table shows it now, a cell being typed in included.
    mca::Sheet shown;
    dataTable->readInto(shown);
    const bool empty = column - 1 >= shown.comparables.size() || shown.comparables[column - 1].isBlank();
    if (!empty
        && Messages::question(this, QStringLiteral("Rimuovere il comparabile %1 con i suoi dati?").arg(column), false)
               != Answer::Yes)
        return;
    dataTable->removeComparable(column);
}

void McaWindow::StampaClick()
{
    QPrinter *printer = m_testPrinter;
    std::unique_ptr<QPrinter> chosen;
    if (!printer) {
        chosen = std::make_unique<QPrinter>(QPrinter::HighResolution);
        QPrintDialog dialog(chosen.get(), this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        printer = chosen.get();
    }
    printer->setDocName(QStringLiteral("Stima MCA"));
    if (!report::renderMcaDocument(printer, document(report::kPrintedColumns)))
        Messages::error(this, QStringLiteral("Impossibile stampare la stima per confronto di mercato."));
}

void McaWindow::EsportaRtfClick()
{
    FileDialogRequest request;
    request.title = QStringLiteral("Esporta stima MCA in formato Word compatibile");
    request.filter = fileFilter(QStringLiteral("Documento RTF (*.rtf)|*.rtf"));
    request.directory = QDir::currentPath();
    request.suggested = QStringLiteral("Stima MCA.rtf");
    request.save = true;
    request.defaultSuffix = QStringLiteral("rtf");
    const QString path = Messages::fileName(this, request);
    if (path.isEmpty())
        return;
    const QByteArray rtf = report::mcaRtf(document(report::kPrintedColumns));
    QString why;
    if (!files::writeWholeFile(path, rtf, &why))
        Messages::error(this, QStringLiteral("Impossibile scrivere il file \"%1\":\n%2").arg(QDir::toNativeSeparators(path), why));
}

void McaWindow::EsportaPdfClick()
{
    FileDialogRequest request;
    request.title = QStringLiteral("Esporta stima MCA in formato PDF");
    request.filter = fileFilter(QStringLiteral("Documento PDF (*.pdf)|*.pdf"));
    request.directory = QDir::currentPath();
    request.suggested = QStringLiteral("Stima MCA.pdf");
    request.save = true;
    request.defaultSuffix = QStringLiteral("pdf");
    const QString path = Messages::fileName(this, request);
    if (path.isEmpty())
        return;
    QString error;
    if (!report::writeMcaPdf(path, document(report::kPrintedColumns), &error))
        Messages::error(this, error);
}

} // namespace brevan::ui
