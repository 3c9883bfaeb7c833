#pragma once
// A scenario: one set of figures with everything that shapes its charts, kept in a file a
// person can read and compare (".brevant", UTF-8 JSON, one key a line). Values are numbers
// and texts only; a value out of range is held to the same range as in the profile.

#include "bep_model.h"
#include "chart_style.h"
#include "settings.h"
#include "string_table.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <variant>

namespace brevant {

// The name and version written into every scenario file; a file with another name or a
// newer version is refused.
inline const QString kScenarioFormat = QStringLiteral("brevant-scenario");
constexpr int kScenarioVersion = 1;
// The file name extension, with its dot.
inline const QString kScenarioSuffix = QStringLiteral(".brevant");

struct Scenario {
    // The four figures and the amount unit.
    BepInputs inputs;
    ChartStyle style = ChartStyle::Defaults();
    // Keys this version does not know, at any depth, as they were read; written back with
    // the known ones when the scenario is saved again.
    QJsonObject unknownKeys;
};

// The scenario in the bytes, or the string-table id of the reason they are not one.
using ScenarioRead = std::variant<Scenario, StringId>;
ScenarioRead ReadScenario(const QByteArray& bytes);

// The saved settings with the scenario's figures, unit and style in their place; the
// output format and the placement stay as saved.
void ApplyScenario(StoredSettings& settings, const Scenario& scenario);

// The scenario as the file holds it: indented JSON in UTF-8, keys in a fixed order.
QByteArray ScenarioBytes(const Scenario& scenario);

} // namespace brevant
