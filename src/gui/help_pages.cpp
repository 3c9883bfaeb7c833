#include "help_pages.h"

#include "help_resources.h"

#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QList>
#include <QStringList>
#include <QtGlobal>

#include <optional>

// The page texts live in res/help/ as outlines (format in res/help/README.md): "= " lines
// are headings, "@include PATH" splices in a shared file, other lines are body text. Only
// the layout is made here, so the texts can be edited without touching code.

namespace brevant {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kHeadingMark = QStringLiteral("= ");
const QString kIncludeDirective = QStringLiteral("@include ");

// Deep enough for any sensible nesting, shallow enough to stop a file that includes itself.
constexpr int kMaxIncludeDepth = 8;

struct Section {
    QString heading;
    QStringList body;
};

QString PagePath(int kind)
{
    switch (kind) {
    case kHelpGeneral: return QStringLiteral(":/help/general.txt");
    case kHelpBatch: return QStringLiteral(":/help/batch.txt");
    case kHelpPresentation: return QStringLiteral(":/help/presentation.txt");
    default: return {};
    }
}

// Appends the lines of the file at path to lines, with its includes (relative to its own
// folder) spliced in. A missing file, an unknown directive or an include loop fails the
// whole page, so a broken reference cannot leave a silent gap in it.
bool ReadLines(const QString& path, int depth, QStringList& lines)
{
    if (depth > kMaxIncludeDepth) {
        qWarning("help: includes nest too deep at %s", qUtf8Printable(path));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("help: cannot read %s", qUtf8Printable(path));
        return false;
    }
    const QString text = QString::fromUtf8(file.readAll()); // drops a byte order mark
    const QString folder = QFileInfo(path).path();
    for (QString line : text.split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1); // saved with CR LF line ends
        if (!line.startsWith(u'@')) {
            lines << line;
            continue;
        }
        const QString name = line.mid(kIncludeDirective.size()).trimmed();
        if (!line.startsWith(kIncludeDirective) || name.isEmpty()) {
            qWarning("help: %s: unknown directive: %s", qUtf8Printable(path),
                     qUtf8Printable(line));
            return false;
        }
        if (!ReadLines(folder + u'/' + name, depth + 1, lines))
            return false;
    }
    return true;
}

// The sections of an outline, or nothing for an empty heading or for body text with no
// heading to go under (none yet, or a title, which stands alone).
std::optional<QList<Section>> ParseSections(const QStringList& lines, const QString& path)
{
    QList<Section> sections;
    for (const QString& line : lines) {
        if (line.trimmed().isEmpty())
            continue; // sections are spaced when rendered
        const bool heading = line.startsWith(kHeadingMark);
        if (heading && !line.mid(kHeadingMark.size()).trimmed().isEmpty()) {
            sections.append({line.mid(kHeadingMark.size()), {}});
            continue;
        }
        if (heading || sections.isEmpty() || sections.last().heading.startsWith(u'【')) {
            qWarning("help: %s: an empty heading or text with no heading above it: %s",
                     qUtf8Printable(path), qUtf8Printable(line));
            return std::nullopt;
        }
        sections.last().body << line;
    }
    return sections;
}

// Body lines start four spaces further in than their heading's text, so a page reads as
// an outline in the proportional font of the help box.
int BodyIndent(const QString& heading)
{
    int spaces = 0;
    while (spaces < heading.size() && heading.at(spaces) == u' ')
        ++spaces;
    return spaces + 4;
}

QString Render(const QList<Section>& sections)
{
    QString text;
    for (const Section& s : sections) {
        text += s.heading + kCrLf;
        if (s.heading.startsWith(u'【')) {
            text += kCrLf;
            continue;
        }
        if (s.body.isEmpty())
            continue; // a heading whose sub-sections follow at once
        const QString indent(BodyIndent(s.heading), u' ');
        for (const QString& line : s.body)
            text += indent + line + kCrLf;
        text += kCrLf;
    }
    return text;
}

} // namespace

QString HelpOutlineText(const QString& path)
{
    InitHelpResources();
    QStringList lines;
    if (!ReadLines(path, 0, lines))
        return QString();
    const std::optional<QList<Section>> sections = ParseSections(lines, path);
    return sections ? Render(*sections) : QString();
}

QString HelpPageText(int kind)
{
    const QString path = PagePath(kind);
    return path.isEmpty() ? QString() : HelpOutlineText(path);
}

void ApplyHangingIndents(QTextDocument& document)
{
    const QFontMetricsF metrics(document.defaultFont());
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        qsizetype spaces = 0;
        while (spaces < text.size() && text.at(spaces) == u' ')
            ++spaces;
        if (spaces == 0 || spaces == text.size())
            continue;
        // The first line starts at the edge and its spaces push it in; the lines it wraps
        // into start at the margin, which is where those spaces end.
        const qreal depth = metrics.horizontalAdvance(text.left(spaces));
        QTextBlockFormat format = block.blockFormat();
        format.setLeftMargin(depth);
        format.setTextIndent(-depth);
        QTextCursor(block).setBlockFormat(format);
    }
}

} // namespace brevant
