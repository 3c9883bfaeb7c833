#include "four_values.h"

#include "text_util.h"

#include <algorithm>

namespace brevant {

StringId ApplyFourValues(const QString& text,
                         const std::function<void(int index, const QString& field)>& setAmount,
                         const std::function<void(int32_t ratio)>& setRatio)
{
    const QString fields = TabsToCommas(text);
    for (int k = 0; k < 3; ++k) {
        const QString field = FieldAt(fields, k + 1, u',');
        if (k < 2 && field.isEmpty())
            return IDS_ZERO_VALUE;
        setAmount(k, field);
    }
    const QString ratio = FieldAt(fields, 4, u',');
    if (!ratio.isEmpty())
        setRatio(std::clamp(ParseRatioPercent(ratio), 0, 10000));
    return IDS_NONE;
}

StringId ApplyFourValues(BepInputs& inputs, const QString& text)
{
    static constexpr AmountField kKinds[3] = {AmountField::MaxSales, AmountField::TargetSales,
                                              AmountField::FixedCosts};
    double* amounts[3] = {&inputs.maxSales, &inputs.targetSales, &inputs.fixedCosts};
    return ApplyFourValues(
        text,
        [&](int k, const QString& field) { *amounts[k] = ApplyAmountText(kKinds[k], field).value; },
        [&](int32_t ratio) { inputs.variableCostRatio = ratio; });
}

} // namespace brevant
