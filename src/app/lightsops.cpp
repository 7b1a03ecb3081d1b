// SPDX-License-Identifier: GPL-2.0-or-later
#include "lightsops.h"

#include "mainwindow.h"

#include "model/record.h"
#include "pages/comparablespage.h"
#include "pages/picturepage.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTextEdit>

namespace brevan::app {

namespace {

// The surface values in the order surfaceValues() gives them.
const char *const kSurfaceFields[3] = {"SupUtileImmob", "SupConvenzImmob", "SupCommercImmob"};

art::NodeImage imageOf(Light light)
{
    switch (light) {
    case Light::Red: return art::NodeImage::Red;
    case Light::Yellow: return art::NodeImage::Yellow;
    case Light::Green: return art::NodeImage::Green;
    }
    return art::NodeImage::Red;
}

// The text a control shows; null for a control that shows none (the date
// picker is not looked at).
QString shownText(const QWidget *w)
{
    if (const auto *e = qobject_cast<const QLineEdit *>(w))
        return e->text();
    if (const auto *c = qobject_cast<const QComboBox *>(w))
        return c->currentText();
    if (const auto *t = qobject_cast<const QTextEdit *>(w))
        return t->toPlainText();
    if (const auto *t = qobject_cast<const QPlainTextEdit *>(w))
        return t->toPlainText();
    return {};
}

} // namespace

LightsOps::LightsOps(MainWindow *window, QObject *parent) : QObject(parent), m_window(window) {}

PageContents LightsOps::gatherContents() const
{
    PageContents c;
    // Only the pages: the editors and dialogs outside them may reuse a name.
    const QWidget *pages = m_window->pages;
    for (const FieldDef &f : recordFields()) {
        const QString name = QString::fromLatin1(f.name);
        const QWidget *w = pages->findChild<QWidget *>(name);
        if (!w)
            continue;
        if (f.type == FieldType::Logical) {
            if (const auto *b = qobject_cast<const QAbstractButton *>(w))
                c.ticks.insert(name, b->isChecked());
        } else if (f.type == FieldType::Text) {
            c.texts.insert(name, shownText(w));
        }
    }
    // The values behind the surfaces page, never the rounded texts it shows.
    // Without an accessor, only a control carrying the field's own name counts.
    if (surfaceValues) {
        const QStringList surfaces = surfaceValues();
        for (int i = 0; i < 3; ++i)
            c.texts.insert(QString::fromLatin1(kSurfaceFields[i]), surfaces.value(i));
    }

    c.photo = m_window->photoPage->hasPicture();
    c.areaPlan = m_window->areaPlanPage->hasPicture();
    c.unitPlan = m_window->unitPlanPage->hasPicture();

    const int comparables =
        comparablesCompleteness ? comparablesCompleteness() : m_window->comparablesPage->completeness();
    c.comparableRows = comparables == 3 ? 0 : 1;
    c.comparablesAllComplete = comparables == 1;
    return c;
}

void LightsOps::ImpostaSemaforiTreeView()
{
    const std::array<Light, 12> lights = evaluateLights(gatherContents());
    for (int n = 1; n <= MainWindow::kPageNodes; ++n)
        m_window->setNodeLight(n, imageOf(lights[size_t(n - 1)]));
}

} // namespace brevan::app
