// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The pages' work as one: every chain between the subsystems, in one place,
// and an appraisal worked on without a window. Each subsystem reacts to its
// own fields; when a step of an operation is another subsystem's operation,
// the first emits a request that is connected here to the operation that
// carries it out. Direct connections run at once, in the order the requests
// are emitted, so each chain keeps its order.
#include "engine/fieldstore.h"
#include "valuation/coefficients.h"
#include "valuation/comparison.h"

#include <memory>

namespace brevan::engine {

class CadastralWork;
class CharacteristicsWork;
class DescriptionWork;
class IncomeWork;
class LightsWork;
class McaWork;
class OmiWork;
class PeriziaWork;
class ReportWork;
class ResultsWork;
class SurfacesWork;
class ValueWork;

// The subsystems, each with its window's additions or without.
struct Works {
    DescriptionWork *description = nullptr;
    SurfacesWork *surfaces = nullptr;
    CharacteristicsWork *characteristics = nullptr;
    IncomeWork *income = nullptr;
    ValueWork *value = nullptr;
    LightsWork *lights = nullptr;
    ResultsWork *results = nullptr;
    ReportWork *report = nullptr;
    McaWork *mca = nullptr;
    CadastralWork *cadastral = nullptr;
    OmiWork *omi = nullptr;
    PeriziaWork *perizia = nullptr;
};

// The chains between the subsystems, and what each reads of the others.
void connectWorks(const Works &works);

// TableImmobConfrCompleta: 3 without comparables, 1 when all are complete,
// 2 otherwise.
int comparablesCompleteness(const QList<ComparableRow> &rows);

// An appraisal worked on without a window: the fields, the coefficients and
// every subsystem, chained as behind the window. Notices go to notices.
class AppraisalWork {
public:
    explicit AppraisalWork(Notices &notices);
    ~AppraisalWork();
    AppraisalWork(const AppraisalWork &) = delete;
    AppraisalWork &operator=(const AppraisalWork &) = delete;

    FieldStore &fields() { return m_fields; }
    Coefficients &coefficients() { return m_coefficients; }
    const Works &works() const { return m_works; }

private:
    FieldStore m_fields;
    Coefficients m_coefficients;
    Works m_works;
    std::unique_ptr<QObject> m_owner; // parent of every subsystem
};

} // namespace brevan::engine
