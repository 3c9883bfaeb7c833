#pragma once
// The paste rule: four values "S,T,F,R" (tabs count as commas) as the window takes them
// from the clipboard or the sample button, and as the command line takes --figures.

#include "bep_model.h"
#include "string_table.h"

#include <QString>
#include <functional>

namespace brevant {

// Hands fields 1 to 3 (maximum sales, target sales, fixed costs) as text to `setAmount`
// (index 0..2), one after the other, then the ratio in hundredths of a percent, clamped
// to 0..10000, to `setRatio`; an empty fourth field keeps the ratio. An empty first or
// second field stops there with 30014, the fields before it already handed over.
StringId ApplyFourValues(const QString& text,
                         const std::function<void(int index, const QString& field)>& setAmount,
                         const std::function<void(int32_t ratio)>& setRatio);

// The same into figures: each amount through the entries' text rule.
StringId ApplyFourValues(BepInputs& inputs, const QString& text);

} // namespace brevant
