// SPDX-License-Identifier: GPL-2.0-or-later
// Times the table store's hot paths: a 149-field one-row appraisal table
// created, filled and read back, and a 36-row surfaces table copied.
#include "model/record.h"
#include "store/datafolder.h"
#include "store/tablestore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace brevan;

namespace {

template <typename Fn>
double medianMs(int runs, Fn &&fn)
{
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        fn(i);
        t.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

Layout recordLayout()
{
    Layout l;
    for (const FieldDef &f : recordFields()) {
        const ColumnType type = f.type == FieldType::Text      ? ColumnType::Text
                                : f.type == FieldType::Logical ? ColumnType::Logical
                                                               : ColumnType::Real;
        l << Column{QString::fromLatin1(f.name), type, f.size};
    }
    return l;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const Layout layout = recordLayout();
    QVariantList values;
    for (const Column &c : layout) {
        switch (c.type) {
        case ColumnType::Text: values << QString(c.size, QLatin1Char('x')); break;
        case ColumnType::Logical: values << true; break;
        case ColumnType::Real: values << 1.05; break;
        }
    }
    const int runs = 31;
    const double appraisal = medianMs(runs, [&](int i) {
        const QString p = dir.filePath(QStringLiteral("Stima - %1.db").arg(i));
        Table::create(p, layout);
        Table::open(p).append(values);
        Table t = Table::open(p, Trust::Foreign, false);
        const QVariantList back = t.rows().first();
        if (back.size() != 149)
            std::abort();
    });

    const QString surfaces = dir.filePath(QStringLiteral("DescrSup.db"));
    Table::create(surfaces, surfacesLayout());
    {
        Table t = Table::open(surfaces);
        t.transaction([&] {
            for (int i = 0; i < 36; ++i)
                t.append({QStringLiteral("Camera"), 20.0 + i});
        });
    }
    const double copy = medianMs(runs, [&](int i) {
        Table::copy(surfaces, dir.filePath(QStringLiteral("Superfici - %1.db").arg(i)), surfacesLayout());
    });

    std::printf("appraisal table (149 fields, create + write + read back): median %.2f ms over %d runs\n", appraisal, runs);
    std::printf("surfaces table copy (36 rows): median %.2f ms over %d runs\n", copy, runs);
    return 0;
}
