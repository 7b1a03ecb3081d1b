// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The summary of the appraisal from the named fields, the tables and the
// coefficients, in the screen, export or print form, and its export as a
// rich-text file.
#include "report/summary.h"
#include "valuation/coefficients.h"
#include "valuation/completeness.h"

#include <QObject>
#include <QStringList>

#include <array>
#include <functional>

namespace brevan::engine {

class Fields;
class Notices;

class ResultsWork : public QObject {
    Q_OBJECT
public:
    ResultsWork(Fields &fields, Notices &notices, const Coefficients &coefficients, QObject *parent = nullptr);

    // Useful, conventional and commercial surface. Unset, the three shown
    // surface fields (Edit25, Edit26, Edit27) are read.
    std::function<QStringList()> surfaceValues;
    // The lights of the page tree, which decide the sections shown. Unset:
    // every page red.
    std::function<std::array<Light, 12>()> lights;

    // Everything the summary reads, taken from the fields now.
    report::SummaryInput summaryInput() const;
    // The hidden buffer: the export or print form built last.
    const report::SummaryLines &buffer() const { return m_buffer; }
    report::SummaryForm bufferForm() const { return m_bufferForm; }
    // Builds the buffer in that form.
    void buildBuffer(report::SummaryForm form);

    // The export form written to path as rich text, beside the file and
    // renamed over it; false after the error box.
    bool exportRtf(const QString &path);

    // The lines as the screen's text shows them, one per line.
    static QString plainText(const report::SummaryLines &lines);

public Q_SLOTS:
    void CalcolaRiepilogoInformazioniSave();
    void CalcolaRiepilogoInformazioniPrint();

Q_SIGNALS:
    void CalcolaCIValoreMercatoRequested();
    void CalcolaCDValoreMercatoRequested();

protected:
    // The working surfaces table as the page has it.
    virtual QString surfacesTablePath() const;

    Fields &m_fields;
    Notices &m_notices;

private:
    const Coefficients &m_coefficients;
    report::SummaryLines m_buffer;
    report::SummaryForm m_bufferForm = report::SummaryForm::Export;
};

} // namespace brevan::engine
