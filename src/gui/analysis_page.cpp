#include "analysis_page.h"

#include "analysis.h"
#include "platform.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <algorithm>
#include <iterator>

namespace brevant {

namespace {

const QColor kText(Qt::black);
const QColor kGain(0x1a, 0x5f, 0xb4);
const QColor kLoss(0xc0, 0x1c, 0x28);
const QColor kQuiet(0x5e, 0x5c, 0x64);
const QColor kRule(0xc0, 0xc0, 0xc0);
const QColor kHeaderBand(0xf0, 0xf0, 0xf0);

constexpr int kMargin = 10;      // white around the page
constexpr int kIndent = 16;      // a list or table under its heading
constexpr int kGap = 24;         // between the columns of a figure list
constexpr int kCellPad = 8;      // inside a table cell, left and right
constexpr int kRowPad = 2;       // above and below each row
constexpr int kHeadingSpace = 12;
constexpr int kNoteSpace = 4;
constexpr double kTitleScale = 1.3;

const char16_t kNote[] =
    u"図表の「目標営業利益」は目標売上高と損益分岐点売上高の差で、会計では安全余裕額と呼びます。"
    u"営業利益は限界利益から固定費を引いた額で、安全余裕額に限界利益率（1 − 変動費率）を掛けた額に"
    u"等しくなります。";
const char16_t kLegend[] = u"青は利益が増える変化、赤は利益が減る変化です。";
const char16_t kFooter[] =
    u"F4キーか虫めがねのボタンでこの表示を閉じます（F1～F3キーとヘルプボタンでも閉じます）。"
    u"Ctrl+Cキーで感度分析の表をコピーします。";

QTextCharFormat Plain(const QColor& colour)
{
    QTextCharFormat format;
    format.setForeground(colour);
    return format;
}

QTextCharFormat Bold(const QColor& colour)
{
    QTextCharFormat format = Plain(colour);
    format.setFontWeight(QFont::Bold);
    return format;
}

QColor EffectColour(int effect)
{
    return effect > 0 ? kGain : effect < 0 ? kLoss : kText;
}

// Starts a paragraph spaceAbove below the last one. The empty paragraph a table leaves after
// itself is taken instead; the layout ignores its top margin, so the table keeps the space.
void StartParagraph(QTextCursor& cursor, qreal spaceAbove)
{
    QTextBlockFormat block;
    block.setTopMargin(spaceAbove);
    if (cursor.block().length() > 1) {
        cursor.insertBlock(block);
        return;
    }
    cursor.setBlockFormat(block);
    QTextCursor before = cursor;
    if (!before.movePosition(QTextCursor::PreviousBlock))
        return;
    if (QTextTable* table = before.currentTable()) {
        QTextTableFormat format = table->format();
        format.setBottomMargin(spaceAbove);
        table->setFormat(format);
    }
}

void AddTitle(QTextCursor& cursor, const QString& text)
{
    StartParagraph(cursor, 0);
    QTextCharFormat format = Bold(kText);
    const qreal size = cursor.document()->defaultFont().pointSizeF();
    format.setFontPointSize(size > 0 ? size * kTitleScale : 14);
    cursor.insertText(text, format);
}

void AddHeading(QTextCursor& cursor, const QString& text)
{
    StartParagraph(cursor, kHeadingSpace);
    cursor.insertText(text, Bold(kText));
}

void AddNote(QTextCursor& cursor, const QString& text, qreal spaceAbove = kNoteSpace)
{
    StartParagraph(cursor, spaceAbove);
    cursor.insertText(text, Plain(kQuiet));
}

// Room a cell keeps from its neighbours.
QTextTableCellFormat CellBox(int left, int right)
{
    QTextTableCellFormat box;
    box.setLeftPadding(left);
    box.setRightPadding(right);
    box.setTopPadding(kRowPad);
    box.setBottomPadding(kRowPad);
    return box;
}

QTextTableFormat TableUnderHeading()
{
    QTextTableFormat format;
    format.setBorder(0);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_None);
    format.setCellSpacing(0);
    format.setCellPadding(0);
    format.setLeftMargin(kIndent);
    format.setTopMargin(kNoteSpace);
    return format;
}

// Fills a table's cells in reading order, each on one line: a figure never breaks.
class CellWriter {
public:
    explicit CellWriter(QTextTable* table) : table_(table) {}

    void Add(const QString& text, const QTextCharFormat& format, Qt::Alignment align,
             const QTextTableCellFormat& box)
    {
        QTextTableCell cell = table_->cellAt(next_ / table_->columns(), next_ % table_->columns());
        ++next_;
        cell.setFormat(box);
        QTextBlockFormat block;
        block.setAlignment(align);
        block.setNonBreakableLines(true);
        QTextCursor cursor = cell.firstCursorPosition();
        cursor.setBlockFormat(block);
        cursor.insertText(text, format);
    }

private:
    QTextTable* table_;
    int next_ = 0;
};

// Name, value and formula a line each, the values right-aligned in their column.
void AddFigureList(QTextCursor& cursor, const std::vector<AnalysisLine>& lines)
{
    const bool formulas = std::any_of(lines.begin(), lines.end(),
                                      [](const AnalysisLine& l) { return !l.formula.isEmpty(); });
    CellWriter cells(
        cursor.insertTable(int(lines.size()), formulas ? 3 : 2, TableUnderHeading()));
    for (const AnalysisLine& line : lines) {
        cells.Add(line.label, Plain(kText), Qt::AlignLeft, CellBox(0, kGap));
        cells.Add(line.value, Bold(kText), Qt::AlignRight, CellBox(0, kGap));
        if (formulas)
            cells.Add(u"＝ "_qs + line.formula, Plain(kQuiet), Qt::AlignLeft, CellBox(0, 0));
    }
    cursor.movePosition(QTextCursor::End);
}

// The heading row on a grey band, then a row per change; a change is coloured by what it
// does to profit.
void AddSensitivityTable(QTextCursor& cursor, const std::vector<SensitivityRow>& rows)
{
    QTextTableFormat format = TableUnderHeading();
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderBrush(kRule);
    format.setBorderCollapse(true);
    format.setHeaderRowCount(1);
    CellWriter cells(cursor.insertTable(int(rows.size()) + 1,
                                        int(std::size(kSensitivityColumns)), format));
    const auto align = [](SensitivityColumn column) {
        return column == SensitivityColumn::Change ? Qt::AlignLeft : Qt::AlignRight;
    };
    QTextTableCellFormat headerBox = CellBox(kCellPad, kCellPad);
    headerBox.setBackground(kHeaderBand);
    for (SensitivityColumn column : kSensitivityColumns)
        cells.Add(SensitivityHeading(column), Bold(kText), align(column), headerBox);
    for (const SensitivityRow& row : rows)
        for (SensitivityColumn column : kSensitivityColumns)
            cells.Add(SensitivityCell(row, column),
                      Plain(EffectColour(SensitivityCellEffect(row, column))), align(column),
                      CellBox(kCellPad, kCellPad));
    cursor.movePosition(QTextCursor::End);
}

QString CellText(const QTextTableCell& cell)
{
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return cursor.selectedText();
}

} // namespace

AnalysisPage::AnalysisPage(Platform& platform, QWidget* parent)
    : QTextEdit(parent), platform_(platform)
{
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(u"損益分岐点分析"_qs);
    setReadOnly(true);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setTabChangesFocus(true);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    document()->setDocumentMargin(kMargin);
    document()->setUndoRedoEnabled(false);
    hide();
}

void AnalysisPage::ShowFigures(const BepInputs& in)
{
    inputs_ = in;
    // The reader keeps their place while the figures change under them.
    const int top = verticalScrollBar()->value();
    const int left = horizontalScrollBar()->value();
    document()->clear();
    QTextCursor cursor(document());
    AddTitle(cursor, u"損益分岐点分析"_qs);
    AddHeading(cursor, u"入力"_qs);
    AddFigureList(cursor, InputLines(in));
    AddHeading(cursor, u"指標（目標売上高において）"_qs);
    AddFigureList(cursor, AnalysisLines(in));
    AddNote(cursor, QString::fromUtf16(kNote));
    AddHeading(cursor, u"感度分析"_qs);
    AddSensitivityTable(cursor, SensitivityTable(in));
    AddNote(cursor, QString::fromUtf16(kLegend));
    AddNote(cursor, QString::fromUtf16(kFooter), kHeadingSpace);
    verticalScrollBar()->setValue(top);
    horizontalScrollBar()->setValue(left);
}

QString AnalysisPage::Text() const
{
    QStringList lines;
    for (auto it = document()->rootFrame()->begin(); !it.atEnd(); ++it) {
        if (const auto* table = qobject_cast<QTextTable*>(it.currentFrame())) {
            for (int r = 0; r < table->rows(); ++r) {
                QStringList cells;
                for (int c = 0; c < table->columns(); ++c)
                    cells << CellText(table->cellAt(r, c));
                lines << cells.join(u'\t');
            }
        } else if (!it.currentBlock().text().isEmpty()) {
            lines << it.currentBlock().text();
        }
    }
    return lines.join(u'\n') + u'\n';
}

void AnalysisPage::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        platform_.SetClipboardText(SensitivityTabText(SensitivityTable(inputs_)));
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

} // namespace brevant
