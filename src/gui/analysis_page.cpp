#include "analysis_page.h"

#include "analysis.h"
#include "platform.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace brevant {

namespace {

const QColor kText(Qt::black);
const QColor kGain(0x1a, 0x5f, 0xb4);
const QColor kLoss(0xc0, 0x1c, 0x28);
const QColor kQuiet(0x5e, 0x5c, 0x64);
const QColor kRule(0xc0, 0xc0, 0xc0);
const QColor kHeaderBand(0xf0, 0xf0, 0xf0);

constexpr int kMargin = 10;
constexpr int kIndent = 16;
constexpr int kGap = 24;
constexpr int kCellPad = 8;

const char16_t kNote[] =
    u"図表の「目標営業利益」は目標売上高と損益分岐点売上高の差で、会計では安全余裕額と呼びます。"
    u"営業利益は限界利益から固定費を引いた額で、安全余裕額に限界利益率（1 − 変動費率）を掛けた額に"
    u"等しくなります。";
const char16_t kLegend[] = u"青は利益が増える変化、赤は利益が減る変化です。";
const char16_t kFooter[] =
    u"F4キーでこの表示を閉じます（F1～F3キーとヘルプボタンでも閉じます）。"
    u"Ctrl+Cキーで感度分析の表をコピーします。";

} // namespace

AnalysisPage::AnalysisPage(Platform& platform, QWidget* parent)
    : QAbstractScrollArea(parent), platform_(platform)
{
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(u"損益分岐点分析"_qs);
    viewport()->setAutoFillBackground(false);
    hide();
}

void AnalysisPage::ShowFigures(const BepInputs& in)
{
    inputs_ = in;
    Layout();
    viewport()->update();
}

void AnalysisPage::Layout()
{
    pieces_.clear();
    rules_.clear();
    const QFont plain = font();
    QFont bold = plain;
    bold.setBold(true);
    QFont title = bold;
    title.setPointSizeF(plain.pointSizeF() > 0 ? plain.pointSizeF() * 1.3 : 14);
    const QFontMetrics fm(plain), bfm(bold), tfm(title);
    const int line = fm.height() + 4;
    const int width = std::max(viewport()->width() - 2 * kMargin, 200);

    int y = kMargin;
    int row = 0;
    int right = 0;
    const auto put = [&](int x, int w, int h, const QString& text, int flags, const QColor& c,
                         const QFont& f) {
        pieces_.push_back({QRect(x, y, w, h), text, flags | Qt::AlignVCenter, c, f, row});
        right = std::max(right, x + w);
    };
    const auto heading = [&](const QString& text, const QFont& f, int height) {
        y += 6;
        put(kMargin, QFontMetrics(f).horizontalAdvance(text), height, text, Qt::AlignLeft, kText,
            f);
        y += height + 2;
        ++row;
    };
    const auto paragraph = [&](const QString& text, const QColor& c) {
        const QRect r = fm.boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, text);
        y += 4;
        put(kMargin, width, r.height(), text, Qt::AlignLeft | Qt::TextWordWrap, c, plain);
        y += r.height();
        ++row;
    };
    // Name, value and formula, the values right-aligned in their column.
    const auto figures = [&](const std::vector<AnalysisLine>& lines) {
        int labelWidth = 0, valueWidth = 0;
        for (const AnalysisLine& l : lines) {
            labelWidth = std::max(labelWidth, fm.horizontalAdvance(l.label));
            valueWidth = std::max(valueWidth, bfm.horizontalAdvance(l.value));
        }
        const int valueX = kMargin + kIndent + labelWidth + kGap;
        const int formulaX = valueX + valueWidth + kGap;
        for (const AnalysisLine& l : lines) {
            put(kMargin + kIndent, labelWidth, line, l.label, Qt::AlignLeft, kText, plain);
            put(valueX, valueWidth, line, l.value, Qt::AlignRight, kText, bold);
            if (!l.formula.isEmpty()) {
                const QString formula = u"＝ "_qs + l.formula;
                put(formulaX, fm.horizontalAdvance(formula), line, formula, Qt::AlignLeft,
                    kQuiet, plain);
            }
            y += line;
            ++row;
        }
    };

    heading(u"損益分岐点分析"_qs, title, tfm.height() + 4);
    heading(u"入力"_qs, bold, line);
    figures(InputLines(inputs_));
    heading(u"指標（目標売上高において）"_qs, bold, line);
    figures(AnalysisLines(inputs_));
    paragraph(QString::fromUtf16(kNote), kQuiet);

    heading(u"感度分析"_qs, bold, line);
    const std::vector<SensitivityRow> rows = SensitivityTable(inputs_);
    std::vector<QStringList> cells{SensitivityHeader()};
    std::vector<QColor> colours{kText};
    for (const SensitivityRow& r : rows) {
        cells.push_back(SensitivityCells(r));
        const int effect = SensitivityEffect(r);
        colours.push_back(effect > 0 ? kGain : effect < 0 ? kLoss : kText);
    }
    const qsizetype columns = cells.front().size();
    std::vector<int> widths(size_t(columns), 0);
    for (size_t r = 0; r < cells.size(); ++r)
        for (qsizetype c = 0; c < columns; ++c)
            widths[size_t(c)] = std::max(widths[size_t(c)],
                                         (r == 0 ? bfm : fm).horizontalAdvance(cells[r][c]) +
                                             2 * kCellPad);
    const int tableX = kMargin + kIndent;
    int tableWidth = 0;
    for (int w : widths)
        tableWidth += w;
    const int tableTop = y;
    headerBand_ = QRect(tableX, y, tableWidth, line);
    for (size_t r = 0; r < cells.size(); ++r) {
        rules_.push_back(QLine(tableX, y, tableX + tableWidth, y));
        int x = tableX;
        for (qsizetype c = 0; c < columns; ++c) {
            // A change is coloured by what it does to profit; no change stays black.
            const Figure change =
                r == 0 || c < 4 ? Figure()
                                : c == 4 ? rows[r - 1].breakEvenChange : rows[r - 1].profitChange;
            const bool coloured = change && std::round(*change) != 0;
            put(x + kCellPad, widths[size_t(c)] - 2 * kCellPad, line, cells[r][c],
                c == 0 ? Qt::AlignLeft : Qt::AlignRight, coloured ? colours[r] : kText,
                r == 0 ? bold : plain);
            x += widths[size_t(c)];
        }
        y += line;
        ++row;
    }
    rules_.push_back(QLine(tableX, y, tableX + tableWidth, y));
    for (int x = tableX, c = 0; c <= columns; x += c < columns ? widths[size_t(c)] : 0, ++c)
        rules_.push_back(QLine(x, tableTop, x, y));
    paragraph(QString::fromUtf16(kLegend), kQuiet);
    y += 6;
    paragraph(QString::fromUtf16(kFooter), kQuiet);

    content_ = QSize(right + kMargin, y + kMargin);
    verticalScrollBar()->setRange(0, std::max(content_.height() - viewport()->height(), 0));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(line);
    horizontalScrollBar()->setRange(0, std::max(content_.width() - viewport()->width(), 0));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(line);
}

QString AnalysisPage::Text() const
{
    QString text;
    int row = -1;
    for (const Piece& p : pieces_) {
        if (p.row != row) {
            if (row >= 0)
                text += u'\n';
            row = p.row;
        } else {
            text += u'\t';
        }
        text += p.text;
    }
    return text + u'\n';
}

void AnalysisPage::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    p.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    p.fillRect(headerBand_, kHeaderBand);
    p.setPen(kRule);
    p.drawLines(rules_.data(), int(rules_.size()));
    for (const Piece& piece : pieces_) {
        p.setFont(piece.font);
        p.setPen(piece.colour);
        p.drawText(piece.rect, piece.flags, piece.text);
    }
}

void AnalysisPage::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    Layout();
}

void AnalysisPage::scrollContentsBy(int, int)
{
    viewport()->update();
}

void AnalysisPage::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        platform_.SetClipboardText(SensitivityTabText(SensitivityTable(inputs_)));
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

} // namespace brevant
