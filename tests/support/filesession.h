// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The file commands on the real main window: the window, the file commands,
// the requests they send to other parts, the dialogs' answers, and the small
// steps the tests of saving and opening share.
#include "../support/appfixture.h"
#include "app/fileops.h"
#include "pages/comparablespage.h"
#include "pages/pagekit.h"
#include "pages/picturepage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "store/datafolder.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QTest>

namespace filesession {

using namespace brevan;
using brevan::app::FileOps;
using brevan::app::MainWindow;
using brevan::ui::FileDialogRequest;
using brevan::ui::Messages;

inline const QDate kToday(2031, 6, 15);

// The main window, the file commands, the requests they send to other parts
// in the order sent, and the file names the dialogs answer, one per dialog.
struct Session {
    AppFixture app;
    FileOps ops{app.window.get()};
    QStringList requests;
    QStringList files; // next answers of the file dialogs; "" cancels

    Session()
    {
        ops.today = [] { return kToday; };
        ops.surfaceValues = [] { return QStringList{"45,5", "50,05", "52,123456789"}; };
        QObject::connect(&ops, &FileOps::AttivaSpeedButtonCalcolaSuperficiRequested,
                         [this] { requests << "AttivaSpeedButtonCalcolaSuperfici"; });
        QObject::connect(&ops, &FileOps::ImpostaSemaforiTreeViewRequested,
                         [this] { requests << "ImpostaSemaforiTreeView"; });
        QObject::connect(&ops, &FileOps::clearPreviousAppraisalsRequested,
                         [this] { requests << "clearPreviousAppraisals"; });
        QObject::connect(&ops, &FileOps::surfacesClearedForNewAppraisal,
                         [this] { requests << "surfacesCleared"; });
        Messages::setFileAnswers([this](const FileDialogRequest &) { return files.isEmpty() ? QString() : files.takeFirst(); });
        QDir().mkpath(folder());
    }
    MainWindow *w() const { return app.window.get(); }
    QString folder() const { return app.path("appraisals"); }
    QString inFolder(const QString &name) const { return folder() + QLatin1Char('/') + name; }
    QStringList warnings() const
    {
        QStringList out;
        for (const Messages::Shown &s : Messages::shown())
            out << s.text;
        return out;
    }
    QStringList folderFiles() const { return QDir(folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
};

inline bool tickFor(int number)
{
    switch (number) {
    case 44: case 46: case 47: case 49: return false;
    case 45: case 48: return true; // one option of each trio
    default: return number % 2 == 1;
    }
}

// A value for every field that opening restores, that its control can hold.
inline QVariant sampleValue(const FieldDef &f)
{
    if (f.type == FieldType::Logical)
        return tickFor(f.number);
    const QString name = QString::fromLatin1(f.name);
    if (name == QLatin1String("DataStimaImmob"))
        return QStringLiteral("24/02/1999");
    if (name == QLatin1String("ConsistCatastImmob"))
        return QStringLiteral("5,5 vani");
    const QStringList items = choiceItems(f.choice);
    if (!items.isEmpty())
        return items.at(std::min<qsizetype>(2, items.size() - 1));
    if (f.filter == KeyFilter::Integers)
        return QString::number(f.number * 7).left(f.size);
    if (f.filter == KeyFilter::Decimals)
        return QStringLiteral("%1,5").arg(f.number).left(f.size);
    return (QStringLiteral("T%1 ").arg(f.number) + QStringLiteral("àèìòù").repeated(30)).left(f.size);
}

inline void fillEveryPage(const FileOps &ops)
{
    for (const int n : openingOrder()) {
        const FieldDef &f = recordFields()[n - 1];
        QWidget *c = ops.control(QString::fromLatin1(f.name));
        const QVariant v = sampleValue(f);
        if (auto *b = qobject_cast<QAbstractButton *>(c))
            b->setChecked(v.toBool());
        else if (auto *d = qobject_cast<QDateEdit *>(c))
            d->setDate(QDate::fromString(v.toString(), QStringLiteral("dd/MM/yyyy")));
        else if (auto *combo = qobject_cast<QComboBox *>(c))
            ui::setComboText(combo, v.toString());
        else if (auto *e = qobject_cast<QLineEdit *>(c))
            e->setText(v.toString());
    }
}

inline void fillEveryPage(Session &s)
{
    fillEveryPage(s.ops);
}

inline QImage picture(QSize size, QRgb colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    image.setPixel(1, 1, qRgb(1, 2, 3));
    return image;
}

inline void setPicture(ui::PicturePage *page, const QImage &image)
{
    page->setPicture(image);
    for (QWidget *w : page->pictureControls())
        w->setEnabled(true);
}

inline void setSurfaceRow(MainWindow *w, int row, const QString &description, double area)
{
    ui::TableModel *m = w->surfacesPage->model();
    QVERIFY(m->setData(m->index(row, 0), description));
    QVERIFY(m->setData(m->index(row, 1), area));
}

inline void addComparable(MainWindow *w, const QStringList &texts)
{
    ui::TableModel *m = w->comparablesPage->model();
    const int row = m->appendRow();
    QVERIFY(row >= 0);
    for (int i = 0; i < texts.size(); ++i)
        QVERIFY(m->setData(m->index(row, i), texts.at(i)));
}

inline const QStringList kCompleteComparable{"Via Verdi", "3", "2", "4", "80", "10,5", "-2", "3", "1", "1.500.000", "120.000.000"};

inline QVector<QVariantList> tableRows(const QString &path)
{
    return Table::open(path).rows();
}

inline Table openRecord(const QString &path)
{
    return Table::open(path);
}

inline QString storedText(const QString &path, const char *field)
{
    const Table t = openRecord(path);
    return t.text(t.rowIds().first(), QLatin1String(field));
}

inline void typeInto(QWidget *field, const QString &text)
{
    field->setFocus();
    QTest::keyClicks(field, text);
}

} // namespace filesession
