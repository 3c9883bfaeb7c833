#pragma once
// Scenario files on disk: read whole, written through the one atomic writer. A failure is
// shown through the platform with the file's name before the reason, and the caller stops.

#include "scenario.h"

#include <QString>
#include <optional>

namespace brevant {

class Platform;

// The scenario in `path`; nothing when the file cannot be read or is not a scenario (the
// message is shown).
std::optional<Scenario> LoadScenarioFile(const QString& path, Platform& platform);

// Replaces (or creates) `path` with the scenario; false after its message when it could not
// be written, and the file is then as it was.
bool SaveScenarioFile(const QString& path, const Scenario& scenario, Platform& platform);

} // namespace brevant
