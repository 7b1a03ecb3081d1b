// SPDX-License-Identifier: GPL-2.0-or-later
#include "omiwindow.h"

#include "pagekit.h"

#include "omi/omitables.h"
#include "report/omicontent.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace brevan::ui {

namespace {

// Sets a combo to the item whose data is value, adding it when the list
// lacks it (a choice saved elsewhere, with other quotations at hand).
void select(QComboBox *combo, const QString &value, const QString &shown = {})
{
    const QSignalBlocker block(combo);
    int at = combo->findData(value);
    if (at < 0 && !value.isEmpty()) {
        combo->addItem(shown.isEmpty() ? value : shown, value);
        at = combo->count() - 1;
    }
    combo->setCurrentIndex(std::max(0, at));
}

QString itemText(const QPair<QString, QString> &item)
{
    return item.second.isEmpty() ? item.first : item.first + QStringLiteral(" - ") + item.second;
}

} // namespace

OmiBandView::OmiBandView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("OmiDisegno"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

void OmiBandView::setOutcome(const omiband::Outcome &outcome)
{
    m_outcome = outcome;
    updateGeometry();
    update();
}

QSize OmiBandView::sizeHint() const
{
    const int values = std::max<int>(1, int(m_outcome.values.size()));
    return {640, int(report::omiBandHeight(font(), values)) + 16};
}

void OmiBandView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!m_outcome.hasBand()) {
        p.setPen(QColor(120, 120, 120));
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("Nessuna fascia da disegnare."));
        return;
    }
    report::paintOmiBand(p, QRectF(rect()).adjusted(8, 8, -8, -8), m_outcome, font());
}

OmiWindow::OmiWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("ConfrontoOMIForm"));
    setWindowTitle(QStringLiteral("Confronto con le quotazioni OMI"));
    setFont(pageFont());

    semesterCombo = new QComboBox(this);
    semesterCombo->setObjectName(QStringLiteral("OmiSemestre"));
    zoneCombo = new QComboBox(this);
    zoneCombo->setObjectName(QStringLiteral("OmiZona"));
    zoneCombo->setMinimumContentsLength(40);
    zoneCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    typeCombo = new QComboBox(this);
    typeCombo->setObjectName(QStringLiteral("OmiTipologia"));
    stateCombo = new QComboBox(this);
    stateCombo->setObjectName(QStringLiteral("OmiStato"));
    stateCombo->addItem(QString(), QString());
    for (const QString &s : omi::states())
        stateCombo->addItem(s, s);
    floorCombo = new QComboBox(this);
    floorCombo->setObjectName(QStringLiteral("OmiPiano"));
    floorCombo->addItem(QString(), QString());
    for (const omiband::FloorClass &f : omiband::floorClasses())
        floorCombo->addItem(QString::fromUtf8(f.label), QString::fromUtf8(f.label));
    setHint(zoneCombo, QStringLiteral("Zona OMI|La zona OMI dell'unità, fra quelle importate per il Comune."));
    setHint(typeCombo, QStringLiteral("Tipologia|La tipologia edilizia OMI, proposta dalla categoria catastale."));
    setHint(stateCombo, QStringLiteral("Stato conservativo|Lo stato OMI, proposto dallo stato di conservazione "
                                       "interno."));
    setHint(floorCombo, QStringLiteral("Piano|Il piano dell'unità, che dà il coefficiente K2 del valore normale."));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Semestre:"), semesterCombo);
    form->addRow(QStringLiteral("Zona OMI:"), zoneCombo);
    form->addRow(QStringLiteral("Tipologia:"), typeCombo);
    form->addRow(QStringLiteral("Stato conservativo:"), stateCombo);
    form->addRow(QStringLiteral("Piano (per K2):"), floorCombo);

    offerLabel = new QLabel(this);
    offerLabel->setObjectName(QStringLiteral("OmiProvenienza"));
    offerLabel->setWordWrap(true);
    detailLabel = new QLabel(this);
    detailLabel->setObjectName(QStringLiteral("OmiDettaglio"));
    detailLabel->setWordWrap(true);
    detailLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    detailLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    bandView = new OmiBandView(this);
    sourceLabel = new QLabel(omiband::kOmiSource, this);
    sourceLabel->setObjectName(QStringLiteral("OmiFonte"));
    QFont italic = sourceLabel->font();
    italic.setItalic(true);
    sourceLabel->setFont(italic);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(offerLabel);
    layout->addWidget(detailLabel);
    layout->addWidget(bandView);
    layout->addStretch(1);
    layout->addWidget(sourceLabel);
    resize(760, 640);

    for (QComboBox *c : {semesterCombo, zoneCombo, typeCombo, stateCombo, floorCombo})
        connect(c, &QComboBox::activated, this, [this] { Q_EMIT choiceEdited(); });
}

void OmiWindow::setOffer(const Offer &offer, const omiband::Choice &shown)
{
    {
        const QSignalBlocker b1(semesterCombo), b2(zoneCombo), b3(typeCombo);
        semesterCombo->clear();
        semesterCombo->addItem(QStringLiteral("il più recente"), QString());
        for (const QString &s : offer.semesters)
            semesterCombo->addItem(s, s);
        zoneCombo->clear();
        zoneCombo->addItem(QString(), QString());
        for (const auto &z : offer.zones)
            zoneCombo->addItem(itemText(z), z.first);
        typeCombo->clear();
        typeCombo->addItem(QString(), QString());
        for (const auto &t : offer.types)
            typeCombo->addItem(itemText(t), t.first);
    }
    select(semesterCombo, shown.semester);
    select(zoneCombo, shown.zone);
    select(typeCombo, shown.type);
    select(stateCombo, shown.state);
    select(floorCombo, shown.floor);
    offerLabel->setText(offer.note);
    offerLabel->setVisible(!offer.note.isEmpty());
}

omiband::Choice OmiWindow::choice() const
{
    omiband::Choice c;
    c.semester = semesterCombo->currentData().toString();
    c.zone = zoneCombo->currentData().toString();
    c.type = typeCombo->currentData().toString();
    c.state = stateCombo->currentData().toString();
    c.floor = floorCombo->currentData().toString();
    return c;
}

void OmiWindow::setOutcome(const omiband::Outcome &outcome, const QDate &valuationDate)
{
    QString html = QStringLiteral("<table cellspacing=3 width=100%>");
    for (const report::OmiLine &line : report::omiLines(outcome, valuationDate)) {
        const QString value = line.warning ? QStringLiteral("<span style='color:#b00000'>%1</span>")
                                                 .arg(line.value.toHtmlEscaped())
                                           : line.value.toHtmlEscaped();
        if (line.label.isEmpty())
            html += QStringLiteral("<tr><td colspan=2><i>%1</i></td></tr>").arg(value);
        else
            html += QStringLiteral("<tr><td width=30%><b>%1:</b></td><td>%2</td></tr>")
                        .arg(line.label.toHtmlEscaped(), value);
    }
    html += QStringLiteral("</table>");
    detailLabel->setText(html);
    bandView->setOutcome(outcome);
}

bool OmiWindow::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        Q_EMIT activated();
    return QWidget::event(e);
}

} // namespace brevan::ui
