#pragma once
// Which pair of lines bounds the profit and loss areas, shared by the chart kinds and the
// markers.

namespace brevant {

// Break-even variant: sales line against total-cost line. Index variant: marginal-profit
// line against fixed-cost line.
enum class AreaVariant { BreakEven, Index };

} // namespace brevant
