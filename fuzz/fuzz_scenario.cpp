// Scenario files on any contents: a file is either refused with one of the reasons a person
// is shown, or read into figures and a style the window accepts; what is read is written
// back and read again unchanged, keys this version does not know included.

#include "fuzz_support.h"

#include "scenario.h"

using namespace brevant;

namespace {

void CheckRanges(const Scenario& s)
{
    FUZZ_CHECK(fuzz::Within(s.inputs.variableCostRatio, 0, 10000));
    FUZZ_CHECK(s.inputs.amountUnit == 0 || s.inputs.amountUnit == 1);
    FUZZ_CHECK(s.inputs.maxSales >= 1 && s.inputs.targetSales >= 1 && s.inputs.fixedCosts >= 0);
    FUZZ_CHECK(CheckAmountOrder(s.inputs) == 0);
    fuzz::CheckStyleRanges(s.style);
}

bool SameInputs(const BepInputs& a, const BepInputs& b)
{
    return a.maxSales == b.maxSales && a.targetSales == b.targetSales &&
           a.fixedCosts == b.fixedCosts && a.variableCostRatio == b.variableCostRatio &&
           a.amountUnit == b.amountUnit;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::StartApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const ScenarioRead read = ReadScenario(bytes);
    if (const StringId* reason = std::get_if<StringId>(&read)) {
        FUZZ_CHECK(*reason == IDS_SCENARIO_NOT_JSON || *reason == IDS_SCENARIO_OTHER_FORMAT ||
                   *reason == IDS_SCENARIO_NEWER || *reason == IDS_SCENARIO_MISSING_FIGURE);
        return 0;
    }
    const Scenario& scenario = std::get<Scenario>(read);
    CheckRanges(scenario);

    const QByteArray written = ScenarioBytes(scenario);
    const ScenarioRead again = ReadScenario(written);
    FUZZ_CHECK(std::holds_alternative<Scenario>(again));
    const Scenario& back = std::get<Scenario>(again);
    FUZZ_CHECK(SameInputs(back.inputs, scenario.inputs));
    FUZZ_CHECK(back.style == scenario.style);
    FUZZ_CHECK(back.unknownKeys == scenario.unknownKeys);
    FUZZ_CHECK(ScenarioBytes(back) == written);
    return 0;
}
