#pragma once
// Dialog templates as data: per control its id, kind, place in dialog units, text, tooltip
// and picture. A builder in the window code turns them into widgets.

#include <QRect>
#include <QSize>
#include <QString>

#include <span>

namespace brevant {

// Control ids of the main window (template 102). They are real: every widget carries its
// id as its objectName, and tests and the presentation window find controls by it.
enum ControlId : int {
    IDC_STATIC = -1, // labels, headings and rules: no id
    IDC_EXIT = 2,
    IDD_MAIN = 102,
    IDC_HELP_BOX = 103,
    IDC_CHART_FRAME = 107,
    IDC_OUTPUT_CURRENT = 1003,
    IDC_VERSION = 1004,
    IDC_UNIT_YEN = 1005,
    IDC_CHART0_BUTTON = 1006,
    IDC_CHART1_BUTTON = 1007,
    IDC_CHART2_BUTTON = 1008,
    IDC_RATIO = 1010,
    IDC_BATCH = 1011,
    IDC_WIDTH0 = 1012,
    IDC_UNIT_THOUSAND = 1013,
    IDC_FORMAT_JPEG = 1018,
    IDC_GENERAL_HELP = 1019,
    IDC_CHART_SIZE = 1020,
    IDC_WIDTH1 = 1021,
    IDC_WIDTH2 = 1022,
    IDC_WIDTH3 = 1023,
    IDC_WIDTH4 = 1024,
    IDC_FORMAT_BMP = 1025,
    IDC_FORMAT_GIF = 1026,
    IDC_FORMAT_PNG = 1027,
    IDC_FORMAT_TIFF = 1028,
    IDC_FORMAT_PDF = 1029,
    IDC_CHART_TOP = 1031,
    IDC_RESET_COLOURS = 1032,
    IDC_CHART0_CHECK = 1033,
    IDC_CHART1_CHECK = 1034,
    IDC_RATIO_SPIN = 1037,
    IDC_PRESENT = 1038,
    IDC_PRESENT_HELP = 1039,
    IDC_BATCH_HELP = 1040,
    IDC_PROGRESS = 1041,
    IDC_HIGHLIGHT = 1042,
    IDC_TO_CLIPBOARD = 1043,
    IDC_WIDTH0_SPIN = 1044,
    IDC_WIDTH1_SPIN = 1045,
    IDC_WIDTH2_SPIN = 1046,
    IDC_WIDTH3_SPIN = 1047,
    IDC_WIDTH4_SPIN = 1048,
    IDC_WIDTH5 = 1049,
    IDC_WIDTH5_SPIN = 1050,
    IDC_FONT_SIZE = 1051,
    IDC_FONT_SIZE_SPIN = 1052,
    IDC_OUTER_MARGIN = 1053,
    IDC_OUTER_MARGIN_SPIN = 1054,
    IDC_CHART2_CHECK = 1055,
    IDC_TITLE0 = 1056,
    IDC_TITLE1 = 1057,
    IDC_TITLE2 = 1058,
    IDC_WIDTH6 = 1059,
    IDC_WIDTH6_SPIN = 1060,
    IDC_WIDTH7 = 1061,
    IDC_WIDTH7_SPIN = 1062,
    IDC_WIDTH8 = 1063,
    IDC_WIDTH8_SPIN = 1064,
    IDC_OUTPUT_CSV = 1065,
    IDC_PASTE = 1066,
    IDC_SCALE_MARGIN = 1067,
    IDC_SCALE_MARGIN_SPIN = 1068,
    IDC_SUBTITLE0 = 1069,
    IDC_SUBTITLE1 = 1070,
    IDC_SUBTITLE2 = 1071,
    IDC_SAMPLE = 1072,
    IDC_ANALYSIS = 1080,
    IDC_SCENARIO = 1081,
    IDC_MAX_SALES = 3100,
    IDC_TARGET_SALES = 3101,
    IDC_FIXED_COSTS = 3102,
    IDC_MAX_SALES_WORDS = 3200,
    IDC_TARGET_SALES_WORDS = 3201,
    IDC_FIXED_COSTS_WORDS = 3202,
    IDC_RATIO_TEXT = 3203,
    IDC_COLOR0 = 3400, // 3400 + element index, 0..9
    IDC_COLOR9 = 3409,
};

enum class ControlKind {
    Label,          // static text
    Entry,          // single-line text box
    SpinEntry,      // a text box with an up-down spin attached: one spin box
    Spin,           // the spin of the SpinEntry just before it
    Check,          // check box that toggles itself
    Radio,          // radio button of a group
    PushButton,
    ImageButton,    // push button with a picture (and maybe a text) and a tooltip
    ColorButton,    // colour picker button
    GroupBox,
    HorizontalRule,
    VerticalRule,
    ProgressBar,
    TextBox,        // multi-line read-only box with a vertical scroll bar
    Marker,         // hidden; only its position counts
    Frame,          // hidden frame
};

enum ControlStyle : unsigned {
    kAlignLeft = 0x0,
    kAlignCenter = 0x1,
    kAlignRight = 0x2,
    kAlignMask = 0x3,
    kDigitsOnly = 0x10,
    kHidden = 0x20,
    kGroupStart = 0x40,  // first radio button of a group
    kImageRight = 0x80,  // the picture stands right of the text
    kAcceptFiles = 0x100,
};

struct ControlTemplate {
    int id = IDC_STATIC;
    ControlKind kind = ControlKind::Label;
    QRect rect;                    // x, y, width, height in dialog units
    const char* text = nullptr;    // UTF-8; "&" marks the access key, "&&" shows "&"
    const char* tooltip = nullptr; // UTF-8
    const char* image = nullptr;   // resource symbol of the picture, e.g. "IDB_HELP32"
    unsigned style = 0;
};

struct DialogTemplate {
    int id = 0;
    const char* caption = nullptr;
    const char* fontFace = nullptr;
    int pointSize = 0;
    QSize size; // dialog units
    std::span<const ControlTemplate> controls;
};

// Template 102: the main window.
const DialogTemplate& MainWindowTemplate();

// The control with the given id, or null.
const ControlTemplate* FindControl(const DialogTemplate& dialog, int id);

} // namespace brevant
