// SPDX-License-Identifier: GPL-2.0-or-later
#include "../support/appfixture.h"
#include "app/application.h"

#include "app/startpage.h"

#include <QClipboard>
#include <QStackedWidget>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

using namespace brevan;
using brevan::app::MainWindow;

namespace {

QLineEdit *editOf(QWidget *w)
{
    if (auto *c = qobject_cast<QComboBox *>(w))
        return c->lineEdit();
    return qobject_cast<QLineEdit *>(w);
}

} // namespace

class TestClipboard : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<AppFixture> f;
    QWidget *field(const char *name) { return f->window->findChild<QWidget *>(QLatin1String(name)); }
    // Shows the field's page and gives it the focus, as a user clicking in it.
    QLineEdit *focusField(const char *name, const QString &text, int selStart, int selLength)
    {
        QWidget *w = field(name);
        if (!w)
            qFatal("no field %s", name);
        for (int n = 1; n <= MainWindow::kPageNodes; ++n) {
            if (f->window->pages->widget(n)->isAncestorOf(w))
                f->window->selectNode(n);
        }
        QLineEdit *e = editOf(w);
        e->setText(text);
        w->setFocus();
        e->setFocus();
        QApplication::processEvents();
        if (selLength > 0)
            e->setSelection(selStart, selLength);
        else
            e->deselect();
        return e;
    }

private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }
    void init()
    {
        f = std::make_unique<AppFixture>();
        f->window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f->window.get()));
        QApplication::setActiveWindow(f->window.get());
        QGuiApplication::clipboard()->setText(QStringLiteral("prima"));
    }
    void cleanup() { f.reset(); }

    void coveredFields()
    {
        const auto &covered = f->window->coveredFields();
        QCOMPARE(covered.size(), 75);
        int editable = 0;
        for (const auto &c : covered)
            editable += c.editable;
        QCOMPARE(editable, 66);
        QCOMPARE(covered.first().widget->objectName(), QStringLiteral("CognomeProfess"));
        QCOMPARE(covered.last().widget->objectName(), QStringLiteral("CICostoComplessivo"));
    }

    void cutInMunicipality()
    {
        QLineEdit *e = focusField("ComuneImmob", "Rosignano Marittimo", 0, 3);
        f->window->SpeedButton4Click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Ros"));
        QCOMPARE(e->text(), QString());
    }

    void cutKeyInReadOnlyResultCopiesOnly()
    {
        QLineEdit *e = focusField("RedditoNettoAnnuo", "1.234.567,50", 2, 3);
        QTest::keyClick(e, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("234"));
        QCOMPARE(e->text(), QStringLiteral("1.234.567,50"));
    }

    void pasteBypassesKeyFilter()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("millenovecento"));
        QLineEdit *e = focusField("AnnoCostruzImmob", "1990", 0, 0);
        QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(e->text(), QStringLiteral("millenovecento"));
        QVERIFY(f->window->startPage->transferField()->text().isEmpty());
    }

    void pasteReplacesWholeText()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("Bianchi"));
        QLineEdit *e = focusField("CognomeProfess", "Rossi", 1, 2);
        f->window->SpeedButton6Click();
        QCOMPARE(e->text(), QStringLiteral("Bianchi"));
    }

    void pasteIntoComboRunsNoReaction()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("Abano Terme"));
        auto *combo = qobject_cast<QComboBox *>(field("ComuneImmob"));
        QSignalSpy activated(combo, &QComboBox::textActivated);
        QSignalSpy edited(combo->lineEdit(), &QLineEdit::textEdited);
        focusField("ComuneImmob", "", 0, 0);
        f->window->SpeedButton6Click();
        QCOMPARE(combo->currentText(), QStringLiteral("Abano Terme"));
        QCOMPARE(activated.count(), 0);
        QCOMPARE(edited.count(), 0);
    }

    void keysOutsideTheListDoNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("environment judgment") << "IdoneitaInsediat";
        QTest::newRow("comparables editor") << "DBEdit1";
    }
    void keysOutsideTheListDoNothing()
    {
        QFETCH(QString, name);
        QLineEdit *e = focusField(qPrintable(name), "Buono", 0, 5);
        QTest::keyClick(e, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("prima"));
        QTest::keyClick(e, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(e->text(), QStringLiteral("Buono"));
        QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(e->text(), QStringLiteral("Buono"));
    }

    void copyWithoutSelectionDoesNothing()
    {
        focusField("NomeProfess", "Mario", 0, 0);
        f->window->SpeedButton5Click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("prima"));
    }

    void pasteWithPictureOnlyDoesNothing()
    {
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QGuiApplication::clipboard()->setImage(picture);
        QLineEdit *e = focusField("IndirizzoImmob", "via Roma", 0, 0);
        f->window->SpeedButton6Click();
        QCOMPARE(e->text(), QStringLiteral("via Roma"));
    }

    void multiLineTextArrivesAsOneLine()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("via Roma\n12"));
        QLineEdit *e = focusField("IndirizzoImmob", "", 0, 0);
        f->window->SpeedButton6Click();
        QCOMPARE(e->text(), QStringLiteral("via Roma"));
    }
};

QTEST_MAIN(TestClipboard)
#include "tst_clipboard.moc"
