// SPDX-License-Identifier: GPL-2.0-or-later
// Qt's standard dialogs as the program shows them: Italian whatever the
// system's language (the tests run in the C locale), the file dialogs' filters
// showing their captions as the commands quote them, the file list's sizes and
// dates written in Italian, its columns wide enough for their titles.
#include "../support/appfixture.h"
#include "app/application.h"
#include "pages/messages.h"
#include "pages/picturepage.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

using namespace brevan;
using brevan::ui::FileDialogRequest;
using brevan::ui::Messages;

namespace {

QStringList texts(const QWidget *dialog)
{
    QStringList out;
    for (const QAbstractButton *b : dialog->findChildren<QAbstractButton *>())
        out << b->text();
    for (const QLabel *l : dialog->findChildren<QLabel *>())
        out << l->text();
    for (const QGroupBox *g : dialog->findChildren<QGroupBox *>())
        out << g->title();
    out.removeAll(QString());
    return out;
}

QStringList comboItems(const QComboBox *combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

} // namespace

class TestStandardDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void filterForm_data()
    {
        QTest::addColumn<QString>("quoted");
        QTest::addColumn<QString>("qt");
        QTest::newRow("one pattern") << "Stima Brevan (*.db)|Stima*.db" << "Stima Brevan (*.db) (Stima*.db)";
        QTest::newRow("patterns joined by ;") << "Tutti (*.jpg;*.jpeg)|*.jpg;*.jpeg|Formato JPEG (*.jpg)|*.jpg"
                                              << "Tutti (*.jpg;*.jpeg) (*.jpg *.jpeg);;Formato JPEG (*.jpg) (*.jpg)";
        QTest::newRow("no blank before the bracket") << "Formato Metafile avanzato(*.emf)|*.emf"
                                                     << "Formato Metafile avanzato(*.emf) (*.emf)";
    }
    void filterForm()
    {
        QFETCH(QString, quoted);
        QFETCH(QString, qt);
        QCOMPARE(ui::fileFilter(quoted), qt);
    }

    // The picture-open dialog lists its seven entries exactly as quoted: the
    // two JPEG entries read apart.
    void pictureFilterShowsQuotedCaptions()
    {
        AppFixture f;
        ui::PicturePage page(ui::PicturePage::Photo);
        Messages::setFileAnswers([](const FileDialogRequest &) { return QString(); });
        page.SpeedButtonOpenImageClick();
        Messages::setFileAnswers({});
        QCOMPARE(Messages::fileRequests().size(), 1);
        QFileDialog dialog;
        Messages::prepareFileDialog(dialog, Messages::fileRequests().constFirst());
        const auto *types = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        QVERIFY(types);
        QCOMPARE(comboItems(types), (QStringList{"Tutti (*.jpg;*.jpeg;*.bmp;*.emf;*.wmf)", "Formato JPEG (*.jpg)",
                                                 "Formato JPEG (*.jpeg)", "Formato Bitmap (*.bmp)",
                                                 "Formato Metafile avanzato(*.emf)",
                                                 "Formato Metafile standard (*.wmf)"}));
        // Each entry lists what its patterns match.
        QCOMPARE(dialog.nameFilters().at(2), QStringLiteral("Formato JPEG (*.jpeg) (*.jpeg)"));
    }

    // The file dialog in a folder with a subfolder and an appraisal: Italian
    // captions, types, sizes and dates, no column title cut short.
    void fileDialogIsItalian()
    {
        AppFixture f;
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Perizie")));
        const QString file = dir.filePath(QStringLiteral("Stima - Via Roma.db"));
        {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            QVERIFY(out.write(QByteArray(12345, 'x')) == 12345);
        }
        {
            QFile out(file);
            QVERIFY(out.open(QIODevice::ReadOnly));
            QVERIFY(out.setFileTime(QDateTime(QDate(2003, 12, 5), QTime(10, 30)), QFileDevice::FileModificationTime));
        }
        FileDialogRequest request;
        request.title = QStringLiteral("Apri stima");
        request.filter = ui::fileFilter(QStringLiteral("Stima Brevan (*.db)|Stima*.db"));
        request.directory = dir.path();
        QFileDialog dialog;
        Messages::prepareFileDialog(dialog, request);
        dialog.setViewMode(QFileDialog::Detail);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        QCOMPARE(dialog.windowTitle(), QStringLiteral("Apri stima"));
        const QStringList shown = texts(&dialog);
        for (const char *italian : {"Cerca in:", "&Nome del file:", "File di tipo:", "&Apri", "Annulla"})
            QVERIFY2(shown.contains(QString::fromUtf8(italian)), italian);
        const auto *types = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        QCOMPARE(comboItems(types), QStringList{"Stima Brevan (*.db)"});

        auto *list = dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
        QVERIFY(list);
        QAbstractItemModel *model = list->model();
        const auto row = [&](const QString &name) {
            QStringList cells;
            for (int r = 0; r < model->rowCount(list->rootIndex()); ++r) {
                if (model->index(r, 0, list->rootIndex()).data().toString() != name)
                    continue;
                for (int c = 0; c < 4; ++c)
                    cells << model->index(r, c, list->rootIndex()).data().toString();
            }
            return cells;
        };
        QTRY_COMPARE(row(QStringLiteral("Perizie")).value(2), QStringLiteral("Cartella"));
        QTRY_COMPARE(row(QStringLiteral("Stima - Via Roma.db")).size(), 4);
        const QStringList appraisal = row(QStringLiteral("Stima - Via Roma.db"));
        QCOMPARE(appraisal.at(1), QStringLiteral("12,1 kB"));
        QCOMPARE(appraisal.at(3), QStringLiteral("05/12/2003 10:30"));
        QCOMPARE(row(QStringLiteral("Perizie")).at(1), QString());
        QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d$"))
                    .match(row(QStringLiteral("Perizie")).at(3))
                    .hasMatch());

        QHeaderView *header = list->header();
        QStringList titles;
        for (int c = 0; c < 4; ++c) {
            titles << model->headerData(c, Qt::Horizontal).toString();
            QVERIFY2(header->sectionSize(c) >= header->sectionSizeHint(c), qPrintable(titles.last()));
        }
        QCOMPARE(titles, (QStringList{"Nome", "Dimensione", "Tipo", "Data di modifica"}));
    }

    // Message boxes, the printer set-up, the page set-up and the colour
    // dialog: every caption Italian, none of the texts Qt's translation lacks
    // left in English.
    // The program's boxes: title, icon, buttons, the button Enter and Escape
    // press, and the text shown as written, never as markup.
    void messageBoxes_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("cancellable");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<int>("enter");
        QTest::addColumn<int>("escape");
        QTest::newRow("warning") << int(Messages::Shown::Warning) << false << int(QMessageBox::Warning)
                                 << QStringList{"OK"} << int(QMessageBox::Ok) << int(QMessageBox::Ok);
        QTest::newRow("confirm") << int(Messages::Shown::Confirm) << false << int(QMessageBox::Warning)
                                 << QStringList{"OK", "Annulla"} << int(QMessageBox::Cancel) << int(QMessageBox::Cancel);
        QTest::newRow("error") << int(Messages::Shown::Error) << false << int(QMessageBox::Critical)
                               << QStringList{"OK"} << int(QMessageBox::Ok) << int(QMessageBox::Ok);
        QTest::newRow("question") << int(Messages::Shown::Question) << false << int(QMessageBox::Question)
                                  << QStringList{"&Sì", "&No"} << int(QMessageBox::Yes) << int(QMessageBox::No);
        QTest::newRow("question with Annulla")
            << int(Messages::Shown::Question) << true << int(QMessageBox::Question)
            << QStringList{"&Sì", "&No", "Annulla"} << int(QMessageBox::Yes) << int(QMessageBox::Cancel);
    }
    void messageBoxes()
    {
        QFETCH(int, kind);
        QFETCH(bool, cancellable);
        QFETCH(int, icon);
        QFETCH(QStringList, buttons);
        QFETCH(int, enter);
        QFETCH(int, escape);
        AppFixture f;
        const QString text = QStringLiteral("Impossibile scrivere il file \"<b>Stima</b> <img src=x>.db\":\nPermesso negato");
        const auto box = Messages::box(nullptr, Messages::Shown::Kind(kind), text, cancellable);
        QCOMPARE(box->windowTitle(), QStringLiteral("Brevan 2.0"));
        QCOMPARE(int(box->icon()), icon);
        QStringList shown;
        for (QAbstractButton *b : box->buttons())
            shown << b->text();
        shown.sort();
        buttons.sort();
        QCOMPARE(shown, buttons);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::StandardButton(enter)));
        QCOMPARE(box->escapeButton(), box->button(QMessageBox::StandardButton(escape)));
        const QLabel *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        QVERIFY(label);
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QCOMPARE(label->text(), text);
    }

    void standardDialogsSpeakItalian()
    {
        AppFixture f;
        QCOMPARE(QLocale().language(), QLocale::Italian);

        QMessageBox box(QMessageBox::Warning, QStringLiteral("Brevan 2.0"), QStringLiteral("?"),
                        QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::Ok)->text(), QStringLiteral("OK"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Annulla"));
        QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Sì"));

        QPrinter printer;
        QPrintDialog print(&printer);
        QCOMPARE(print.windowTitle(), QStringLiteral("Stampa"));
        const QStringList printTexts = texts(&print);
        for (const char *italian : {"Stam&pa", "Annulla", "Stampa fronte/retro", "Rilegatura sul lato lungo",
                                    "Rilegatura sul lato corto", "Pagine", "Fascicola"})
            QVERIFY2(printTexts.contains(QString::fromUtf8(italian)), italian);
        for (const char *english : {"Double Sided Printing", "Off", "Long side binding", "Short side binding",
                                    "Pages", "Print", "Cancel", "Collate"})
            QVERIFY2(!printTexts.contains(QString::fromUtf8(english)), english);

        QPageSetupDialog pageSetup(&printer);
        QCOMPARE(pageSetup.windowTitle(), QStringLiteral("Impostazione pagina"));
        const QStringList pageTexts = texts(&pageSetup);
        for (const char *italian : {"Orientamento", "Margini", "Verticale", "Orizzontale", "Annulla"})
            QVERIFY2(pageTexts.contains(QString::fromUtf8(italian)), italian);

        QColorDialog colour;
        QCOMPARE(colour.windowTitle(), QStringLiteral("Seleziona colore"));
        QVERIFY(texts(&colour).contains(QStringLiteral("Annulla")));
    }
};

QTEST_MAIN(TestStandardDialogs)
#include "tst_standarddialogs.moc"
