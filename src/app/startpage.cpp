// SPDX-License-Identifier: GPL-2.0-or-later
#include "startpage.h"

#include "brand.h"

namespace brevan::app {

StartPage::StartPage(QWidget *parent) : ui::CentredPage(parent)
{
    setObjectName(QStringLiteral("TabSheet13"));
    QWidget *p = panel();
    p->setObjectName(QStringLiteral("Panel1"));

    auto *picture = new PictureFrame(p);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->move(16, 16);
    connect(picture, &PictureFrame::clicked, this, &StartPage::aboutRequested);

    auto *title = new ShadowTitle(QStringLiteral("Brevan 2.0"), 32, p);
    title->setObjectName(QStringLiteral("TitleLabel"));
    title->move(128, 18);

    int y = 64;
    int index = 0;
    for (const QString &line : publisherLines()) {
        auto *l = new ClickableLabel(line, p);
        l->setObjectName(QStringLiteral("ParticularsLine%1").arg(++index));
        l->setFont(ui::pageFont());
        l->move(130, y);
        ui::fitToText(l);
        if (index <= 2) {
            l->setCursor(Qt::PointingHandCursor);
            connect(l, &ClickableLabel::clicked, this, &StartPage::aboutRequested);
        }
        y += 15;
    }
}

QLineEdit *StartPage::transferField()
{
    if (!m_transfer) {
        m_transfer = new QLineEdit(panel());
        m_transfer->setObjectName(QStringLiteral("Edit1"));
        m_transfer->hide();
    }
    return m_transfer;
}

} // namespace brevan::app
