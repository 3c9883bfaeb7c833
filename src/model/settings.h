#pragma once
// Reading and writing every persisted value of the section "Last". The main window pushes
// the loaded values into its controls and hands their current state back on close.

#include "bep_model.h"
#include "chart_style.h"

#include <QRect>
#include <QSize>
#include <array>
#include <optional>

namespace brevant {

class ProfileStore;

inline const QString kSection = QStringLiteral("Last");

struct StoredSettings {
    ChartStyle style = ChartStyle::Defaults();
    // The texts of the three amount entries (maximum sales, target sales, fixed costs).
    // On load they are the raised amounts in "%.0f"; on save, the texts as shown.
    std::array<QString, 3> amountTexts = {QStringLiteral("1"), QStringLiteral("0"),
                                          QStringLiteral("0")};
    int32_t ratio = 2500;
    int32_t amountUnit = 0;   // held as read; not 0 means thousands of yen
    int32_t outputFormat = 0; // held as read; outside 1..5 acts as JPEG
    // Placement: PX, PY, SX, SY as stored; on save, the window's normal rectangle.
    QRect placement = QRect(0, 0, 640, 480);
    bool zoomed = false;
};

// The ranges the profile holds its values to, shared with scenario files so that a value
// out of range is taken alike from both.
// The amounts as the entries get them: maximum sales raised to at least 1, the target sales
// and the fixed costs, each written with "%.0f".
std::array<QString, 3> RaisedAmountTexts(std::array<int32_t, 3> amounts);
int32_t ClampRatio(int32_t ratio);
// Line widths 0..20, font size 5..50, both margins 0..50.
void ClampStyle(ChartStyle& style);

// Reads every key in the load order, with defaults, clamps and the amount-raising rule.
StoredSettings LoadSettings(ProfileStore& store);
// The figures the window starts with: the loaded amount texts through the entries' rule,
// the ratio and the unit.
BepInputs SavedInputs(const StoredSettings& saved);
// Writes every key in the save order.
void SaveSettings(ProfileStore& store, const StoredSettings& values);

// The placement rule: the rectangle to apply to the window, or nothing when the stored
// position lies outside the desktop (the window then keeps where it was created). The size
// is raised to the minimum size.
std::optional<QRect> PlacementRect(const QRect& stored, const QSize& desktop,
                                   const QSize& minimum);

// The rectangle written back: position raised to 0, width and height as they are.
QRect SavedPlacement(const QRect& normalGeometry);

} // namespace brevant
