#pragma once
// The presentation window's key table 154 and context menu 156.

#include <Qt>

#include <array>

namespace brevant {

enum PresentCommandId : int {
    ID_PRESENT_END = 113,
    ID_FONT_LARGER = 114,
    ID_FONT_SMALLER = 115,
    ID_ALWAYS_SHOW_MENU = 116,
    ID_THOUSAND_YEN = 118,
    ID_ERASE_INK = 32776,
    ID_STICK_SHORTER = 32777,
    ID_STICK_LONGER = 32778,
    ID_PRESENT_ESCAPE = 32780,
};

// One key of the table: the key without Ctrl, Shift or Alt; `keypad` asks for the
// numeric-keypad key of that name.
struct PresentKey {
    Qt::Key key;
    bool keypad;
    int command;
};

inline constexpr std::array<PresentKey, 7> kPresentKeyTable = {{
    {Qt::Key_C, false, ID_ERASE_INK},
    {Qt::Key_Delete, false, ID_ERASE_INK},
    {Qt::Key_Down, false, ID_STICK_SHORTER},
    {Qt::Key_Minus, true, ID_STICK_SHORTER},
    {Qt::Key_Plus, true, ID_STICK_LONGER},
    {Qt::Key_Up, false, ID_STICK_LONGER},
    {Qt::Key_Escape, false, ID_PRESENT_ESCAPE},
}};

// One item of the context menu; id 0 is a separator. The shortcut text goes in the
// right-aligned column.
struct PresentMenuItem {
    int id;
    const char* text;      // UTF-8
    const char* shortcut;  // UTF-8, empty for none
};

inline constexpr std::array<PresentMenuItem, 7> kPresentContextMenu = {{
    {ID_FONT_LARGER, "文字を少し大きく(&U)", "Ctrl + Wheel ↑"},
    {ID_FONT_SMALLER, "文字を少し小さく(&D)", "Ctrl + Wheel ↓"},
    {0, "", ""},
    {ID_THOUSAND_YEN, "金額単位：千円にする(&S)", ""},
    {ID_ALWAYS_SHOW_MENU, "右下にメニューを常に表示(&M)", ""},
    {0, "", ""},
    {ID_PRESENT_END, "プレゼンモード終了(&E)", "Esc or F11"},
}};

} // namespace brevant
