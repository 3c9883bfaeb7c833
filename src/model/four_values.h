#pragma once
// The paste rule: four values "S,T,F,R", or four spreadsheet cells, as the window takes
// them from the clipboard or the sample button, and as the command line takes --figures.

#include "bep_model.h"
#include "string_table.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace brevant {

// The fields of a pasted text, full-width digits and signs read as ASCII. A text with tabs
// or line breaks is cells copied from a spreadsheet (a row or a column; line breaks at the
// end do not count): it is split at both, and each cell loses its thousands
// separators, 円, ¥, % and spaces. Any other text is split at commas, nothing taken away.
QStringList FourValueFields(const QString& pasted);

// Hands fields 1 to 3 (maximum sales, target sales, fixed costs) as text to `setAmount`
// (index 0..2), one after the other, then the ratio in hundredths of a percent, clamped
// to 0..10000, to `setRatio`; an empty fourth field keeps the ratio. An empty first or
// second field stops there with 30014, the fields before it already handed over.
StringId ApplyFourValues(const QString& text,
                         const std::function<void(int index, const QString& field)>& setAmount,
                         const std::function<void(int32_t ratio)>& setRatio);

// The same into figures: each amount through the entries' text rule.
StringId ApplyFourValues(BepInputs& inputs, const QString& text);

// What ApplyFourValues would set, one line per figure under its label, for the question
// before a paste ("最大売上高：130,000,000円" ... "変動費率：61.00%"), each line ending in a
// line break; an empty first or second field ends the list with "（空欄）", as the paste
// stops there.
QString DescribeFourValues(const QString& text);

} // namespace brevant
