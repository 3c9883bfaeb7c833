#include "summary_csv_file.h"

#include "message.h"
#include "text_util.h"
#include "platform.h"
#include "string_table.h"

namespace brevant {

SummaryCsvFile::SummaryCsvFile(const QString& path, AtomicFile::Sync sync)
    : file_(path, sync)
{
}

bool SummaryCsvFile::Open(Platform& platform)
{
    // A folder that cannot be written to fails here; otherwise the file is written beside
    // the target and renamed at the end, so a half-written file never replaces a good one.
    if (!file_.open(QIODevice::WriteOnly)) {
        ShowMessage(platform, IDS_OPEN_FAILED, QString(), kMbError);
        return false;
    }
    return true;
}

void SummaryCsvFile::Write(const QString& text)
{
    QString crlf = text;
    crlf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    file_.write(ToCp932(crlf));
}

bool SummaryCsvFile::Commit(Platform& platform)
{
    if (!file_.commit()) {
        ShowMessage(platform, IDS_OPEN_FAILED, QString(), kMbError);
        return false;
    }
    return true;
}

} // namespace brevant
