#pragma once
// The program's string table: every message it shows, the version history and its name.

#include <QString>
#include <optional>

namespace brevant {

// An entry of the string table; IDS_NONE stands for "no message".
enum StringId : int {
    IDS_NONE = 0,
    IDS_MEMORY = 30001,
    IDS_WORK_FOLDER = 30002,
    IDS_PDF_FAILED = 30003,
    IDS_MANY_FILES = 30004,
    IDS_OVERWRITE = 30005,
    IDS_NOT_CSV = 30006,
    IDS_FILE_OBJECT = 30007,
    IDS_OPEN_FAILED = 30009,
    IDS_NO_DATA = 30010,
    IDS_FIELD_COUNT = 30011,
    IDS_FOLDER_EXISTS = 30012,
    IDS_SAME_TITLE = 30013,
    IDS_ZERO_VALUE = 30014,
    IDS_MAX_BELOW_TARGET = 30015,
    IDS_MAX_BELOW_FIXED = 30016,
    IDS_RESET_COLOURS = 30018,
    IDS_CLIPBOARD_SAVED = 30019,
    IDS_DESKTOP_FOLDER = 30020,
    IDS_SET_FOUR_VALUES = 30021,
    IDS_AMOUNT_CAPPED = 30022,
    IDS_BATCH_MODE = 30023,
    IDS_EXPLORER = 30048,
    IDS_SAVED_SHOW = 30049,
    IDS_HEADING_LINE = 30050,
    IDS_SAME_FILE_NAMES = 30051,
    IDS_RECORDS_LEFT_OUT = 30052,
    IDS_SCENARIO_NOT_JSON = 30060,
    IDS_SCENARIO_OTHER_FORMAT = 30061,
    IDS_SCENARIO_NEWER = 30062,
    IDS_SCENARIO_MISSING_FIGURE = 30063,
    IDS_SCENARIO_SAVE_FAILED = 30064,
    IDS_SCENARIO_UNSAVED = 30065,
    IDS_TOO_MANY = 30164,
    IDS_VERSION_100 = 30200,
    IDS_VERSION_101 = 30201,
    IDS_VERSION_102 = 30202,
    IDS_APP_NAME = 57344,
};

// The entry's text, or nothing for an id that is not in the table.
std::optional<QString> LoadStringEntry(int id);

// "Brevant": the caption of every message box and the profile's application name.
QString AppName();

} // namespace brevant
