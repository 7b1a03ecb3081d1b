// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
#include <QDialog>

namespace brevan::app {

// TTarselAboutForm: borderless, 458 × 296, modal; any click on its picture or
// bands, or "&Chiudi", closes it.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace brevan::app
