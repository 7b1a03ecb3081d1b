// SPDX-License-Identifier: GPL-2.0-or-later
#include "resultspage.h"

#include "model/currency.h"

#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>

#include <algorithm>

namespace brevan::ui {

namespace {

// The values group: its right margin is 15 pixels in all, the row captions
// take the first 146, and the unit fields and the total fields are 6 apart,
// which puts the total fields at field width + 152.
constexpr int kSideMargin = 7;
constexpr int kGroupMargin = 15;
constexpr int kUnitLeft = 146;
constexpr int kTotalOffset = 152;
constexpr int kSpareForLabels = 160;
constexpr int kRowCaptionLeft = 8;
// Laid out for a page 420 wide (the smallest main window), where a group of
// 405 gives the fields exactly this width and the first resize keeps it.
constexpr int kDesignFieldWidth = 122;
constexpr int kDesignPageWidth = 420;
constexpr int kDesignPageHeight = 380;

constexpr int kToolRowHeight = 26;
constexpr int kEditHeight = 21;
constexpr int kColumnCaptionTop = 17;
constexpr int kFirstRowTop = 33;
constexpr int kRowPitch = 25;
constexpr int kGroupHeight = kFirstRowTop + kRowPitch + kEditHeight + 8;
constexpr int kGap = 4;

QIcon drawnIcon(void (*draw)(QPainter &))
{
    QIcon icon;
    for (qreal ratio : {1.0, 2.0}) {
        QPixmap pm(QSize(16, 16) * ratio);
        pm.setDevicePixelRatio(ratio);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

void drawSheet(QPainter &p, const QRectF &r)
{
    QPainterPath path;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - 3, r.top());
    path.lineTo(r.right(), r.top() + 3);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawPath(path);
}

void drawExport(QPainter &p)
{
    drawSheet(p, QRectF(2.5, 1.5, 10, 13));
    p.setPen(QPen(QColor(40, 80, 170), 1));
    for (int y : {5, 7, 9, 11})
        p.drawLine(QPointF(4.5, y + 0.5), QPointF(10.5, y + 0.5));
    // Arrow leaving the document.
    p.setPen(QPen(QColor(0, 130, 0), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(9, 11), QPointF(15, 11));
    p.drawLine(QPointF(12.5, 8.5), QPointF(15, 11));
    p.drawLine(QPointF(12.5, 13.5), QPointF(15, 11));
}

void drawReportPages(QPainter &p)
{
    drawSheet(p, QRectF(2.5, 1.5, 11, 13));
    p.setPen(QPen(QColor(0, 130, 0), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (int y : {4, 8, 12}) {
        p.drawLine(QPointF(4.5, y + 1), QPointF(5.5, y + 2));
        p.drawLine(QPointF(5.5, y + 2), QPointF(7.5, y - 0.5));
    }
    p.setPen(QPen(QColor(90, 90, 90), 1));
    for (int y : {5, 9, 13})
        p.drawLine(QPointF(8.5, y + 0.5), QPointF(11.5, y + 0.5));
}

void drawPrinter(QPainter &p)
{
    drawSheet(p, QRectF(4.5, 1.5, 7, 6));
    p.setPen(QPen(QColor(70, 70, 70), 1));
    p.setBrush(QColor(200, 200, 205));
    p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1.5, 1.5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 10.5, 7, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 160, 0));
    p.drawEllipse(QPointF(12.5, 8.5), 0.9, 0.9);
}

void drawPreview(QPainter &p)
{
    drawSheet(p, QRectF(1.5, 1.5, 10, 13));
    p.setPen(QPen(QColor(60, 60, 60), 1.2));
    p.setBrush(QColor(220, 235, 255, 220));
    p.drawEllipse(QPointF(9, 8), 3.5, 3.5);
    p.setPen(QPen(QColor(60, 60, 60), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11.7, 10.7), QPointF(14.5, 13.5));
}

void drawCompute(QPainter &p)
{
    p.setPen(QPen(QColor(70, 70, 70), 1));
    p.setBrush(QColor(225, 225, 230));
    p.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 1.5, 1.5);
    p.setBrush(QColor(200, 230, 200));
    p.drawRect(QRectF(4.5, 3.5, 7, 3));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 70, 70));
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRect(QRectF(4.5 + col * 2.5, 8.5 + row * 2.5, 1.5, 1.5));
}

// Three sales, adjusted to one level: the market comparison.
void drawMca(QPainter &p)
{
    p.setPen(QPen(QColor(70, 70, 70), 1));
    p.setBrush(QColor(90, 140, 210));
    p.drawRect(QRectF(1.5, 6.5, 3, 8));
    p.drawRect(QRectF(6.5, 3.5, 3, 11));
    p.drawRect(QRectF(11.5, 8.5, 3, 6));
    p.setPen(QPen(QColor(200, 60, 0), 1.4, Qt::DashLine));
    p.drawLine(QPointF(0.5, 5.5), QPointF(15.5, 5.5));
}

QLabel *captionLabel(const QString &text, QWidget *parent)
{
    QLabel *l = makeLabel(text, parent);
    fitToText(l);
    return l;
}

} // namespace

ResultsGroupGeometry resultsGroupGeometry(int pageWidth, int currentFieldWidth)
{
    const int group = pageWidth - kGroupMargin;
    // Integer division truncates toward zero, also when the spare room is negative.
    const int a = (group - 2 * currentFieldWidth - kSpareForLabels) / 2;
    const int field = std::max(0, currentFieldWidth + a); // a widget cannot be narrower than nothing
    return {group, field, field + kTotalOffset, field + kTotalOffset + 2};
}

ResultsPage::ResultsPage(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Risultati della stima"));
    setFont(pageFont());

    m_toolRow = new QWidget(this);
    exportButton = makeToolButton(
        QStringLiteral("SpeedButton61"), drawnIcon(drawExport),
        QStringLiteral("Esporta stima in formato Word compatibile|Esporta i risultati della stima in formato Word "
                       "compatibile."),
        m_toolRow);
    reportPagesButton = makeToolButton(
        QStringLiteral("SpeedButton65"), drawnIcon(drawReportPages),
        QStringLiteral("Pagine da includere nel report di stampa|Seleziona le pagine da includere nel report di "
                       "stampa."),
        m_toolRow);
    printButton = makeToolButton(QStringLiteral("SpeedButton55"), drawnIcon(drawPrinter),
                                 QStringLiteral("Stampa risultati stima|Stampa i risultati della stima."), m_toolRow);
    previewButton = makeToolButton(QStringLiteral("SpeedButton64"), drawnIcon(drawPreview),
                                   QStringLiteral("Anteprima di stampa|Mostra l'anteprima di stampa."), m_toolRow);
    computeButton =
        makeToolButton(QStringLiteral("SpeedButton40"), drawnIcon(drawCompute),
                       QStringLiteral("Calcola valore di mercato|Calcola il valore di mercato dell'immobile."),
                       m_toolRow);
    int x = 4;
    for (QToolButton *b : {exportButton, reportPagesButton, printButton, previewButton, computeButton}) {
        b->move(x, 2);
        x += b->width() + 1;
    }
    computeButton->hide();
    // The market comparison's window: its own place after the hidden button,
    // so no control of the row moves.
    mcaButton = new QToolButton(m_toolRow);
    mcaButton->setObjectName(QStringLiteral("StimaMCAButton"));
    mcaButton->setText(QStringLiteral("Stima MCA…"));
    mcaButton->setIcon(drawnIcon(drawMca));
    mcaButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    mcaButton->setAutoRaise(true);
    mcaButton->setFocusPolicy(Qt::NoFocus);
    setHint(mcaButton, QStringLiteral("Stima MCA|Apre la stima per confronto di mercato (MCA)."));
    mcaButton->adjustSize();
    mcaButton->move(x + 8, 2);
    mcaButton->resize(mcaButton->width(), computeButton->height());
    // The OMI comparison after it, again moving nothing.
    omiButton = new QToolButton(m_toolRow);
    omiButton->setObjectName(QStringLiteral("ConfrontoOMIButton"));
    omiButton->setText(QStringLiteral("Confronto con le quotazioni OMI…"));
    omiButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    omiButton->setAutoRaise(true);
    omiButton->setFocusPolicy(Qt::NoFocus);
    setHint(omiButton, QStringLiteral("Confronto con le quotazioni OMI|Confronta i valori della stima con le "
                                      "quotazioni OMI della zona (fonte: Agenzia Entrate - OMI)."));
    omiButton->adjustSize();
    omiButton->move(mcaButton->x() + mcaButton->width() + 4, 2);
    omiButton->resize(omiButton->width(), computeButton->height());
    // The report for a purpose last, moving nothing either.
    periziaButton = new QToolButton(m_toolRow);
    periziaButton->setObjectName(QStringLiteral("RapportoValutazioneButton"));
    periziaButton->setText(QStringLiteral("Rapporto di valutazione…"));
    periziaButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    periziaButton->setAutoRaise(true);
    periziaButton->setFocusPolicy(Qt::NoFocus);
    setHint(periziaButton, QStringLiteral("Rapporto di valutazione|Apre il rapporto di valutazione per una banca, "
                                          "un tribunale o il mercato."));
    periziaButton->adjustSize();
    periziaButton->move(omiButton->x() + omiButton->width() + 4, 2);
    periziaButton->resize(periziaButton->width(), computeButton->height());

    summaryEdit = new QTextEdit(this);
    summaryEdit->setObjectName(QStringLiteral("RichEdit1"));
    summaryEdit->setFont(pageFont());
    summaryEdit->setReadOnly(true);
    summaryEdit->setLineWrapMode(QTextEdit::NoWrap);
    summaryEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    summaryEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The summary aligns its values with bare tabs and sets no stops of its
    // own, so the stops must fall where rich text puts them by default: every
    // half inch, the same as in the exported file.
    summaryEdit->setTabStopDistance(summaryEdit->logicalDpiX() / 2.0);
    setHint(summaryEdit, QStringLiteral("|Riepilogo delle informazioni sulla stima corrente."));

    resultsGroup = makeGroup(QStringLiteral("Risultati della stima"), this);
    unitValueLabel = captionLabel(QStringLiteral("Valore unitario:"), resultsGroup);
    totalValueLabel = captionLabel(QStringLiteral("Valore complessivo:"), resultsGroup);
    QLabel *comparisonRow = captionLabel(QStringLiteral("Comparazione diretta:"), resultsGroup);
    QLabel *incomeRow = captionLabel(QStringLiteral("Capitalizzazione dei redditi:"), resultsGroup);

    auto valueEdit = [this](const char *field) {
        QLineEdit *e = makeFieldEdit(field, resultsGroup);
        e->setReadOnly(true);
        e->setAlignment(Qt::AlignRight);
        return e;
    };
    comparisonUnitEdit = valueEdit("CostoUnitario");
    comparisonTotalEdit = valueEdit("CostoComplessivo");
    incomeUnitEdit = valueEdit("CICostoUnitario");
    incomeTotalEdit = valueEdit("CICostoComplessivo");

    const int rows[2] = {kFirstRowTop, kFirstRowTop + kRowPitch};
    comparisonRow->move(kRowCaptionLeft, rows[0] + (kEditHeight - comparisonRow->height()) / 2);
    incomeRow->move(kRowCaptionLeft, rows[1] + (kEditHeight - incomeRow->height()) / 2);
    comparisonRow->setBuddy(comparisonUnitEdit);
    incomeRow->setBuddy(incomeUnitEdit);
    unitValueLabel->move(kUnitLeft + 2, kColumnCaptionTop);

    // Designed at the smallest page; the resize rule takes over from here.
    const ResultsGroupGeometry g = resultsGroupGeometry(kDesignPageWidth, kDesignFieldWidth);
    comparisonUnitEdit->setGeometry(kUnitLeft, rows[0], g.fieldWidth, kEditHeight);
    incomeUnitEdit->setGeometry(kUnitLeft, rows[1], g.fieldWidth, kEditHeight);
    comparisonTotalEdit->setGeometry(g.totalLeft, rows[0], g.fieldWidth, kEditHeight);
    incomeTotalEdit->setGeometry(g.totalLeft, rows[1], g.fieldWidth, kEditHeight);
    totalValueLabel->move(g.totalLabelLeft, kColumnCaptionTop);

    setTabOrder(comparisonUnitEdit, comparisonTotalEdit);
    setTabOrder(comparisonTotalEdit, incomeUnitEdit);
    setTabOrder(incomeUnitEdit, incomeTotalEdit);

    refreshHints();
    resize(kDesignPageWidth, kDesignPageHeight);
    layoutFor(size());
}

void ResultsPage::refreshHints()
{
    const QString &v = currency().ValutaCorrente;
    setHint(comparisonUnitEdit,
            QStringLiteral("|Più probabile valore di mercato unitario per comparazione diretta in") + v +
                QStringLiteral("/mq."));
    setHint(comparisonTotalEdit,
            QStringLiteral("|Più probabile valore di mercato per comparazione diretta in") + v + QLatin1Char('.'));
    setHint(incomeUnitEdit,
            QStringLiteral("|Più probabile valore di mercato unitario per capitalizzazione dei redditi in") + v +
                QStringLiteral("/mq."));
    setHint(incomeTotalEdit,
            QStringLiteral("|Più probabile valore di mercato per capitalizzazione dei redditi in") + v +
                QLatin1Char('.'));
}

void ResultsPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutFor(event->size());
}

void ResultsPage::layoutFor(QSize size)
{
    const int w = size.width();
    const int h = size.height();

    m_toolRow->setGeometry(0, 0, w, kToolRowHeight);

    const ResultsGroupGeometry g = resultsGroupGeometry(w, comparisonUnitEdit->width());
    const int groupTop = h - kGroupHeight - kSideMargin;
    resultsGroup->setGeometry(kSideMargin, groupTop, g.groupWidth, kGroupHeight);
    comparisonUnitEdit->resize(g.fieldWidth, kEditHeight);
    incomeUnitEdit->resize(g.fieldWidth, kEditHeight);
    comparisonTotalEdit->setGeometry(g.totalLeft, comparisonTotalEdit->y(), g.fieldWidth, kEditHeight);
    incomeTotalEdit->setGeometry(g.totalLeft, incomeTotalEdit->y(), g.fieldWidth, kEditHeight);
    totalValueLabel->move(g.totalLabelLeft, totalValueLabel->y());

    summaryEdit->setGeometry(kSideMargin, kToolRowHeight, g.groupWidth, groupTop - kGap - kToolRowHeight);
}

} // namespace brevan::ui
