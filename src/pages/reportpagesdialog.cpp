// SPDX-License-Identifier: GPL-2.0-or-later
#include "reportpagesdialog.h"

#include "pages/pagekit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace brevan::ui {

ReportPagesDialog::ReportPagesDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ParametriStampaForm"));
    setWindowTitle(QStringLiteral("Pagine da includere nel report di stampa"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFont(pageFont());

    group = makeGroup(QStringLiteral("Parametri di stampa"), this);
    group->setObjectName(QStringLiteral("GroupBoxParametriStampa"));
    auto *boxesLayout = new QVBoxLayout(group);
    boxesLayout->setSpacing(4);
    const QStringList captions = report::choiceCaptions();
    for (int i = 0; i < captions.size(); ++i) {
        auto *box = new QCheckBox(captions[i], group);
        box->setObjectName(QStringLiteral("CheckBoxPagina%1").arg(i + 1));
        box->setChecked(true);
        boxesLayout->addWidget(box);
        boxes << box;
    }
    mcaBox = new QCheckBox(report::pageTitle(report::kMcaPage), group);
    mcaBox->setObjectName(QStringLiteral("CheckBoxPaginaMCA"));
    mcaBox->setChecked(true);
    mcaBox->hide();
    boxesLayout->addWidget(mcaBox);
    omiBox = new QCheckBox(report::pageTitle(report::kOmiPage), group);
    omiBox->setObjectName(QStringLiteral("CheckBoxPaginaOMI"));
    omiBox->setChecked(true);
    omiBox->hide();
    boxesLayout->addWidget(omiBox);

    selectAllButton = new QPushButton(QStringLiteral("&Seleziona tutto"), this);
    selectAllButton->setObjectName(QStringLiteral("ButtonSelezionaTutto"));
    clearAllButton = new QPushButton(QStringLiteral("&Deseleziona tutto"), this);
    clearAllButton->setObjectName(QStringLiteral("ButtonDeselezionaTutto"));
    closeButton = new QPushButton(QStringLiteral("&Chiudi"), this);
    closeButton->setObjectName(QStringLiteral("ButtonChiudi"));
    // Enter would otherwise press the first button and tick every box.
    for (QPushButton *b : {selectAllButton, clearAllButton, closeButton})
        b->setAutoDefault(false);
    closeButton->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(selectAllButton);
    buttons->addWidget(clearAllButton);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize); // not resizable

    connect(selectAllButton, &QPushButton::clicked, this, [this] { setAll(true); });
    connect(clearAllButton, &QPushButton::clicked, this, [this] { setAll(false); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
}

report::ReportSelection ReportPagesDialog::selection() const
{
    report::ReportSelection s;
    for (int i = 0; i < boxes.size(); ++i)
        s.on[std::size_t(i)] = boxes[i]->isChecked();
    s.mca = mcaBox->isChecked();
    s.omi = omiBox->isChecked();
    return s;
}

void ReportPagesDialog::setSelection(const report::ReportSelection &selection)
{
    for (int i = 0; i < boxes.size(); ++i)
        boxes[i]->setChecked(selection.on[std::size_t(i)]);
    mcaBox->setChecked(selection.mca);
    omiBox->setChecked(selection.omi);
}

void ReportPagesDialog::setMcaOffered(bool offered)
{
    mcaBox->setVisible(offered);
}

void ReportPagesDialog::setOmiOffered(bool offered)
{
    omiBox->setVisible(offered);
}

void ReportPagesDialog::setAll(bool on)
{
    for (QCheckBox *b : boxes)
        b->setChecked(on);
    mcaBox->setChecked(on);
    omiBox->setChecked(on);
}

void ReportPagesDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Centred on the screen, not on the main window.
    if (const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        QRect r = frameGeometry();
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
}

} // namespace brevan::ui
