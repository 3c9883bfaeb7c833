#pragma once
// The part of a window that a batch speaks to when it is done.

namespace brevant {

// What a window shows of the figures beyond the charts. After a successful batch it is
// told to write the figures into its amount entries as "%.0f" (their text rule then
// stores the values the entries hold), the ratio into its spin and ratio text, and to
// tick the three chart check boxes.
class BatchControls {
public:
    virtual ~BatchControls() = default;
    virtual void ShowBatchResult() = 0;
};

} // namespace brevant
