// SPDX-License-Identifier: GPL-2.0-or-later
#include "brand.h"

#include "artwork.h"

#include <QMouseEvent>
#include <QPainter>

namespace brevan::app {

QStringList publisherLines()
{
    return {
        QStringLiteral("Brevan Software - Stime immobiliari"),
        QStringLiteral("Via Roma 24 - 35031 Abano Terme (PD)"),
        QStringLiteral("E-mail: assistenza@brevan.it"),
        QStringLiteral("Tel. 049 812 3456"),
    };
}

ShadowTitle::ShadowTitle(const QString &text, int pixelHeight, QWidget *parent)
    : QWidget(parent), m_text(text), m_font(QStringLiteral("Arial"))
{
    m_font.setPixelSize(pixelHeight);
    m_font.setBold(true);
    resize(sizeHint());
}

QSize ShadowTitle::sizeHint() const
{
    const QFontMetrics fm(m_font);
    return {fm.horizontalAdvance(m_text) + 4, fm.height() + 2};
}

void ShadowTitle::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(m_font);
    const QFontMetrics fm(m_font);
    const int baseline = fm.ascent() + 1;
    p.setPen(QColor(128, 128, 128));
    p.drawText(2, baseline + 1, m_text);
    p.setPen(QColor(0, 0, 255));
    p.drawText(1, baseline, m_text);
}

PictureFrame::PictureFrame(QWidget *parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setFixedSize(97, 97);
    auto *picture = new QLabel(this);
    picture->setGeometry(1, 1, 95, 95);
    picture->setPixmap(art::programPicture(95));
    picture->setScaledContents(true);
    picture->setAttribute(Qt::WA_TransparentForMouseEvents);
    setCursor(Qt::PointingHandCursor);
}

void PictureFrame::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    QFrame::mouseReleaseEvent(event);
}

ClickableLabel::ClickableLabel(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 128));
    setPalette(pal);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    QLabel::mouseReleaseEvent(event);
}

} // namespace brevan::app
