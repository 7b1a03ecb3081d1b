// SPDX-License-Identifier: GPL-2.0-or-later
// The appraiser's page and the description page: every field of the record's
// first 36 under its name, caption and group; the shared municipality lists;
// key filters as typed; the type-ahead of the location lists; the date range
// and the centring of the panels.
#include "data/municipalities.h"
#include "model/record.h"
#include "pages/appraiserpage.h"
#include "pages/descriptionpage.h"
#include "pages/municipalitycombo.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

using namespace brevan;
using namespace brevan::ui;

namespace {

// Captions and groups as the appraiser sees them, by persisted field.
struct Expected {
    const char *field;
    const char *caption;
    const char *group;
};
const Expected kExpected[] = {
    {"CognomeProfess", "Cognome:", "Generalità del professionista"},
    {"NomeProfess", "Nome:", "Generalità del professionista"},
    {"CodiceFiscaleProfess", "Codice fiscale:", "Generalità del professionista"},
    {"ProfessioneProfess", "Professione:", "Generalità del professionista"},
    {"NumIscrizAlboProfess", "Num. iscrizione all'Albo:", "Generalità del professionista"},
    {"SocietaProfess", "Società:", "Generalità del professionista"},
    {"PartitaIvaProfess", "Partita IVA:", "Generalità del professionista"},
    {"ComuneProfess", "Comune:", "Sede legale e recapiti"},
    {"CAPProfess", "C.A.P.", "Sede legale e recapiti"},
    {"ProvinciaProfess", "Provincia:", "Sede legale e recapiti"},
    {"SiglaProvinciaProfess", "Sigla:", "Sede legale e recapiti"},
    {"IndirizzoProfess", "Indirizzo:", "Sede legale e recapiti"},
    {"NumCivicoProfess", "Num civico:", "Sede legale e recapiti"},
    {"TelefonoProfess", "Telefono:", "Sede legale e recapiti"},
    {"FaxProfess", "Fax:", "Sede legale e recapiti"},
    {"CellulareProfess", "Cellulare:", "Sede legale e recapiti"},
    {"EMailProfess", "E-mail:", "Sede legale e recapiti"},
    {"ComuneImmob", "Comune:", "Ubicazione del fabbricato"},
    {"CAPImmob", "C.A.P.", "Ubicazione del fabbricato"},
    {"ProvinciaImmob", "Provincia:", "Ubicazione del fabbricato"},
    {"SiglaProvinciaImmob", "Sigla:", "Ubicazione del fabbricato"},
    {"IndirizzoImmob", "Indirizzo:", "Ubicazione del fabbricato"},
    {"NumCivicoImmob", "Num civico:", "Ubicazione del fabbricato"},
    {"TipologEdiliziaImmob", "Tipologia edilizia:", "Riferimenti tipologici e temporali"},
    {"TotPianiImmob", "Tot. piani:", "Riferimenti tipologici e temporali"},
    {"PianoImmob", "Piano:", "Riferimenti tipologici e temporali"},
    {"InternoImmob", "Interno:", "Riferimenti tipologici e temporali"},
    {"DataStimaImmob", "Data stima:", "Riferimenti tipologici e temporali"},
    {"AnnoCostruzImmob", "Anno di costruzione o di ristrutturaz. totale:", "Riferimenti tipologici e temporali"},
    {"EtaEdificioImmob", "Età edificio:", "Riferimenti tipologici e temporali"},
    {"FoglioCatastImmob", "Foglio:", "Riferimenti catastali"},
    {"MappaleCatastImmob", "Mappale:", "Riferimenti catastali"},
    {"SubCatastImmob", "Subalterno:", "Riferimenti catastali"},
    {"CategCatastImmob", "Categoria:", "Riferimenti catastali"},
    {"ClasseCatastImmob", "Classe:", "Riferimenti catastali"},
    {"ConsistCatastImmob", "Consistenza:", "Riferimenti catastali"},
};

const Expected *expectedFor(const QString &field)
{
    for (const Expected &e : kExpected) {
        if (field == QString::fromUtf8(e.field))
            return &e;
    }
    return nullptr;
}

QLabel *captionOf(const QWidget *page, const QWidget *field)
{
    QLabel *found = nullptr;
    for (QLabel *l : page->findChildren<QLabel *>()) {
        if (l->buddy() == field) {
            if (found)
                return nullptr; // two captions for one field is a fault too
            found = l;
        }
    }
    return found;
}

// What a field shows: a line edit's text or an editable combo's editor text.
QString shownText(QWidget *w)
{
    if (auto *c = qobject_cast<QComboBox *>(w))
        return c->lineEdit()->text();
    return qobject_cast<QLineEdit *>(w)->text();
}

// An independent reading of "the first entry that begins with", for lists
// whose answer is not obvious by eye.
int oracleFirstStartingWith(const QStringList &items, const QString &prefix)
{
    const QString p = prefix.toLower();
    for (int i = 0; i < items.size(); ++i) {
        if (items.at(i).toLower().startsWith(p))
            return i;
    }
    return -1;
}

struct Pages {
    AppraiserPage appraiser;
    DescriptionPage description;
    Pages()
    {
        appraiser.resize(420, 380);
        description.resize(420, 380);
        appraiser.show();
        description.show();
    }
    QWidget *pageOf(const QString &field)
    {
        const FieldDef *f = recordField(field);
        return f && f->number <= 17 ? static_cast<QWidget *>(&appraiser) : &description;
    }
    template <typename T = QWidget>
    T *control(const QString &field)
    {
        return pageOf(field)->findChild<T *>(field);
    }
};

} // namespace

class TestDescriptionPages : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fields_data()
    {
        QTest::addColumn<QString>("field");
        for (const FieldDef &f : recordFields()) {
            if (f.number > 36)
                break;
            QTest::newRow(f.name) << QString::fromLatin1(f.name);
        }
    }
    void fields()
    {
        QFETCH(QString, field);
        const FieldDef *f = recordField(field);
        QVERIFY(f);
        const Expected *e = expectedFor(field);
        QVERIFY2(e, "no expected caption for this field");

        Pages pages;
        QWidget *page = pages.pageOf(field);
        const QList<QWidget *> named = page->findChildren<QWidget *>(field);
        QCOMPARE(named.size(), 1);
        QWidget *w = named.first();
        QVERIFY(w->isVisibleTo(page));
        QCOMPARE(w->property("brevanControl").toString(), QString::fromLatin1(f->control));
        QCOMPARE(keyFilterOf(w), f->filter);

        QLabel *caption = captionOf(page, w);
        QVERIFY2(caption, "field without exactly one caption");
        QCOMPARE(caption->text(), QString::fromUtf8(e->caption));
        QVERIFY(caption->isVisibleTo(page));

        auto *group = qobject_cast<QGroupBox *>(w->parentWidget());
        QVERIFY(group);
        QCOMPARE(group->title(), QString::fromUtf8(e->group));
        QCOMPARE(caption->parentWidget(), group);

        // Fields with a choice list offer its items; the others are empty lists.
        if (auto *combo = qobject_cast<QComboBox *>(w)) {
            QVERIFY(combo->isEditable());
            QCOMPARE(combo->currentIndex(), -1);
            QCOMPARE(combo->currentText(), QString());
            if (f->choice != Choice::Comuni && f->choice != Choice::CAP) {
                QStringList offered;
                for (int i = 0; i < combo->count(); ++i)
                    offered << combo->itemText(i);
                QCOMPARE(offered, choiceItems(f->choice));
            }
        }
    }

    void pageNamesAndGroups()
    {
        Pages pages;
        QCOMPARE(pages.appraiser.objectName(), QStringLiteral("TabSheet1"));
        QCOMPARE(pages.description.objectName(), QStringLiteral("TabSheet2"));
        QStringList appraiserGroups, descriptionGroups;
        for (QGroupBox *g : pages.appraiser.panel()->findChildren<QGroupBox *>(Qt::FindDirectChildrenOnly))
            appraiserGroups << g->title();
        for (QGroupBox *g : pages.description.panel()->findChildren<QGroupBox *>(Qt::FindDirectChildrenOnly))
            descriptionGroups << g->title();
        QCOMPARE(appraiserGroups, (QStringList{QStringLiteral("Generalità del professionista"),
                                               QStringLiteral("Sede legale e recapiti")}));
        QCOMPARE(descriptionGroups,
                 (QStringList{QStringLiteral("Ubicazione del fabbricato"),
                              QStringLiteral("Riferimenti tipologici e temporali"),
                              QStringLiteral("Riferimenti catastali")}));
    }

    // Group captions are drawn navy in the style the program runs with: the
    // caption's ink, read from the grabbed group, is navy and nothing else.
    void groupCaptionsAreNavy_data()
    {
        QTest::addColumn<bool>("appraiser");
        QTest::addColumn<int>("group");
        QTest::newRow("Generalità del professionista") << true << 0;
        QTest::newRow("Sede legale e recapiti") << true << 1;
        QTest::newRow("Ubicazione del fabbricato") << false << 0;
        QTest::newRow("Riferimenti catastali") << false << 2;
    }
    void groupCaptionsAreNavy()
    {
        QFETCH(bool, appraiser);
        QFETCH(int, group);
        Pages pages;
        QWidget *panel = appraiser ? pages.appraiser.panel() : pages.description.panel();
        QGroupBox *box = panel->findChildren<QGroupBox *>(Qt::FindDirectChildrenOnly).at(group);
        QVERIFY(QTest::qWaitForWindowExposed(panel->window()));
        const QImage shot = box->grab().toImage();
        // The caption: the title's text, at the top of the box.
        const QFontMetrics metrics(box->font());
        const QRect caption(0, 0, std::min(shot.width(), metrics.horizontalAdvance(box->title()) + 20),
                            metrics.height() + 2);
        int navy = 0, otherInk = 0;
        for (int y = caption.top(); y <= caption.bottom(); ++y) {
            for (int x = caption.left(); x <= caption.right(); ++x) {
                const QColor c = shot.pixelColor(x, y);
                if (c.lightness() > 160)
                    continue; // background, the frame's light line, antialiasing
                if (c.blue() - std::max(c.red(), c.green()) > 40)
                    ++navy;
                else
                    ++otherInk;
            }
        }
        // Its darkest ink is navy itself.
        QColor darkest(Qt::white);
        for (int y = caption.top(); y <= caption.bottom(); ++y)
            for (int x = caption.left(); x <= caption.right(); ++x)
                if (shot.pixelColor(x, y).lightness() < darkest.lightness())
                    darkest = shot.pixelColor(x, y);
        QVERIFY2(navy > 40, qPrintable(QStringLiteral("%1 navy, %2 other").arg(navy).arg(otherInk)));
        QVERIFY2(otherInk * 10 < navy, qPrintable(QStringLiteral("%1 navy, %2 other").arg(navy).arg(otherInk)));
        QVERIFY2(darkest.red() < 40 && darkest.green() < 40 && std::abs(darkest.blue() - 128) < 40,
                 qPrintable(darkest.name()));
    }

    // The eight location lists show four models, each built once.
    void sharedLists_data()
    {
        QTest::addColumn<QString>("appraiserField");
        QTest::addColumn<QString>("unitField");
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("firstItem");
        QTest::newRow("municipalities") << "ComuneProfess" << "ComuneImmob" << int(Choice::Comuni) << "Abano Terme";
        QTest::newRow("postal codes") << "CAPProfess" << "CAPImmob" << int(Choice::CAP) << "35031";
        QTest::newRow("provinces") << "ProvinciaProfess" << "ProvinciaImmob" << int(Choice::Province) << "Agrigento";
        QTest::newRow("province codes") << "SiglaProvinciaProfess" << "SiglaProvinciaImmob"
                                        << int(Choice::SigleProvince) << "AG";
    }
    void sharedLists()
    {
        QFETCH(QString, appraiserField);
        QFETCH(QString, unitField);
        QFETCH(int, choice);
        QFETCH(QString, firstItem);
        Pages pages;
        auto *mine = pages.control<QComboBox>(appraiserField);
        auto *unit = pages.control<QComboBox>(unitField);
        QVERIFY(mine && unit);
        QAbstractItemModel *shared = sharedListModel(Choice(choice));
        QVERIFY(shared);
        QCOMPARE(mine->model(), shared);
        QCOMPARE(unit->model(), shared);
        // A second page built later shares the same model too.
        DescriptionPage another;
        QCOMPARE(another.findChild<QComboBox *>(unitField)->model(), shared);

        const int expectedCount = (choice == int(Choice::Comuni) || choice == int(Choice::CAP))
                                      ? municipalities().size()
                                      : 103;
        QCOMPARE(unit->count(), expectedCount);
        QCOMPARE(mine->count(), expectedCount);
        QCOMPARE(unit->itemText(0), firstItem);
    }
    void fourDistinctModels()
    {
        Pages pages;
        QSet<const QAbstractItemModel *> models;
        for (const char *f : {"ComuneImmob", "CAPImmob", "ProvinciaImmob", "SiglaProvinciaImmob", "ComuneProfess",
                              "CAPProfess", "ProvinciaProfess", "SiglaProvinciaProfess"})
            models.insert(pages.control<QComboBox>(QString::fromLatin1(f))->model());
        QCOMPARE(models.size(), 4);
        // The municipality columns stay parallel: row i of the postal codes is
        // the postal code of municipality i.
        auto *names = pages.description.municipalityCombo;
        auto *postal = pages.description.postalCodeCombo;
        const int milano = municipalities().names.indexOf(QStringLiteral("Milano"));
        QVERIFY(milano > 0);
        QCOMPARE(names->itemText(milano), QStringLiteral("Milano"));
        QCOMPARE(postal->itemText(milano), QStringLiteral("20100"));
    }

    // Typed keys go through each field's filter and typed length.
    void keyFilters_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("year: a letter changes nothing") << "AnnoCostruzImmob" << "a" << "";
        QTest::newRow("year: digits go in") << "AnnoCostruzImmob" << "1998" << "1998";
        QTest::newRow("year: letters among digits dropped") << "AnnoCostruzImmob" << "19x9.8" << "1998";
        QTest::newRow("year: six digits keep four") << "AnnoCostruzImmob" << "199812" << "1998";
        QTest::newRow("total floors: two digits") << "TotPianiImmob" << "1a234" << "12";
        QTest::newRow("floor: two digits") << "PianoImmob" << "-3" << "3";
        QTest::newRow("sheet") << "FoglioCatastImmob" << "12b345" << "1234";
        QTest::newRow("parcel") << "MappaleCatastImmob" << "0007" << "0007";
        QTest::newRow("sub-unit") << "SubCatastImmob" << "x" << "";
        QTest::newRow("class: typed length two") << "ClasseCatastImmob" << "1a23" << "12";
        // The record keeps four characters: the field takes no more, so
        // nothing typed is lost on saving.
        QTest::newRow("size: four characters, as stored") << "ConsistCatastImmob" << "5 vani" << "5 va";
        QTest::newRow("category: free typing up to four") << "CategCatastImmob" << "A/100" << "A/10";
        QTest::newRow("building type: free text") << "TipologEdiliziaImmob" << "Villa" << "Villa";
        QTest::newRow("age: pick only") << "EtaEdificioImmob" << "12 anni" << "";
        QTest::newRow("internal number") << "InternoImmob" << "12/Bis-xyz" << "12/Bis-xyz";
        QTest::newRow("register number: digits") << "NumIscrizAlboProfess" << "A-1234/5" << "12345";
        QTest::newRow("VAT number: eleven digits") << "PartitaIvaProfess" << "0123456789012" << "01234567890";
        QTest::newRow("tax code: sixteen") << "CodiceFiscaleProfess" << "RSSMRA80A01H501UXYZ" << "RSSMRA80A01H501U";
        QTest::newRow("house number: ten") << "NumCivicoProfess" << "123/B scala C" << "123/B scal";
        QTest::newRow("e-mail: free") << "EMailProfess" << "a.b@c.it" << "a.b@c.it";
        QTest::newRow("postal code: letter refused") << "CAPProfess" << "x" << "";
    }
    void keyFilters()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        Pages pages;
        QWidget *w = pages.control(field);
        QVERIFY(w);
        // Keys go where the user's keys go: a combo keeps the focus itself and
        // hands typed keys on to its editor.
        w->setFocus();
        QTest::keyClicks(w, typed);
        QCOMPARE(shownText(w), shown);
    }

    // A pick-only list refuses typing, yet Backspace erases what it holds.
    void ageIsPickOnlyButErasable()
    {
        Pages pages;
        QComboBox *age = pages.description.buildingAgeCombo;
        setComboText(age, QStringLiteral("12 anni"));
        QLineEdit *edit = age->lineEdit();
        age->setFocus();
        edit->end(false);
        QTest::keyClicks(age, QStringLiteral("3x "));
        QCOMPARE(edit->text(), QStringLiteral("12 anni"));
        QTest::keyClick(age, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QStringLiteral("12 ann"));
        edit->selectAll();
        QTest::keyClick(age, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QString());
    }

    // Typing into a location list completes to the first entry beginning with
    // the typed text, case ignored, and that counts as choosing it.
    void completion_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<int>("index");

        const MunicipalityList &m = municipalities();
        const int calliano = m.names.indexOf(QStringLiteral("Calliano"));
        const QStringList provinces = provinceNames();
        const QStringList codes = provinceCodes();
        QTest::newRow("calli: the first Calliano") << "ComuneImmob" << "calli" << "Calliano" << "ano" << calliano;
        QTest::newRow("appraiser: calli") << "ComuneProfess" << "calli" << "Calliano" << "ano" << calliano;
        QTest::newRow("whole name typed") << "ComuneImmob" << "Calliano" << "Calliano" << "" << calliano;
        QTest::newRow("abano t") << "ComuneImmob" << "abano t" << "Abano Terme" << "erme"
                                 << m.names.indexOf(QStringLiteral("Abano Terme"));
        QTest::newRow("upper case typed") << "ComuneImmob" << "MILAN" << "Milano" << "o"
                                          << m.names.indexOf(QStringLiteral("Milano"));
        QTest::newRow("apostrophe") << "ComuneImmob" << "l'aq" << "L'Aquila" << "uila"
                                    << m.names.indexOf(QStringLiteral("L'Aquila"));
        QTest::newRow("accented letter") << "ComuneImmob" << "FORLÌ" << "Forlì" << ""
                                         << m.names.indexOf(QStringLiteral("Forlì"));
        // "z" completes (to "Zaccanopoli"), so the capital stays.
        QTest::newRow("zzz: no entry") << "ComuneImmob" << "zzz" << "Zzz" << "" << -1;
        QTest::newRow("match lost on the last key") << "ComuneProfess" << "milanox" << "Milanox" << "" << -1;
        QTest::newRow("province") << "ProvinciaImmob" << "reggio e" << "Reggio Emilia" << "milia"
                                  << int(provinces.indexOf(QStringLiteral("Reggio Emilia")));
        QTest::newRow("appraiser province") << "ProvinciaProfess" << "l'" << "L'Aquila" << "Aquila"
                                            << int(provinces.indexOf(QStringLiteral("L'Aquila")));
        QTest::newRow("province code") << "SiglaProvinciaImmob" << "tn" << "TN" << ""
                                       << int(codes.indexOf(QStringLiteral("TN")));
        QTest::newRow("province code: first beginning with t") << "SiglaProvinciaProfess" << "t" << "TA" << "A"
                                                               << int(codes.indexOf(QStringLiteral("TA")));
        const int postal = oracleFirstStartingWith(m.postalCodes, QStringLiteral("3806"));
        QVERIFY(postal >= 0);
        QTest::newRow("postal code, letter refused") << "CAPImmob" << "38a06" << m.postalCodes.at(postal)
                                                     << m.postalCodes.at(postal).mid(4) << postal;
    }
    void completion()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, selected);
        QFETCH(int, index);
        Pages pages;
        auto *combo = pages.control<QComboBox>(field);
        QVERIFY(combo);
        MunicipalityCombo *typeAhead = MunicipalityCombo::of(combo);
        QVERIFY(typeAhead);
        QSignalSpy chosen(typeAhead, &MunicipalityCombo::chosen);
        QLineEdit *edit = combo->lineEdit();
        combo->setFocus();
        QTest::keyClicks(combo, typed);
        QCOMPARE(edit->text(), shown);
        QCOMPARE(edit->selectedText(), selected);
        QCOMPARE(combo->currentIndex(), index);
        QVERIFY(!chosen.isEmpty());
        QCOMPARE(chosen.last().at(0).toInt(), index);
        // Each accepted key is one choice; refused keys are none.
        QVERIFY(chosen.size() <= typed.size());
    }

    // Backspace first removes the proposed rest, then a character; neither
    // completes again, and what is left is an entry only if it is one exactly.
    void backspace()
    {
        Pages pages;
        QComboBox *combo = pages.description.municipalityCombo;
        QSignalSpy chosen(pages.description.municipalityTypeAhead, &MunicipalityCombo::chosen);
        const int calliano = municipalities().names.indexOf(QStringLiteral("Calliano"));
        QLineEdit *edit = combo->lineEdit();
        combo->setFocus();

        QTest::keyClicks(combo, QStringLiteral("calli"));
        QCOMPARE(edit->text(), QStringLiteral("Calliano"));
        QTest::keyClick(combo, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QStringLiteral("Calli"));
        QCOMPARE(edit->selectedText(), QString());
        QCOMPARE(combo->currentIndex(), -1);
        QCOMPARE(chosen.last().at(0).toInt(), -1);
        QTest::keyClick(combo, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QStringLiteral("Call"));
        QCOMPARE(combo->currentIndex(), -1);

        // Typing again completes again.
        QTest::keyClick(combo, Qt::Key_I);
        QCOMPARE(edit->text(), QStringLiteral("Calliano"));
        QCOMPARE(edit->selectedText(), QStringLiteral("ano"));
        QCOMPARE(combo->currentIndex(), calliano);

        // Past the end of every entry, then back onto an entry's exact text.
        QTest::keyClicks(combo, QStringLiteral("anox"));
        QCOMPARE(edit->text(), QStringLiteral("Callianox"));
        QCOMPARE(combo->currentIndex(), -1);
        QTest::keyClick(combo, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QStringLiteral("Calliano"));
        QCOMPARE(combo->currentIndex(), calliano);
        QCOMPARE(chosen.last().at(0).toInt(), calliano);

        // Erasing everything leaves no choice.
        edit->selectAll();
        QTest::keyClick(combo, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QString());
        QCOMPARE(combo->currentIndex(), -1);
        QCOMPARE(chosen.last().at(0).toInt(), -1);
    }

    // After the program wrote a name, erasing its last letter must not bring
    // it back by completion; typing in the middle completes nothing.
    void editingAfterProgramWrite()
    {
        Pages pages;
        QComboBox *combo = pages.appraiser.municipalityCombo;
        QSignalSpy chosen(pages.appraiser.municipalityTypeAhead, &MunicipalityCombo::chosen);
        QLineEdit *edit = combo->lineEdit();
        combo->setFocus();
        setComboText(combo, QStringLiteral("Milano"));
        QCOMPARE(chosen.size(), 0);
        QCOMPARE(combo->currentIndex(), municipalities().names.indexOf(QStringLiteral("Milano")));

        QTest::keyClick(combo, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QStringLiteral("Milan"));
        QCOMPARE(combo->currentIndex(), -1);
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.last().at(0).toInt(), -1);

        setComboText(combo, QStringLiteral("Roma"));
        edit->setCursorPosition(0);
        QTest::keyClick(combo, Qt::Key_Delete);
        QCOMPARE(edit->text(), QStringLiteral("oma"));
        QCOMPARE(edit->cursorPosition(), 0);
        QTest::keyClick(combo, 'R');
        QCOMPARE(edit->text(), QStringLiteral("Roma"));
        QCOMPARE(edit->cursorPosition(), 1);
        QCOMPARE(combo->currentIndex(), municipalities().names.indexOf(QStringLiteral("Roma")));
    }

    void programWritesChooseNothing()
    {
        Pages pages;
        QSignalSpy appraiserChosen(pages.appraiser.municipalityTypeAhead, &MunicipalityCombo::chosen);
        QSignalSpy unitChosen(pages.description.municipalityTypeAhead, &MunicipalityCombo::chosen);
        QSignalSpy provinceChosen(pages.description.provinceTypeAhead, &MunicipalityCombo::chosen);
        setComboText(pages.description.municipalityCombo, QStringLiteral("Calliano"));
        setComboText(pages.description.provinceCombo, QStringLiteral("Asti"));
        setComboText(pages.appraiser.municipalityCombo, QStringLiteral("Zungri"));
        QCOMPARE(appraiserChosen.size(), 0);
        QCOMPARE(unitChosen.size(), 0);
        QCOMPARE(provinceChosen.size(), 0);
        // The two pages never share a selection.
        QCOMPARE(pages.description.municipalityCombo->currentText(), QStringLiteral("Calliano"));
        QCOMPARE(pages.appraiser.municipalityCombo->currentText(), QStringLiteral("Zungri"));
    }

    // Choosing from the drop-down with the mouse gives the row chosen, also the
    // second of two equal names.
    void mouseChoosesSecondLivo()
    {
        Pages pages;
        QComboBox *combo = pages.description.municipalityCombo;
        QSignalSpy chosen(pages.description.municipalityTypeAhead, &MunicipalityCombo::chosen);
        const QStringList &names = municipalities().names;
        const int first = names.indexOf(QStringLiteral("Livo"));
        const int second = names.indexOf(QStringLiteral("Livo"), first + 1);
        QVERIFY(first >= 0 && second > first);

        combo->showPopup();
        QAbstractItemView *view = combo->view();
        QTRY_VERIFY(view->isVisible());
        const QModelIndex row = combo->model()->index(second, combo->modelColumn());
        view->scrollTo(row);
        const QRect r = view->visualRect(row);
        QVERIFY(r.isValid());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());

        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first().at(0).toInt(), second);
        QCOMPARE(combo->currentIndex(), second);
        QCOMPARE(combo->currentText(), QStringLiteral("Livo"));
        QTRY_VERIFY(!view->isVisible());
    }

    void arrowKeysChoose()
    {
        Pages pages;
        QComboBox *combo = pages.appraiser.provinceCombo;
        QSignalSpy chosen(pages.appraiser.provinceTypeAhead, &MunicipalityCombo::chosen);
        setComboText(combo, QStringLiteral("Asti"));
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(combo->currentText(), QStringLiteral("Avellino"));
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first().at(0).toInt(), int(provinceNames().indexOf(QStringLiteral("Avellino"))));
    }

    void attachTwiceIsOneBehaviour()
    {
        Pages pages;
        QComboBox *combo = pages.description.provinceCodeCombo;
        QCOMPARE(MunicipalityCombo::attach(combo), pages.description.provinceCodeTypeAhead);
        QCOMPARE(MunicipalityCombo::of(combo), pages.description.provinceCodeTypeAhead);
        QCOMPARE(combo->findChildren<MunicipalityCombo *>().size(), 1);
        QCOMPARE(MunicipalityCombo::of(pages.description.categoryCombo), nullptr);
        // Only the location lists complete; the category list does not.
        QSignalSpy chosen(pages.description.provinceCodeTypeAhead, &MunicipalityCombo::chosen);
        QTest::keyClick(combo, Qt::Key_M);
        QCOMPARE(chosen.size(), 1); // one key, one choice, despite the second attach
        QTest::keyClicks(pages.description.categoryCombo, QStringLiteral("a"));
        QCOMPARE(pages.description.categoryCombo->currentText(), QStringLiteral("a"));
    }

    // Finding a name must stay far below what a keystroke can spend.
    void completionIsFast()
    {
        const QStringList &names = municipalities().names;
        QElapsedTimer timer;
        constexpr int kRounds = 200;
        int found = 0;
        timer.start();
        for (int i = 0; i < kRounds; ++i) {
            // No name begins so: the whole list is scanned every time.
            found += MunicipalityCombo::firstStartingWith(names, QStringLiteral("zzz")) < 0;
            found += MunicipalityCombo::firstStartingWith(names, QStringLiteral("zungr")) == names.size() - 1;
        }
        const double perSearchMs = double(timer.nsecsElapsed()) / 1e6 / (2 * kRounds);
        QCOMPARE(found, 2 * kRounds);
        qInfo("worst-case search over %lld names: %.3f ms", qlonglong(names.size()), perSearchMs);
        QVERIFY2(perSearchMs < 1.0, qPrintable(QString::number(perSearchMs)));

        // A whole keystroke, from key press to completed text and choice.
        Pages pages;
        QComboBox *combo = pages.description.municipalityCombo;
        QLineEdit *edit = combo->lineEdit();
        combo->setFocus();
        QTest::keyClicks(combo, QStringLiteral("zz"));
        timer.restart();
        for (int i = 0; i < kRounds; ++i) {
            QTest::keyClick(combo, Qt::Key_Z);
            QTest::keyClick(combo, Qt::Key_Backspace);
        }
        const double perKeyMs = double(timer.nsecsElapsed()) / 1e6 / (2 * kRounds);
        QCOMPARE(edit->text(), QStringLiteral("Zz"));
        qInfo("keystroke in the municipality list: %.3f ms", perKeyMs);
        QVERIFY2(perKeyMs < 2.0, qPrintable(QString::number(perKeyMs)));
    }

    void firstStartingWith_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<int>("index");
        const QStringList items{QStringLiteral("Castro"), QStringLiteral("Castel San Pietro Terme"),
                                QStringLiteral("Castro"), QStringLiteral("Càstano")};
        QTest::newRow("empty prefix chooses nothing") << items << QString() << -1;
        QTest::newRow("first of equal names") << items << QStringLiteral("castro") << 0;
        QTest::newRow("list order, not alphabetical") << items << QStringLiteral("cast") << 0;
        QTest::newRow("blank inside the prefix") << items << QStringLiteral("castel s") << 1;
        QTest::newRow("accents are letters of their own") << items << QStringLiteral("cà") << 3;
        QTest::newRow("accented prefix in upper case") << items << QStringLiteral("CÀS") << 3;
        QTest::newRow("longer than every item") << items << QStringLiteral("Castro Marina") << -1;
        QTest::newRow("empty list") << QStringList() << QStringLiteral("a") << -1;
    }
    void firstStartingWith()
    {
        QFETCH(QStringList, items);
        QFETCH(QString, prefix);
        QFETCH(int, index);
        QCOMPARE(MunicipalityCombo::firstStartingWith(items, prefix), index);
    }

    void appraisalDate()
    {
        Pages pages;
        QDateEdit *date = pages.description.dateEdit;
        QCOMPARE(date->objectName(), QStringLiteral("DataStimaImmob"));
        QCOMPARE(date->minimumDate(), QDate(1800, 1, 1));
        QCOMPARE(date->maximumDate(), QDate(2100, 12, 31));
        QVERIFY(date->calendarPopup());
        QCOMPARE(date->calendarWidget()->minimumDate(), QDate(1800, 1, 1));
        QCOMPARE(date->calendarWidget()->maximumDate(), QDate(2100, 12, 31));

        // Italian month names whatever the machine's locale (tests run in C).
        date->setDate(QDate(2002, 9, 28));
        QCOMPARE(date->text(), QStringLiteral("28 settembre 2002"));
        date->setDate(QDate(1800, 1, 1));
        QCOMPARE(date->text(), QStringLiteral("1 gennaio 1800"));
        date->setDate(QDate(2100, 12, 31));
        QCOMPARE(date->text(), QStringLiteral("31 dicembre 2100"));

        // Out of range: held at the nearest limit.
        date->setDate(QDate(1799, 12, 31));
        QCOMPARE(date->date(), QDate(1800, 1, 1));
        date->setDate(QDate(2101, 1, 1));
        QCOMPARE(date->date(), QDate(2100, 12, 31));
        date->setFocus();
        date->setCurrentSection(QDateTimeEdit::YearSection);
        QTest::keyClick(date, Qt::Key_Up);
        QCOMPARE(date->date(), QDate(2100, 12, 31));
    }

    // "Data stima:" is one Tab stop: Tab and Shift+Tab leave it at once,
    // whichever of day, month and year the cursor is in.
    void appraisalDateIsOneTabStop_data()
    {
        QTest::addColumn<bool>("forward");
        QTest::addColumn<int>("section"); // QDateTimeEdit::Section
        QTest::newRow("Tab from the day") << true << int(QDateTimeEdit::DaySection);
        QTest::newRow("Tab from the month") << true << int(QDateTimeEdit::MonthSection);
        QTest::newRow("Shift+Tab from the month") << false << int(QDateTimeEdit::MonthSection);
        QTest::newRow("Shift+Tab from the year") << false << int(QDateTimeEdit::YearSection);
    }
    void appraisalDateIsOneTabStop()
    {
        QFETCH(bool, forward);
        QFETCH(int, section);
        Pages pages;
        QDateEdit *date = pages.description.dateEdit;
        pages.description.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&pages.description));
        date->setFocus(Qt::TabFocusReason);
        date->setCurrentSection(QDateTimeEdit::Section(section));
        QVERIFY(date->hasFocus());
        const QDate before = date->date();
        QTest::keyClick(date, Qt::Key_Tab, forward ? Qt::NoModifier : Qt::ShiftModifier);
        QVERIFY(!date->hasFocus());
        QWidget *now = QApplication::focusWidget();
        QVERIFY(now && pages.description.isAncestorOf(now));
        QCOMPARE(date->date(), before);
    }

    // Only the category field has a hint at start; it has no tooltip part.
    void initialHints()
    {
        Pages pages;
        QComboBox *category = pages.description.categoryCombo;
        QCOMPARE(category->statusTip(), QStringLiteral("Categoria catastale del fabbricato."));
        QCOMPARE(category->toolTip(), QString());
        for (QWidget *page : {static_cast<QWidget *>(&pages.appraiser), static_cast<QWidget *>(&pages.description)}) {
            for (QWidget *w : page->findChildren<QWidget *>()) {
                if (w == category)
                    continue;
                QVERIFY2(w->statusTip().isEmpty() && w->toolTip().isEmpty(), qPrintable(w->objectName()));
            }
        }
    }

    // The panel keeps its size and is centred, halves truncated toward zero;
    // a page smaller than the panel cuts its edges off.
    // The pick lists are built without their drop-down windows (Qt builds one
    // when a list first opens), and still lay out as Qt's own lists with an
    // item-free size hint do.
    void pickListsWithoutDropDowns()
    {
        Pages pages;
        auto isDropDown = [](QObject *o) {
            return QByteArray(o->metaObject()->className()) == "QComboBoxPrivateContainer";
        };
        QComboBox reference;
        reference.setEditable(true);
        reference.setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        reference.setFont(pages.description.municipalityCombo->font());
        for (QWidget *page : {static_cast<QWidget *>(&pages.appraiser), static_cast<QWidget *>(&pages.description)}) {
            for (QComboBox *combo : page->findChildren<QComboBox *>()) {
                QVERIFY2(combo->isEditable(), qPrintable(combo->objectName()));
                QVERIFY2(!combo->completer(), qPrintable(combo->objectName()));
                const QObjectList children = combo->children();
                QVERIFY2(std::none_of(children.begin(), children.end(), isDropDown), qPrintable(combo->objectName()));
            }
        }
        QComboBox *combo = pages.description.municipalityCombo;
        QCOMPARE(combo->sizeHint(), reference.sizeHint());
        QCOMPARE(combo->minimumSizeHint(), reference.minimumSizeHint());
    }

    // The municipality drop-down, built on the first click, gets its width and
    // its equal row heights then.
    void municipalityDropDownOnFirstClick()
    {
        Pages pages;
        QComboBox *combo = pages.description.municipalityCombo;
        QTest::mousePress(combo, Qt::LeftButton, {}, QPoint(combo->width() - 4, combo->height() / 2));
        auto *list = qobject_cast<QListView *>(combo->view());
        QVERIFY(list);
        QVERIFY(list->uniformItemSizes());
        QCOMPARE(list->minimumWidth(), 200);
        QCOMPARE(combo->count(), municipalities().size());
        combo->hidePopup();
    }

    void centring_data()
    {
        QTest::addColumn<QSize>("pageSize");
        QTest::addColumn<QPoint>("offset");
        QTest::newRow("page area at 640 x 480") << QSize(420, 380) << QPoint(2, 4);
        QTest::newRow("page area at 808 x 600") << QSize(590, 500) << QPoint(87, 64);
        QTest::newRow("odd spare room") << QSize(420, 379) << QPoint(2, 3);
        QTest::newRow("one pixel short: zero, not minus one") << QSize(414, 371) << QPoint(0, 0);
        QTest::newRow("smaller than the panel") << QSize(300, 200) << QPoint(-57, -86);
    }
    void centring()
    {
        QFETCH(QSize, pageSize);
        QFETCH(QPoint, offset);
        Pages pages;
        for (CentredPage *page : {static_cast<CentredPage *>(&pages.appraiser),
                                  static_cast<CentredPage *>(&pages.description)}) {
            page->resize(pageSize);
            QCoreApplication::processEvents();
            QCOMPARE(page->panel()->pos(), offset);
            QCOMPARE(page->panel()->size(), QSize(415, 372));
        }
    }

    // Clean layout: every group inside the panel, no two controls of a group
    // overlapping, nothing outside its group, no caption cut short.
    void layout_data()
    {
        QTest::addColumn<bool>("description");
        QTest::newRow("appraiser") << false;
        QTest::newRow("description") << true;
    }
    void layout()
    {
        QFETCH(bool, description);
        Pages pages;
        CentredPage *page = description ? static_cast<CentredPage *>(&pages.description)
                                        : static_cast<CentredPage *>(&pages.appraiser);
        const QRect panelRect(QPoint(0, 0), page->panel()->size());
        const QList<QGroupBox *> groups = page->panel()->findChildren<QGroupBox *>(Qt::FindDirectChildrenOnly);
        QVERIFY(!groups.isEmpty());
        for (int i = 0; i < groups.size(); ++i) {
            QVERIFY(panelRect.contains(groups[i]->geometry()));
            for (int j = i + 1; j < groups.size(); ++j)
                QVERIFY(!groups[i]->geometry().intersects(groups[j]->geometry()));
        }
        for (QGroupBox *g : groups) {
            // Below the caption, inside the frame.
            const QRect inside = g->rect().adjusted(2, QFontMetrics(g->font()).height(), -2, -2);
            QList<QWidget *> controls;
            for (QWidget *w : g->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                if (w->isVisibleTo(g))
                    controls << w;
            }
            for (QWidget *w : controls) {
                const QString what = g->title() + QLatin1Char('/') + w->objectName() +
                                     (qobject_cast<QLabel *>(w) ? qobject_cast<QLabel *>(w)->text() : QString());
                QVERIFY2(inside.contains(w->geometry()), qPrintable(what));
                if (auto *l = qobject_cast<QLabel *>(w)) {
                    if (l->wordWrap()) {
                        QVERIFY2(l->heightForWidth(l->width()) <= l->height(), qPrintable(what));
                    } else {
                        QVERIFY2(l->width() >= l->sizeHint().width(), qPrintable(what));
                    }
                }
                for (QWidget *other : controls) {
                    if (other != w)
                        QVERIFY2(!w->geometry().intersects(other->geometry()),
                                 qPrintable(what + QStringLiteral(" overlaps ") + other->objectName()));
                }
            }
        }
    }
};

QTEST_MAIN(TestDescriptionPages)
#include "tst_descriptionpages.moc"
