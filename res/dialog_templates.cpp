#include "dialog_templates.h"

namespace brevant {

namespace {

using K = ControlKind;

constexpr const char* kTipChart0 = "損益分岐点図表を描画する";
constexpr const char* kTipChart1 = "損益分岐点指数図表を描画する";
constexpr const char* kTipChart2 = "損益分岐点・指数図表を描画する";

// Creation order is tab order and stacking order: a group box comes before the controls
// it frames, the help box last so it covers the chart area.
const ControlTemplate kMainControls[] = {
    // 1: which charts are shown, and their titles.
    {IDC_STATIC, K::Label, {8, 6, 84, 8}, "1 表示する図表の種類："},
    {IDC_STATIC, K::Label, {92, 10, 40, 8}, "タイトル"},
    {IDC_CHART0_CHECK, K::Check, {10, 21, 8, 10}},
    {IDC_CHART0_BUTTON, K::ImageButton, {16, 19, 31, 31}, nullptr, kTipChart0, "IDB_C0_LINE32"},
    {IDC_TITLE0, K::Entry, {48, 21, 102, 12}},
    {IDC_STATIC, K::Label, {48, 36, 18, 8}, "(副)"},
    {IDC_SUBTITLE0, K::Entry, {67, 34, 83, 12}},
    {IDC_CHART1_CHECK, K::Check, {10, 50, 8, 10}},
    {IDC_CHART1_BUTTON, K::ImageButton, {16, 48, 31, 31}, nullptr, kTipChart1, "IDB_C1_LINE32"},
    {IDC_TITLE1, K::Entry, {48, 50, 102, 12}},
    {IDC_STATIC, K::Label, {48, 65, 18, 8}, "(副)"},
    {IDC_SUBTITLE1, K::Entry, {67, 63, 83, 12}},
    {IDC_CHART2_CHECK, K::Check, {10, 79, 8, 10}},
    {IDC_CHART2_BUTTON, K::ImageButton, {16, 77, 31, 31}, nullptr, kTipChart2, "IDB_C2_LINE32"},
    {IDC_TITLE2, K::Entry, {48, 79, 102, 12}},
    {IDC_STATIC, K::Label, {48, 94, 18, 8}, "(副)"},
    {IDC_SUBTITLE2, K::Entry, {67, 92, 83, 12}},

    // 2: text size and margins.
    {IDC_STATIC, K::Label, {8, 110, 84, 8}, "2 文字と余白："},
    {IDC_STATIC, K::Label, {12, 123, 42, 8}, "文字サイズ："},
    {IDC_FONT_SIZE, K::SpinEntry, {55, 121, 28, 12}, nullptr, nullptr, nullptr,
     kAlignCenter | kDigitsOnly},
    {IDC_FONT_SIZE_SPIN, K::Spin, {83, 121, 10, 12}},
    {IDC_STATIC, K::Label, {86, 123, 40, 8}, "(5～50)"},
    {IDC_STATIC, K::Label, {12, 138, 42, 8}, "外周余白："},
    {IDC_OUTER_MARGIN, K::SpinEntry, {55, 136, 28, 12}, nullptr, nullptr, nullptr,
     kAlignCenter | kDigitsOnly},
    {IDC_OUTER_MARGIN_SPIN, K::Spin, {83, 136, 10, 12}},
    {IDC_STATIC, K::Label, {86, 138, 40, 8}, "(0～50)"},
    {IDC_STATIC, K::Label, {12, 152, 42, 8}, "目盛余白："},
    {IDC_SCALE_MARGIN, K::SpinEntry, {55, 150, 28, 12}, nullptr, nullptr, nullptr,
     kAlignCenter | kDigitsOnly},
    {IDC_SCALE_MARGIN_SPIN, K::Spin, {83, 150, 10, 12}},
    {IDC_STATIC, K::Label, {86, 152, 40, 8}, "(0～50)"},

    // 3: colours and widths; one row per chart element.
    {IDC_STATIC, K::Label, {150, 6, 42, 8}, "3 色と太さ："},
    {IDC_RESET_COLOURS, K::ImageButton, {194, 10, 11, 11}, nullptr,
     "色の設定をデフォルトに戻します", "IDB_PREV32"},
    {IDC_STATIC, K::Label, {207, 10, 54, 8}, "色　太さ(0～20)"},
    {IDC_STATIC, K::Label, {152, 23, 47, 8}, "売上高線：", nullptr, nullptr, kAlignRight},
    {IDC_COLOR0 + 0, K::ColorButton, {201, 20, 22, 14}},
    {IDC_WIDTH0, K::SpinEntry, {227, 21, 28, 12}, nullptr, nullptr, nullptr,
     kAlignCenter | kDigitsOnly},
    {IDC_WIDTH0_SPIN, K::Spin, {255, 21, 10, 12}},
    {IDC_STATIC, K::Label, {152, 38, 47, 8}, "固定費線：", nullptr, nullptr, kAlignRight},
    {IDC_COLOR0 + 1, K::ColorButton, {201, 35, 22, 14}},
    {IDC_WIDTH1, K::SpinEntry, {227, 36, 28, 12}, nullptr, nullptr, nullptr,
     kAlignCenter | kDigitsOnly},
    {IDC_WIDTH1_SPIN, K::Spin, {255, 36, 10, 12}},
    {IDC_STATIC, K::Label, {152, 53, 47, 8}, "総費用線：", nullptr, nullptr, kAlignRight},
    {IDC_COLOR0 + 2, K::ColorButton, {201, 50, 22, 14}},
    {IDC_WIDTH2, K::SpinEntry, {227, 51, 28, 12}, nullptr, nullptr, nullptr,
     kAlignCenter | kDigitsOnly},
    {IDC_WIDTH2_SPIN, K::Spin, {255, 51, 10, 12}},
    {IDC_STATIC, K::Label, {152, 68, 47, 8}, "限界利益線：", nullptr, nullptr, kAlignRight},
    {IDC_COLOR0 + 3, K::ColorButton, {201, 65, 22, 14}},
    {IDC_WIDTH3, K::SpinEntry, {227, 66, 28, 12}, nullptr, nullptr, nullptr,
     kAlignCenter | kDigitsOnly},
    {IDC_WIDTH3_SPIN, K::Spin, {255, 66, 10, 12}},
    {IDC_STATIC, K::Label, {152, 83, 47, 8}, "目標売上高：", nullptr, nullptr, kAlignRight},
    {IDC_COLOR0 + 4, K::ColorButton, {201, 80, 22, 14}},
    {IDC_WIDTH4, K::SpinEntry, {227, 81, 28, 12}, nullptr, nullptr, nullptr,
     kAlignCenter | kDigitsOnly},
    {IDC_WIDTH4_SPIN, K::Spin, {255, 81, 10, 12}},
    {IDC_STATIC, K::Label, {152, 98, 47, 8}, "損益分岐点：", nullptr, nullptr, kAlignRight},
    {IDC_COLOR0 + 5, K::ColorButton, {201, 95, 22, 14}},
    {IDC_WIDTH5, K::SpinEntry, {227, 96, 28, 12}, nullptr, nullptr, nullptr,
     kAlignCenter | kDigitsOnly},
    {IDC_WIDTH5_SPIN, K::Spin, {255, 96, 10, 12}},
    {IDC_STATIC, K::HorizontalRule, {152, 111, 106, 1}},
    {IDC_STATIC, K::Label, {152, 116, 47, 8}, "利益の範囲：", nullptr, nullptr, kAlignRight},
    {IDC_COLOR0 + 6, K::ColorButton, {201, 113, 22, 14}},
    {IDC_WIDTH6, K::SpinEntry, {227, 114, 28, 12}, nullptr, nullptr, nullptr,
     kAlignCenter | kDigitsOnly},
    {IDC_WIDTH6_SPIN, K::Spin, {255, 114, 10, 12}},
    {IDC_STATIC, K::Label, {152, 131, 47, 8}, "損益の範囲：", nullptr, nullptr, kAlignRight},
    {IDC_COLOR0 + 7, K::ColorButton, {201, 128, 22, 14}},
    {IDC_WIDTH7, K::SpinEntry, {227, 129, 28, 12}, nullptr, nullptr, nullptr,
     kAlignCenter | kDigitsOnly},
    {IDC_WIDTH7_SPIN, K::Spin, {255, 129, 10, 12}},
    {IDC_STATIC, K::Label, {152, 146, 47, 8}, "外枠と目盛：", nullptr, nullptr, kAlignRight},
    {IDC_COLOR0 + 8, K::ColorButton, {201, 143, 22, 14}},
    {IDC_WIDTH8, K::SpinEntry, {227, 144, 28, 12}, nullptr, nullptr, nullptr,
     kAlignCenter | kDigitsOnly},
    {IDC_WIDTH8_SPIN, K::Spin, {255, 144, 10, 12}},
    {IDC_STATIC, K::Label, {152, 161, 47, 8}, "図表の内面：", nullptr, nullptr, kAlignRight},
    {IDC_COLOR0 + 9, K::ColorButton, {201, 158, 22, 14}},

    {IDC_STATIC, K::VerticalRule, {263, 4, 1, 168}},

    // 4: amounts and the variable-cost ratio.
    {IDC_STATIC, K::Label, {270, 12, 38, 8}, "4 金額と率："},
    {IDC_SAMPLE, K::PushButton, {308, 9, 25, 12}, "sample",
     "下記の4項目にサンプル値をセットします"},
    {IDC_PASTE, K::ImageButton, {333, 7, 22, 14}, "↓",
     "クリップボードからコンマまたはタブ区切りの4つの値を読み込んで、下記の4項目にセットします",
     "IDB_COPY32", kImageRight},
    {IDC_STATIC, K::Label, {270, 24, 50, 8}, "最大売上高："},
    {IDC_MAX_SALES, K::Entry, {321, 22, 66, 12}, nullptr, nullptr, nullptr,
     kAlignRight | kDigitsOnly},
    {IDC_MAX_SALES_WORDS, K::Label, {390, 24, 64, 8}, nullptr, nullptr, nullptr, kAlignRight},
    {IDC_STATIC, K::Label, {270, 38, 50, 8}, "目標売上高："},
    {IDC_TARGET_SALES, K::Entry, {321, 36, 66, 12}, nullptr, nullptr, nullptr,
     kAlignRight | kDigitsOnly},
    {IDC_TARGET_SALES_WORDS, K::Label, {390, 38, 64, 8}, nullptr, nullptr, nullptr, kAlignRight},
    {IDC_STATIC, K::Label, {270, 52, 50, 8}, "固定費："},
    {IDC_FIXED_COSTS, K::Entry, {321, 50, 66, 12}, nullptr, nullptr, nullptr,
     kAlignRight | kDigitsOnly},
    {IDC_FIXED_COSTS_WORDS, K::Label, {390, 52, 64, 8}, nullptr, nullptr, nullptr, kAlignRight},
    {IDC_STATIC, K::Label, {270, 66, 44, 8}, "変動費率："},
    {IDC_RATIO_TEXT, K::Label, {316, 66, 30, 8}, nullptr, nullptr, nullptr, kAlignCenter},
    {IDC_RATIO, K::SpinEntry, {350, 64, 35, 12}, nullptr, nullptr, nullptr,
     kAlignCenter | kDigitsOnly},
    {IDC_RATIO_SPIN, K::Spin, {385, 64, 10, 12}},
    {IDC_STATIC, K::Label, {388, 66, 46, 8}, "(0～10,000)"},

    // 5: the amount unit in the charts.
    {IDC_STATIC, K::Label, {270, 81, 74, 8}, "5 図表中の金額単位："},
    {IDC_UNIT_YEN, K::Radio, {346, 80, 26, 10}, "円", nullptr, nullptr, kGroupStart},
    {IDC_UNIT_THOUSAND, K::Radio, {375, 80, 32, 10}, "千円"},

    // The scenario file: a button whose menu opens, saves and reopens one.
    {IDC_SCENARIO, K::ImageButton, {421, 77, 60, 14}, "シナリオ(&F)",
     "金額・率と図表の設定をシナリオファイルに保存したり、保存したファイルを開いたりします"
     "(開く Ctrl+O、上書き保存 Ctrl+S、名前を付けて保存 Ctrl+Shift+S)",
     "IDB_SCENARIO32"},

    // External output.
    {IDC_STATIC, K::GroupBox, {267, 92, 214, 54}, "<< 外部出力 >>"},
    {IDC_STATIC, K::Label, {272, 104, 22, 8}, "形式："},
    {IDC_FORMAT_JPEG, K::Radio, {296, 103, 32, 10}, "JPEG", nullptr, nullptr, kGroupStart},
    {IDC_FORMAT_BMP, K::Radio, {330, 103, 30, 10}, "BMP"},
    {IDC_FORMAT_GIF, K::Radio, {362, 103, 27, 10}, "GIF"},
    {IDC_FORMAT_PNG, K::Radio, {391, 103, 30, 10}, "PNG"},
    {IDC_FORMAT_TIFF, K::Radio, {423, 103, 28, 10}, "TIFF"},
    {IDC_FORMAT_PDF, K::Radio, {453, 103, 26, 10}, "PDF"},
    {IDC_CHART_SIZE, K::Label, {272, 115, 150, 8}},
    {IDC_TO_CLIPBOARD, K::ImageButton, {271, 126, 68, 17}, "Clipboardへ(&C)",
     "現在の図表をクリップボードへ出力します", "IDB_COPY32"},
    {IDC_OUTPUT_CURRENT, K::ImageButton, {341, 126, 68, 17}, "現状出力(&N)",
     "現在表示されている図表を指定された場所へ保存します", "IDB_FD32"},
    {IDC_OUTPUT_CSV, K::ImageButton, {411, 126, 66, 17}, "CSV付き出力(&T)",
     "３種類の図表をCSVファイル付きで出力します", "IDB_FD32"},

    // Batch creation.
    {IDC_STATIC, K::Label, {273, 153, 44, 8}, "【一括作成】"},
    {IDC_BATCH, K::ImageButton, {318, 148, 144, 17}, "CSV指定後、作成実行(&B)　Drag&&Drop",
     "CSVファイルから金額などを読み取り、描画した図表を個別のファイルとして保存します",
     "IDB_FLAG32", kAcceptFiles},
    {IDC_BATCH_HELP, K::ImageButton, {464, 148, 17, 17}, nullptr,
     "一括作成についての説明を表示します。もう一度クリックすると図の表示にもどります(F3)",
     "IDB_HELP32"},
    {IDC_PROGRESS, K::ProgressBar, {267, 166, 214, 6}},

    // Tool buttons along the top right, a little narrower than high so that the analysis
    // button fits in the row beside the others.
    {IDC_PRESENT, K::ImageButton, {356, 2, 15, 17}, nullptr, "プレゼンモードで表示します(F11)",
     "IDB_PRESEN32"},
    {IDC_PRESENT_HELP, K::ImageButton, {371, 2, 15, 17}, nullptr,
     "プレゼンモードの説明を表示します。もう一度クリックすると図の表示にもどります(F2)",
     "IDB_HELP32"},
    {IDC_HIGHLIGHT, K::ImageButton, {386, 2, 15, 17}, nullptr,
     "ドラッグ＆ドロップできる可動線・点を2秒間明示します(Ctrl + Click)", "IDB_DRAG32"},
    {IDC_ANALYSIS, K::ImageButton, {401, 2, 15, 17}, nullptr,
     "損益分岐点分析(安全余裕率や感度分析)を表示します。もう一度クリックすると図の表示にもどります(F4)",
     "IDB_ANALYSIS32"},
    {IDC_VERSION, K::ImageButton, {416, 2, 15, 17}, nullptr, "バージョン情報を表示します",
     "IDB_VER32"},
    {IDC_GENERAL_HELP, K::ImageButton, {431, 2, 15, 17}, nullptr,
     "全般についての説明を表示します。もう一度クリックすると図の表示にもどります(F1)",
     "IDB_HELP32"},
    {IDC_EXIT, K::ImageButton, {446, 2, 35, 17}, "終了(&X)", "このアプリケーションを終了します",
     "IDB_END32"},

    // The chart area: its top edge, the frame the layout needs, and the help pages.
    {IDC_CHART_TOP, K::Marker, {0, 175, 483, 1}, nullptr, nullptr, nullptr, kHidden},
    {IDC_CHART_FRAME, K::Frame, {0, 175, 483, 137}, nullptr, nullptr, nullptr, kHidden},
    {IDC_HELP_BOX, K::TextBox, {0, 175, 483, 137}, nullptr, nullptr, nullptr, kHidden},
};

const DialogTemplate kMainWindow = {
    IDD_MAIN,
    "ブレヴァント(損益分岐点シミュレータ)",
    "MS UI Gothic",
    11,
    QSize(483, 312),
    kMainControls,
};

} // namespace

const DialogTemplate& MainWindowTemplate() { return kMainWindow; }

const ControlTemplate* FindControl(const DialogTemplate& dialog, int id)
{
    if (id == IDC_STATIC)
        return nullptr;
    for (const ControlTemplate& c : dialog.controls) {
        if (c.id == id)
            return &c;
    }
    return nullptr;
}

} // namespace brevant
