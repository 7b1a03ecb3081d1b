// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
#include "pages/pagekit.h"

namespace brevan::app {

// "Pagina iniziale": picture, shadowed title and particulars; the picture and
// the first two lines open the About box. Holds the clipboard's hidden
// transfer field.
class StartPage : public ui::CentredPage {
    Q_OBJECT
public:
    explicit StartPage(QWidget *parent = nullptr);
    // The hidden field the clipboard commands pass text through, made at
    // its first use.
    QLineEdit *transferField();

Q_SIGNALS:
    void aboutRequested();

private:
    QLineEdit *m_transfer = nullptr;
};

} // namespace brevan::app
