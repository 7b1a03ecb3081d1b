// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// "Rapporto di valutazione": a window of its own beside the main window. At
// the top the purpose; on the left the sections, each with its light; on the
// right the section's fields (those the purpose does not use are hidden,
// never lost); below, what the purpose still finds missing ("Mancano:", each
// item leading to its field) and what cannot be as typed. Printing and the
// exports write the report as it stands, listing what is missing first.
#include "report/periziadocument.h"
#include "valuation/purposereport.h"

#include <QHash>
#include <QWidget>

#include <functional>

class QComboBox;
class QFormLayout;
class QLabel;
class QListWidget;
class QPrinter;
class QPushButton;
class QStackedWidget;

namespace brevan::ui {

namespace perizia {
class ListEditor;
}

class PeriziaWindow : public QWidget {
    Q_OBJECT
public:
    explicit PeriziaWindow(QWidget *parent = nullptr);
    ~PeriziaWindow() override;

    const brevan::perizia::Report &report() const { return m_report; }
    // Shows a report (an opened appraisal's, or an empty one); not an edit.
    void setReport(const brevan::perizia::Report &report);
    // What the appraisal's pages hold, shown read-only and used by the lights.
    void setFacts(const brevan::perizia::AppraisalFacts &facts);
    const brevan::perizia::AppraisalFacts &facts() const { return m_facts; }
    // What the outputs add from the appraisal (title, surfaces, pictures, the
    // market comparison); the report and the facts are the window's own.
    void setInputProvider(std::function<report::PeriziaInput()> provider) { m_provider = std::move(provider); }

    // The section shown, and the field given focus, as "Mancano:" does.
    void showField(const QString &field);
    // What is missing now, in order.
    QStringList missingShown() const;

    // Test seam: print on this printer instead of asking with the dialog.
    void setPrinterForTests(QPrinter *printer) { m_testPrinter = printer; }

    QComboBox *purposeCombo;
    QListWidget *sectionList;
    QStackedWidget *sectionPages;
    QListWidget *missingList;
    QLabel *problemsLabel;
    QLabel *valuesLabel;     // the three values, read-only
    QLabel *courtLabel;      // the court's figures, as computed
    QPushButton *printButton;
    QPushButton *pdfButton;
    QPushButton *odtButton;
    QPushButton *privacyButton;

public Q_SLOTS:
    void StampaClick();
    void EsportaPdfClick();
    void EsportaOdtClick();
    void EsportaPrivacyClick();

Q_SIGNALS:
    // The user changed the report.
    void reportEdited();
    // The user asked for the page that holds a value ("description", "appraiser", "results").
    void pageRequested(const QString &page);
    // The window became the active one: the pages' values may have changed.
    void activated();

protected:
    bool event(QEvent *event) override;

private:
    void build();
    void buildSection(brevan::perizia::Section section, QFormLayout *form);
    void addField(QFormLayout *form, const QString &key, const QString &label, QWidget *field, unsigned purposes);
    void fill();
    void collect();
    void refresh();
    void applyPurpose();
    report::PeriziaInput input() const;
    bool exportTo(const QString &title, const QString &filter, const QString &suffix,
                  const std::function<bool(const QString &, QString *)> &write);

    struct Row {
        QFormLayout *form;
        QWidget *field;
        unsigned purposes;
    };
    brevan::perizia::Report m_report;
    brevan::perizia::AppraisalFacts m_facts;
    std::function<report::PeriziaInput()> m_provider;
    QHash<QString, QWidget *> m_fields; // by key, the keys of the compliance tables
    QHash<QString, QString> m_labels;
    QHash<QString, int> m_fieldSection;
    QVector<Row> m_rows;
    QStringList m_unreadable; // texts that are no date or amount, said as problems
    bool m_filling = false;
    QPrinter *m_testPrinter = nullptr;
};

} // namespace brevan::ui
