// SPDX-License-Identifier: GPL-2.0-or-later
#include "model/record.h"

#include <QSet>
#include <QTest>

using namespace brevan;

class TestRecord : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fieldsInStoredOrder()
    {
        const auto fields = recordFields();
        QCOMPARE(int(fields.size()), 149);
        int text = 0, logical = 0, real = 0;
        QSet<QString> names;
        for (size_t i = 0; i < fields.size(); ++i) {
            const FieldDef &f = fields[i];
            QCOMPARE(f.number, int(i) + 1);
            QVERIFY2(!names.contains(QString::fromLatin1(f.name)), f.name);
            names.insert(QString::fromLatin1(f.name));
            switch (f.type) {
            case FieldType::Text:
                ++text;
                QVERIFY2(f.size > 0, f.name);
                break;
            case FieldType::Logical: ++logical; QCOMPARE(f.size, 0); break;
            case FieldType::Real: ++real; QCOMPARE(f.size, 0); break;
            }
        }
        QCOMPARE(text, 84);
        QCOMPARE(logical, 28);
        QCOMPARE(real, 37);
    }

    // A control that took more characters than its field stores would lose
    // the rest on saving, without a word.
    void nothingTypedIsLostOnSaving()
    {
        for (const FieldDef &f : recordFields()) {
            if (f.type == FieldType::Text && *f.control)
                QVERIFY2(f.typed <= f.size, f.name);
        }
    }

    void telling_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("control");
        QTest::newRow("first") << "CognomeProfess" << 1 << int(FieldType::Text) << 30 << "Edit6";
        QTest::newRow("e-mail") << "EMailProfess" << 17 << int(FieldType::Text) << 100 << "Edit5";
        QTest::newRow("date") << "DataStimaImmob" << 28 << int(FieldType::Text) << 10 << "DateTimePicker1";
        QTest::newRow("consistenza cut to four") << "ConsistCatastImmob" << 36 << int(FieldType::Text) << 4 << "Edit21";
        QTest::newRow("photo name") << "FotoImmob" << 37 << int(FieldType::Text) << 150 << "";
        QTest::newRow("commercial surface") << "SupCommercImmob" << 43 << int(FieldType::Text) << 10 << "";
        QTest::newRow("small town") << "PiccoleDimensImmob" << 44 << int(FieldType::Logical) << 0 << "RadioButton1";
        QTest::newRow("floor judgment") << "QuotaDaPianoStrad" << 75 << int(FieldType::Text) << 16 << "ComboBox43";
        QTest::newRow("water reserve") << "RiservaIdrica" << 83 << int(FieldType::Logical) << 0 << "CheckBox6";
        QTest::newRow("net income") << "RedditoNettoAnnuo" << 107 << int(FieldType::Text) << 15 << "Edit32";
        QTest::newRow("first coefficient") << "CICentrRispCentrUrb" << 108 << int(FieldType::Real) << 0 << "";
        QTest::newRow("rate") << "SaggioCapitalizzaz" << 129 << int(FieldType::Real) << 0 << "";
        QTest::newRow("last coefficient") << "CDCarattProduttive" << 144 << int(FieldType::Real) << 0 << "";
        QTest::newRow("comparables file") << "TableNameImmobConfr" << 145 << int(FieldType::Text) << 150 << "";
        QTest::newRow("last") << "CICostoComplessivo" << 149 << int(FieldType::Text) << 15 << "Edit53";
    }
    void telling()
    {
        QFETCH(QString, name);
        QFETCH(int, number);
        QFETCH(int, type);
        QFETCH(int, size);
        QFETCH(QString, control);
        const FieldDef *f = recordField(name);
        QVERIFY(f);
        QCOMPARE(f->number, number);
        QCOMPARE(int(f->type), type);
        QCOMPARE(f->size, size);
        QCOMPARE(QString::fromLatin1(f->control), control);
        QCOMPARE(&recordFields()[size_t(number - 1)], f);
    }

    void openRoles()
    {
        const QSet<int> companions{37, 38, 39, 40, 145};
        QSet<int> recomputed{41, 42, 43, 100, 107, 146, 147, 148, 149};
        for (int f = 108; f <= 144; ++f)
            recomputed.insert(f);
        for (const FieldDef &f : recordFields()) {
            if (companions.contains(f.number))
                QCOMPARE(f.open, OpenRole::Companion);
            else if (recomputed.contains(f.number))
                QCOMPARE(f.open, OpenRole::Recomputed);
            else
                QCOMPARE(f.open, OpenRole::Restore);
        }
    }

    void openingOrderCoversRestoredFieldsOnce()
    {
        const auto order = openingOrder();
        QSet<int> seen;
        for (int n : order) {
            QVERIFY2(!seen.contains(n), qPrintable(QString::number(n)));
            seen.insert(n);
            QCOMPARE(recordFields()[size_t(n - 1)].open, OpenRole::Restore);
        }
        int restored = 0;
        for (const FieldDef &f : recordFields())
            restored += f.open == OpenRole::Restore;
        QCOMPARE(int(order.size()), restored);
    }

    void openingOrderSequence()
    {
        // The options that propose a value come before the value that replaces
        // the proposal; the expenses come after the rents and rates.
        const auto order = openingOrder();
        auto pos = [&](int field) { return int(std::find(order.begin(), order.end(), field) - order.begin()); };
        QCOMPARE(pos(1), 0);
        QCOMPARE(pos(28), 27);
        QVERIFY(pos(36) < pos(44));
        QVERIFY(pos(46) < pos(51));  // city size before the average rate
        QVERIFY(pos(51) < pos(47));  // rate before the zone options
        QVERIFY(pos(49) < pos(52));
        QVERIFY(pos(85) < pos(86) && pos(86) < pos(87) && pos(87) < pos(88) && pos(88) < pos(89));
        QVERIFY(pos(99) < pos(101));
        QCOMPARE(order.back(), 106);
    }

    void appraiserFieldsAreTheFirstSeventeen()
    {
        const auto a = appraiserFields();
        QCOMPARE(int(a.size()), 17);
        QCOMPARE(QString::fromLatin1(a.back().name), QStringLiteral("EMailProfess"));
    }

    void choiceLists_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("building type") << "TipologEdiliziaImmob"
                                       << QStringList{"Edificio a schiera", "Edificio unifamiliare", "Edificio plurifamiliare"};
        QTest::newRow("distance") << "DistanzaViaPrincip"
                                  << QStringList{"Meno di 100 metri", "Meno di 250 metri", "Meno di 500 metri",
                                                 "Meno di 1000 metri", "Oltre i 1000 metri"};
        QTest::newRow("transport") << "ServTraspPubblico"
                                   << QStringList{"Presente una sola linea", QString::fromUtf8("Presenti due o più linee"),
                                                  "Assente: fermata entro 100 metri", "Assente: fermata entro 500 metri",
                                                  "Assente: fermata oltre 500 metri"};
        const QStringList m{"Scarso", "Mediocre", "Sufficiente", "Buono", "Ottimo"};
        for (const char *f : {"QualifAmbienteExt", "IdoneitaInsediat", "MiglioramAmbiente", "InquinamAmbiente",
                              "VerdePubblico", "SuperfAccessorie"})
            QTest::newRow(f) << f << m;
        QTest::newRow("parking") << "DisponibAreeSosta" << QStringList{"Scarsa", "Mediocre", "Sufficiente", "Buona", "Ottima"};
        QTest::newRow("floor") << "QuotaDaPianoStrad"
                               << QStringList{"Piano terra", "Primo piano", "Piano intermedio", "Ultimo piano", "Piano attico"};
        for (const char *f : {"Luminosita", "Panoramicita", "Esposizione", "Prospicienza"})
            QTest::newRow(f) << f << QStringList{"Scarsa", "Insufficiente", "Sufficiente", "Buona", "Ottima"};
        QTest::newRow("lift") << "AscensoreTipo" << QStringList{"Singolo", "Doppio"};
        QTest::newRow("heating") << "RiscaldamentoTipo" << QStringList{"Centralizzato", "Pompa di calore"};
        QTest::newRow("state inside") << "StatoConservInt"
                                      << QStringList{"Scarso", "Mediocre", "Sufficiente", "Discreto", "Buono", "Ottimo"};
        QTest::newRow("state outside") << "StatoConservExt" << m;
        QTest::newRow("finish inside") << "GradoRifinitInt"
                                       << QStringList{"Scarso", "Ordinario", "Sufficiente", "Discreto", "Buono", "Ottimo"};
        QTest::newRow("finish outside") << "GradoRifinitExt"
                                        << QStringList{"Ordinario", "Sufficiente", "Discreto", "Buono", "Ottimo"};
        QTest::newRow("plants") << "PresImpiantiTecnol"
                                << QStringList{"Scarso", "Mediocre", "Sufficiente", "Discreto", "Buono", "Ottimo"};
        QTest::newRow("plant level") << "LivImpiantiTecnol" << QStringList{"Sufficiente", "Discreto", "Buono", "Ottimo"};
    }
    void choiceLists()
    {
        QFETCH(QString, field);
        QFETCH(QStringList, items);
        const FieldDef *f = recordField(field);
        QVERIFY(f);
        QCOMPARE(choiceItems(f->choice), items);
    }

    void provinces()
    {
        const QStringList names = provinceNames();
        const QStringList codes = provinceCodes();
        QCOMPARE(names.size(), 103);
        QCOMPARE(codes.size(), 103);
        QCOMPARE(QSet<QString>(codes.begin(), codes.end()).size(), 103);
        QCOMPARE(names.first(), QStringLiteral("Agrigento"));
        QCOMPARE(names.last(), QStringLiteral("Viterbo"));
        const struct { const char *name, *code; } rows[] = {
            {"Crotone", "KR"}, {"Forlì", "FO"}, {"L'Aquila", "AQ"}, {"La Spezia", "SP"}, {"Pesaro", "PS"},
            {"Massa Carrara", "MS"}, {"Verbania", "VB"}, {"Vibo Valentia", "VV"}};
        for (const auto &r : rows) {
            const int i = names.indexOf(QString::fromUtf8(r.name));
            QVERIFY2(i >= 0, r.name);
            QCOMPARE(codes.at(i), QString::fromLatin1(r.code));
        }
        // "La Spezia" stands before "L'Aquila" in the list, as the list is given.
        QVERIFY(names.indexOf("La Spezia") < names.indexOf("L'Aquila"));
        for (const QString &n : names)
            QVERIFY(n.size() <= 20);
    }

    void cadastralCategories()
    {
        const QStringList codes = cadastralCodes();
        const QStringList texts = cadastralDescriptions();
        QCOMPARE(codes.size(), 47);
        QCOMPARE(texts.size(), 47);
        QStringList expected;
        const struct { char group; int count; } groups[] = {{'A', 11}, {'B', 8}, {'C', 7}, {'D', 12}, {'E', 9}};
        for (const auto &g : groups)
            for (int i = 1; i <= g.count; ++i)
                expected << QStringLiteral("%1/%2").arg(QChar::fromLatin1(g.group)).arg(i);
        QCOMPARE(codes, expected);
        QCOMPARE(texts.at(codes.indexOf("A/2")), QStringLiteral("Abitazione di tipo civile."));
        QCOMPARE(texts.at(codes.indexOf("A/11")), QStringLiteral("Abitazioni e allogi tipici locali."));
        QCOMPARE(texts.at(codes.indexOf("E/9")),
                 QStringLiteral("Edifici a destinazione particolare non compresi nelle precedenti categorie del gruppo E."));
        QCOMPARE(choiceItems(Choice::CategorieCatastali), codes);
    }

    // Characters as a field's size counts them: a character beyond U+FFFF
    // is one, and a cut never leaves half of one.
    void charactersCounted_data()
    {
        const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("cutAt");
        QTest::addColumn<QString>("cut");
        QTest::newRow("plain") << QStringLiteral("Rossi") << 5 << 3 << QStringLiteral("Ros");
        QTest::newRow("accents") << QStringLiteral("Città") << 5 << 5 << QStringLiteral("Città");
        QTest::newRow("emoji at the end") << QStringLiteral("ab") + emoji << 3 << 3 << QStringLiteral("ab") + emoji;
        QTest::newRow("cut before an emoji") << QStringLiteral("ab") + emoji << 3 << 2 << QStringLiteral("ab");
        QTest::newRow("cut after an emoji") << emoji + QStringLiteral("cd") << 3 << 2 << emoji + QStringLiteral("c");
        QTest::newRow("lone surrogate") << QStringLiteral("a") + QChar(0xD83D) + QStringLiteral("b") << 3 << 2
                                        << QStringLiteral("a") + QChar(0xD83D);
        QTest::newRow("empty") << QString() << 0 << 4 << QString();
    }
    void charactersCounted()
    {
        QFETCH(QString, text);
        QFETCH(int, count);
        QFETCH(int, cutAt);
        QFETCH(QString, cut);
        QCOMPARE(characterCount(text), qsizetype(count));
        QCOMPARE(firstCharacters(text, cutAt), cut);
    }
};

QTEST_GUILESS_MAIN(TestRecord)
#include "tst_record.moc"
