// SPDX-License-Identifier: GPL-2.0-or-later
#include "mcaparameters.h"

#include "files/mcatable.h"
#include "pages/pagekit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QVBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace brevan::ui {

using mca::Feature;
using mca::Param;

namespace {

void markField(QLineEdit *field, const QString &message, const QString &hint)
{
    if (message.isEmpty()) {
        field->setPalette(QPalette()); // back to the inherited colours
    } else {
        QPalette pal = field->palette();
        pal.setColor(QPalette::Base, QColor(255, 218, 218));
        pal.setColor(QPalette::Text, QColor(150, 0, 0));
        field->setPalette(pal);
    }
    field->setToolTip(message.isEmpty() ? hint : message);
}

} // namespace

McaParametersPanel::McaParametersPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("McaParametri"));
    QGroupBox *params = makeGroup(QStringLiteral("Parametri"), this);
    auto *grid = new QGridLayout(params);
    grid->setContentsMargins(10, 16, 10, 10);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(5);
    for (const mca::ParamDef &d : mca::paramDefs()) {
        const int i = int(d.param);
        auto *label = new QLabel(QString::fromUtf8(d.label), params);
        auto *field = new QLineEdit(params);
        field->setObjectName(files::mcaParamName(d.param));
        field->setMaxLength(files::mcaParamSize(d.param));
        field->setAlignment(Qt::AlignRight);
        field->setFixedWidth(110);
        field->setToolTip(QString::fromUtf8(d.hint));
        field->setStatusTip(QString::fromUtf8(d.hint));
        auto *hint = new QLabel(QString::fromUtf8(d.hint), params);
        hint->setWordWrap(true);
        QPalette grey = hint->palette();
        grey.setColor(QPalette::WindowText, QColor(100, 100, 100));
        hint->setPalette(grey);
        label->setBuddy(field);
        grid->addWidget(label, i, 0);
        grid->addWidget(field, i, 1);
        grid->addWidget(hint, i, 2);
        fields[std::size_t(i)] = field;
        connect(field, &QLineEdit::textEdited, this, [this] {
            if (!m_filling)
                Q_EMIT edited();
        });
    }
    grid->setColumnStretch(2, 1);

    QGroupBox *estimate = makeGroup(QStringLiteral("Prezzi marginali da stimare (sistema di stima)"), this);
    auto *ticks = new QGridLayout(estimate);
    ticks->setContentsMargins(8, 14, 8, 8);
    ticks->setVerticalSpacing(4);
    for (Feature f : mca::kFeatures) {
        const int i = mca::index(f);
        auto *box = new QCheckBox(mca::featureLabel(f), estimate);
        box->setObjectName(QStringLiteral("Incognita") + files::mcaFeatureName(f));
        box->setToolTip(QStringLiteral("Un solo prezzo per tutti i comparabili, in %1, trovato dal sistema di stima "
                                       "insieme al valore.")
                            .arg(mca::featureUnit(f)));
        ticks->addWidget(box, i % 5, i / 5);
        ticks->setColumnStretch(i / 5, 1);
        unknown[std::size_t(i)] = box;
        connect(box, &QCheckBox::toggled, this, [this] {
            if (!m_filling)
                Q_EMIT edited();
        });
    }
    auto *hint = new QLabel(QStringLiteral("Il valore e i prezzi indicati sono trovati insieme: esattamente con tante "
                                           "equazioni (comparabili) quante incognite, ai minimi quadrati con più."),
                            estimate);
    hint->setWordWrap(true);
    QPalette pal = hint->palette();
    pal.setColor(QPalette::WindowText, QColor(90, 90, 90));
    hint->setPalette(pal);
    ticks->addWidget(hint, 5, 0, 1, 2);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(params);
    layout->addWidget(estimate);
    layout->addStretch(1);
}

void McaParametersPanel::readInto(mca::Sheet &sheet) const
{
    for (const mca::ParamDef &d : mca::paramDefs())
        sheet.setParam(d.param, fields[std::size_t(d.param)]->text());
    for (Feature f : mca::kFeatures)
        sheet.unknown[std::size_t(mca::index(f))] = unknown[std::size_t(mca::index(f))]->isChecked();
}

void McaParametersPanel::showSheet(const mca::Sheet &sheet)
{
    m_filling = true;
    for (const mca::ParamDef &d : mca::paramDefs())
        fields[std::size_t(d.param)]->setText(sheet.param(d.param));
    for (Feature f : mca::kFeatures)
        unknown[std::size_t(mca::index(f))]->setChecked(sheet.unknown[std::size_t(mca::index(f))]);
    m_filling = false;
}

void McaParametersPanel::markIssues(const QVector<mca::Issue> &issues)
{
    for (const mca::ParamDef &d : mca::paramDefs()) {
        QString message;
        for (const mca::Issue &i : issues) {
            if (i.place.kind == mca::Place::Kind::Parameter && i.place.param == d.param)
                message = i.message;
        }
        markField(fields[std::size_t(d.param)], message, QString::fromUtf8(d.hint));
    }
}

} // namespace brevan::ui
