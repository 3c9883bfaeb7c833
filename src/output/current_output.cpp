#include "current_output.h"

#include "chart_host.h"
#include "image_export.h"
#include "platform.h"
#include "string_table.h"

#include <QFileInfo>

namespace brevant {

QString ProposedFileName(const ChartStyle& style)
{
    QString name = QStringLiteral("無題");
    for (const QString& title : style.titles)
        if (!title.isEmpty())
            name = title;
    return name;
}

void SaveCurrentCharts(ChartHost& host)
{
    const QString format = FormatExtension(host.OutputFormatValue());
    if (format.isEmpty())
        return;

    FileDialogRequest request;
    request.title = QStringLiteral("保存先ファイルを指定");
    request.filter = QStringLiteral(
        "イメージファイル|*.jpeg;*.bmp;*.gif;*.png;*.tiff|PDFファイル|*.pdf||");
    request.defaultSuffix = format;
    request.proposedName = ProposedFileName(host.Style());
    Platform& platform = host.GetPlatform();
    const QString path = platform.SaveFileName(request);
    if (path.isEmpty())
        return;

    if (QFileInfo::exists(path) &&
        host.ShowMessage(IDS_OVERWRITE, QString(), kMbQuestion) == kIdNo)
        return;

    // A file never shows stale charts, also while a help page covers the chart area.
    host.RenderComposition();
    if (!WriteChartImage(host.ComposedImage(), host.ChartArea().size(), path, platform))
        return;

    if (host.ShowMessage(IDS_SAVED_SHOW, QString(), kMbQuestion) == kIdYes)
        ShowInExplorer(platform, path);
}

void CopyChartsToClipboard(ChartHost& host)
{
    host.RenderComposition();
    // The clipboard gets its own copy: the window keeps replacing its composition. A
    // clipboard that cannot be opened ends the command silently.
    if (!host.GetPlatform().SetClipboardImage(host.ComposedImage().copy()))
        return;
    host.ShowMessage(IDS_CLIPBOARD_SAVED, QString(), kMbInformation);
}

} // namespace brevant
