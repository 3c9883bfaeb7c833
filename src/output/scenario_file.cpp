#include "scenario_file.h"

#include "atomic_file.h"
#include "message.h"
#include "platform.h"

#include <QFile>
#include <QFileInfo>

namespace brevant {

namespace {

// A scenario is a few kilobytes; anything far larger is no scenario and is not read into
// memory whole.
constexpr qint64 kLargestScenario = 1 << 20;

} // namespace

std::optional<Scenario> LoadScenarioFile(const QString& path, Platform& platform)
{
    const QString prefix = path + u'\n';
    QFile file(path);
    // Only a file is read: a FIFO or a device would wait for data that never comes.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        ShowMessage(platform, IDS_OPEN_FAILED, prefix, kMbError);
        return std::nullopt;
    }
    const QByteArray bytes = file.read(kLargestScenario + 1);
    if (bytes.size() > kLargestScenario) {
        ShowMessage(platform, IDS_SCENARIO_OTHER_FORMAT, prefix, kMbError);
        return std::nullopt;
    }
    ScenarioRead read = ReadScenario(bytes);
    if (const StringId* reason = std::get_if<StringId>(&read)) {
        ShowMessage(platform, *reason, prefix, kMbError);
        return std::nullopt;
    }
    return std::get<Scenario>(std::move(read));
}

bool SaveScenarioFile(const QString& path, const Scenario& scenario, Platform& platform)
{
    if (WriteWholeFile(path, ScenarioBytes(scenario)))
        return true;
    ShowMessage(platform, IDS_SCENARIO_SAVE_FAILED, path + u'\n', kMbError);
    return false;
}

} // namespace brevant
