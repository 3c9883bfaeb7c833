#include "output/batch.h"

#include "app/message.h"
#include "app/text_util.h"
#include "platform/platform.h"
#include "res/string_table.h"

namespace brevant {

bool HasFiveFields(const QString& line)
{
    return line.count(u',') == 4;
}

std::optional<QString> ParseBatchRecord(BepInputs& inputs, Platform& platform,
                                        const QString& line)
{
    const QString prefix = line + u'\n';
    const QString folder = FieldAt(line, 1, u',');
    inputs.maxSales = ParseDouble(FieldAt(line, 2, u','));
    const double target = ParseDouble(FieldAt(line, 3, u','));
    if (target == 0) {
        ShowMessage(platform, IDS_ZERO_VALUE, prefix, kMbError);
        return std::nullopt;
    }
    inputs.targetSales = target;
    inputs.fixedCosts = ParseDouble(FieldAt(line, 4, u','));
    const double percent = ParseDouble(FieldAt(line, 5, u','));
    inputs.variableCostRatio = ParseRatioPercent(FieldAt(line, 5, u','));
    // The default maximum uses the percentage as written, not the truncated ratio.
    const double bep = inputs.fixedCosts / (1.0 - percent / 100.0);
    if (inputs.maxSales == 0)
        inputs.maxSales = DefaultMaxSales(bep, inputs.targetSales);
    if (const int id = CheckAmountOrder(inputs)) {
        ShowMessage(platform, id, prefix, kMbError);
        return std::nullopt;
    }
    return folder;
}

} // namespace brevant
