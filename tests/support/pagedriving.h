// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Driving the main window's pages as a user does: the window on screen and
// active at a page, so that clicks and focus behave as for a user; a button
// clicked with the mouse; the description page set to a municipality of the
// list without running its cascade (as opening an appraisal or pasting
// leaves it).
#include "app/mainwindow.h"
#include "data/municipalities.h"
#include "pages/descriptionpage.h"
#include "pages/pagekit.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTest>

inline void showPage(brevan::app::MainWindow *w, int node)
{
    if (!w->isVisible()) {
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }
    w->selectNode(node);
    QCOMPARE(w->shownPage(), node);
}

inline void click(QAbstractButton *b)
{
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
}

// The municipality at position i of the list, with its postal code, province
// and province code.
inline void setMunicipalityWithoutCascade(brevan::app::MainWindow *w, int i)
{
    const brevan::MunicipalityList &list = brevan::municipalities();
    brevan::ui::DescriptionPage *d = w->descriptionPage;
    {
        const QSignalBlocker block(d->municipalityCombo);
        const QSignalBlocker blockEdit(d->municipalityCombo->lineEdit());
        d->municipalityCombo->setCurrentIndex(i);
        d->municipalityCombo->lineEdit()->setText(list.names.at(i));
    }
    brevan::ui::setComboText(d->postalCodeCombo, list.postalCodes.at(i));
    brevan::ui::setComboText(d->provinceCombo, list.provinces.at(i));
    brevan::ui::setComboText(d->provinceCodeCombo, list.provinceCodes.at(i));
}
