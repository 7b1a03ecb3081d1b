// SPDX-License-Identifier: GPL-2.0-or-later
#include "omiimportdialog.h"

#include "pagekit.h"

#include "model/numbertext.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace brevan::ui {

namespace {

std::function<bool(OmiImportDialog &)> &testHandler()
{
    static std::function<bool(OmiImportDialog &)> handler;
    return handler;
}

QString euroText(const omi::Decimal &d)
{
    return FormattaImporto(d.toDouble());
}

QTableWidgetItem *item(const QString &text, Qt::Alignment alignment = Qt::AlignCenter)
{
    auto *i = new QTableWidgetItem(text);
    i->setFlags(Qt::ItemIsEnabled);
    i->setTextAlignment(alignment | Qt::AlignVCenter);
    return i;
}

bool validYear(const QString &text)
{
    if (text.size() != 4)
        return false;
    for (QChar c : text) {
        if (!c.isDigit())
            return false;
    }
    return text.toInt() >= 1000;
}

// Why the year typed cannot be imported: too few digits, or four that name
// no year ("0000").
QString yearNote(const QString &text)
{
    if (text.size() < 4)
        return QStringLiteral("Indicare l'anno con quattro cifre.");
    return QStringLiteral("L'anno %1 non è valido.").arg(text);
}

} // namespace

OmiImportDialog::OmiImportDialog(const Setup &setup, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_setup(setup)
{
    setObjectName(QStringLiteral("OmiImportForm"));
    setWindowTitle(QStringLiteral("Importa quotazioni OMI"));
    setFont(pageFont());
    setModal(true);
    const bool rents = setup.target == OmiTarget::UnitRents;
    const omi::Quotations &q = *setup.quotations;

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(8);

    const omi::Semester semester = q.latestSemester(setup.code);
    const QString municipality = setup.provinceCode.isEmpty()
                                     ? setup.municipality
                                     : QStringLiteral("%1 (%2)").arg(setup.municipality, setup.provinceCode);
    headerLabel = new QLabel(this);
    headerLabel->setObjectName(QStringLiteral("LabelOmiHeader"));
    // The file chosen, and the one of the other kind read beside it.
    QStringList files{QFileInfo(setup.fileName).fileName()};
    for (const omi::QuotationFile &f : q.files()) {
        const QString name = QFileInfo(f.path).fileName();
        if (!files.contains(name))
            files << name;
    }
    headerLabel->setText(
        QStringLiteral("<b>Comune di %1</b>, codice catastale %2<br>"
                       "Quotazioni OMI del semestre %3, file %4<br>"
                       "<span style=\"color:#555\">Fonte: Agenzia Entrate - OMI</span>")
            .arg(municipality.toHtmlEscaped(), setup.code,
                 semester.isKnown() ? semester.text() : QStringLiteral("non indicato"),
                 files.join(QStringLiteral(" e ")).toHtmlEscaped()));
    layout->addWidget(headerLabel);

    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    typeCombo = new QComboBox(this);
    typeCombo->setObjectName(QStringLiteral("ComboBoxOmiTipologia"));
    const QVector<QPair<int, QString>> types = q.typesOf(setup.code);
    for (const auto &[code, name] : types)
        typeCombo->addItem(QStringLiteral("%1 - %2").arg(code).arg(name), code);
    if (typeCombo->findData(setup.defaultType) < 0)
        typeCombo->addItem(QStringLiteral("%1 - non quotata per questo Comune").arg(setup.defaultType),
                           setup.defaultType);
    typeCombo->setCurrentIndex(typeCombo->findData(setup.defaultType));

    stateCombo = new QComboBox(this);
    stateCombo->setObjectName(QStringLiteral("ComboBoxOmiStato"));
    stateCombo->addItems(omi::states());
    stateCombo->setCurrentText(omi::kStateNormal);

    // The rent lookup matches the valuation year: a valuation later than the
    // semester is offered its own year, and that is the first choice.
    yearCombo = makeEditableCombo(this);
    yearCombo->setObjectName(QStringLiteral("ComboBoxOmiAnno"));
    installKeyFilter(yearCombo, KeyFilter::Integers);
    yearCombo->lineEdit()->setMaxLength(4);
    QStringList years;
    if (setup.valuationYear > semester.year)
        years << QString::number(setup.valuationYear);
    if (semester.year > 0)
        years << QString::number(semester.year);
    else if (setup.valuationYear > 0 && years.isEmpty())
        years << QString::number(setup.valuationYear);
    yearCombo->addItems(years);
    if (!years.isEmpty())
        yearCombo->setCurrentIndex(0);

    if (rents) {
        form->addRow(QStringLiteral("Tipologia:"), typeCombo);
        form->addRow(QStringLiteral("Stato:"), stateCombo);
        form->addRow(QStringLiteral("Anno:"), yearCombo);
        layout->addLayout(form);
    } else {
        delete form;
        typeCombo->hide();
        stateCombo->hide();
        yearCombo->hide();
    }

    preview = new QTableWidget(this);
    preview->setObjectName(QStringLiteral("GridOmiAnteprima"));
    preview->verticalHeader()->hide();
    preview->verticalHeader()->setDefaultSectionSize(20);
    preview->setFocusPolicy(Qt::NoFocus);
    preview->setSelectionMode(QAbstractItemView::NoSelection);
    preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    preview->horizontalHeader()->setStretchLastSection(true);
    preview->setMinimumSize(rents ? 620 : 520, 200);
    layout->addWidget(preview, 1);

    noteLabel = new QLabel(this);
    noteLabel->setObjectName(QStringLiteral("LabelOmiNote"));
    noteLabel->setWordWrap(true);
    layout->addWidget(noteLabel);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    okButton = new QPushButton(QStringLiteral("&OK"), this);
    okButton->setObjectName(QStringLiteral("BitBtnOK"));
    cancelButton = new QPushButton(QStringLiteral("&Annulla"), this);
    cancelButton->setObjectName(QStringLiteral("BitBtnAnnulla"));
    okButton->setDefault(true);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    layout->addLayout(buttons);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    connect(typeCombo, &QComboBox::currentIndexChanged, this, &OmiImportDialog::refresh);
    connect(stateCombo, &QComboBox::currentIndexChanged, this, &OmiImportDialog::refresh);
    connect(yearCombo, &QComboBox::currentTextChanged, this, &OmiImportDialog::refresh);
    refresh();
}

omi::Options OmiImportDialog::options() const
{
    omi::Options o;
    o.type = typeCombo->currentData().toInt();
    o.state = stateCombo->currentText();
    const QString year = yearCombo->currentText().trimmed();
    o.year = validYear(year) ? year.toInt() : -1;
    return o;
}

omi::TextRows OmiImportDialog::result() const
{
    return m_result;
}

void OmiImportDialog::refresh()
{
    if (m_setup.target == OmiTarget::Zones)
        fillZones();
    else
        fillRents();
}

void OmiImportDialog::fillZones()
{
    const QVector<omi::PlannedZone> zones = m_setup.quotations->zonesOf(m_setup.code);
    const omi::ZoneMerge merge = omi::mergeZones(m_setup.existing, zones);
    m_result = merge.rows;

    preview->clear();
    preview->setColumnCount(3);
    preview->setHorizontalHeaderLabels({QStringLiteral("Zona urbana"), QStringLiteral("Centralità"), QString()});
    preview->setRowCount(int(zones.size()));
    for (int r = 0; r < zones.size(); ++r) {
        bool known = false;
        for (const QStringList &row : m_setup.existing)
            known = known || row.value(2).trimmed() == zones.at(r).name;
        preview->setItem(r, 0, item(zones.at(r).name, Qt::AlignLeft));
        preview->setItem(r, 1, item(zones.at(r).centrality));
        preview->setItem(r, 2, item(known ? QStringLiteral("già presente: saggio e giudizi restano")
                                          : QStringLiteral("nuova"),
                                    Qt::AlignLeft));
    }
    preview->resizeColumnsToContents();
    preview->setColumnWidth(0, std::max(preview->columnWidth(0), 230));
    noteLabel->setText(
        QStringLiteral("Zone nuove: %1; zone già presenti: %2. Saggio medio e giudizi sono da completare. ")
            .arg(merge.added)
            .arg(merge.updated)
        + salesNote());
    okButton->setEnabled(!zones.isEmpty());
}

void OmiImportDialog::fillRents()
{
    const omi::Options o = options();
    omi::RentPlan plan;
    if (o.year > 0)
        plan = m_setup.quotations->rentsOf(m_setup.code, o);
    const omi::RentMerge merge = omi::mergeRents(m_setup.existing, plan.rows);
    m_result = merge.rows;

    preview->clear();
    const QStringList titles{QStringLiteral("Anno"),
                             QStringLiteral("Centralità"),
                             QStringLiteral("Canone min. (Lire/mq)"),
                             QStringLiteral("Canone max. (Lire/mq)"),
                             QStringLiteral("Da OMI (Euro/mq)"),
                             QString()};
    preview->setColumnCount(int(titles.size()));
    preview->setHorizontalHeaderLabels(titles);
    preview->setRowCount(int(plan.rows.size()));
    for (int r = 0; r < plan.rows.size(); ++r) {
        const omi::PlannedRent &rent = plan.rows.at(r);
        bool replaces = false;
        for (const QStringList &row : m_setup.existing)
            replaces = replaces || (row.value(0).trimmed() == QString::number(rent.year)
                                    && row.value(3).trimmed() == rent.centrality);
        preview->setItem(r, 0, item(QString::number(rent.year)));
        preview->setItem(r, 1, item(rent.centrality));
        preview->setItem(r, 2, item(rent.minLire()));
        preview->setItem(r, 3, item(rent.maxLire()));
        preview->setItem(r, 4, item(euroText(rent.min) + QStringLiteral(" - ") + euroText(rent.max)));
        preview->setItem(r, 5, item(replaces ? QStringLiteral("sostituisce la riga dell'anno")
                                             : QStringLiteral("nuova"),
                                    Qt::AlignLeft));
    }
    preview->resizeColumnsToContents();

    QStringList notes;
    if (o.year <= 0)
        notes << yearNote(yearCombo->currentText().trimmed());
    else if (plan.rows.isEmpty())
        notes << QStringLiteral("Nessun canone per la tipologia e lo stato scelti.");
    if (plan.emptyRents > 0)
        notes << QStringLiteral("Quotazioni senza canone (vuoto o pari a 0) non considerate: %1.").arg(plan.emptyRents);
    if (plan.zonesWithoutType > 0)
        notes << QStringLiteral("Zone senza quotazioni della tipologia scelta: %1.").arg(plan.zonesWithoutType);
    if (!plan.rows.isEmpty())
        notes << QStringLiteral("Per ogni centralità: il minimo dei canoni minimi e il massimo dei massimi delle sue "
                                "zone, convertiti in Lire a 1936,27.");
    if (o.year > 0)
        notes << salesNote();
    noteLabel->setText(notes.join(u' '));
    okButton->setEnabled(!plan.rows.isEmpty());
}

QString OmiImportDialog::salesNote() const
{
    const omi::SalePlan sales = m_setup.quotations->salesOf(m_setup.code);
    return QStringLiteral("Quotazioni di compravendita tenute (salvate con OK): %1; scartate %2 con minimo oltre il "
                          "massimo, pari a 0 o vuote.")
        .arg(sales.rows.size())
        .arg(sales.badRanges);
}

bool OmiImportDialog::ask()
{
    if (testHandler())
        return testHandler()(*this) && okButton->isEnabled();
    return exec() == QDialog::Accepted;
}

void OmiImportDialog::setTestHandler(std::function<bool(OmiImportDialog &)> handler)
{
    testHandler() = std::move(handler);
}

} // namespace brevan::ui
