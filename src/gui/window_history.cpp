#include "window_history.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QUndoCommand>

#include <bit>
#include <cstdint>

namespace brevant {

namespace {

// Bit for bit, so an amount that is not a number still equals itself.
bool Same(double a, double b) { return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b); }

} // namespace

bool SameFigures(const WindowFigures& a, const WindowFigures& b)
{
    return a.amountTexts == b.amountTexts && Same(a.inputs.maxSales, b.inputs.maxSales) &&
           Same(a.inputs.targetSales, b.inputs.targetSales) &&
           Same(a.inputs.fixedCosts, b.inputs.fixedCosts) &&
           a.inputs.variableCostRatio == b.inputs.variableCostRatio &&
           a.inputs.amountUnit == b.inputs.amountUnit && a.style == b.style;
}

WindowFigures FiguresOf(const BepInputs& inputs, const ChartStyle& style)
{
    return {{FormatWhole(inputs.maxSales), FormatWhole(inputs.targetSales),
             FormatWhole(inputs.fixedCosts)},
            inputs,
            style};
}

class WindowHistory::Step : public QUndoCommand {
public:
    Step(WindowHistory& history, WindowFigures before, WindowFigures after, const QString& text,
         StepSide side, quint64 mark)
        : QUndoCommand(text), history_(history), before_(std::move(before)),
          after_(std::move(after)), side_(std::move(side)), mark_(mark)
    {
    }
    void undo() override
    {
        history_.Apply(before_);
        if (side_.undo)
            side_.undo();
    }
    void redo() override
    {
        // Pushing runs redo once; the window shows the new state already.
        if (pushed_) {
            history_.Apply(after_);
            if (side_.redo)
                side_.redo();
        }
        pushed_ = true;
    }
    quint64 Mark() const { return mark_; }

private:
    WindowHistory& history_;
    WindowFigures before_;
    WindowFigures after_;
    StepSide side_;
    quint64 mark_;
    bool pushed_ = false;
};

WindowHistory::WindowHistory(std::function<WindowFigures()> read,
                             std::function<void(const WindowFigures&)> show, QObject* parent)
    : QObject(parent), read_(std::move(read)), show_(std::move(show))
{
    undo_ = new QAction(QStringLiteral("元に戻す"), this);
    undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    undo_->setToolTip(QStringLiteral("直前の変更を元に戻します(Ctrl+Z)"));
    redo_ = new QAction(QStringLiteral("やり直し"), this);
    redo_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y),
                         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    redo_->setToolTip(QStringLiteral("元に戻した変更をやり直します(Ctrl+Y)"));
    for (QAction* action : {undo_, redo_}) {
        action->setShortcutVisibleInContextMenu(true);
        action->setEnabled(false);
    }
    connect(&stack_, &QUndoStack::canUndoChanged, undo_, &QAction::setEnabled);
    connect(&stack_, &QUndoStack::canRedoChanged, redo_, &QAction::setEnabled);
    connect(undo_, &QAction::triggered, this, &WindowHistory::Undo);
    connect(redo_, &QAction::triggered, this, &WindowHistory::Redo);
}

void WindowHistory::Reset() { kept_ = read_(); }

bool WindowHistory::Commit(const QString& text, StepSide side)
{
    if (applying_)
        return false;
    WindowFigures now = read_();
    if (SameFigures(now, kept_) && !side.undo && !side.redo)
        return false;
    auto* step = new Step(*this, kept_, now, text, std::move(side), nextMark_++);
    kept_ = std::move(now);
    stack_.push(step);
    return true;
}

void WindowHistory::Replace(const WindowFigures& figures, const QString& text, StepSide side)
{
    Commit();
    Show(figures);
    Commit(text, std::move(side));
}

quint64 WindowHistory::MarkAt(int index) const
{
    // Only steps of this class are pushed.
    return index > 0 && index <= stack_.count()
               ? static_cast<const Step*>(stack_.command(index - 1))->Mark()
               : 0;
}

void WindowHistory::Undo()
{
    // A change still in progress (an entry being typed in) becomes a step first, so undo
    // takes back that change.
    Commit();
    stack_.undo();
}

void WindowHistory::Redo()
{
    // Anything changed since the last undo replaces what could be redone.
    Commit();
    stack_.redo();
}

void WindowHistory::Show(const WindowFigures& figures)
{
    applying_ = true;
    show_(figures);
    applying_ = false;
}

void WindowHistory::TakeKeysFrom(QWidget* window)
{
    for (QLineEdit* edit : window->findChildren<QLineEdit*>())
        edit->installEventFilter(this);
    for (QAbstractSpinBox* spin : window->findChildren<QAbstractSpinBox*>())
        spin->installEventFilter(this);
}

bool WindowHistory::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        QList<QKeySequence> keys = undo_->shortcuts();
        keys += redo_->shortcuts();
        // Left unaccepted, the key goes to the window's shortcuts.
        if (keys.contains(pressed))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

void WindowHistory::Apply(const WindowFigures& figures)
{
    Show(figures);
    // What the window shows now, which a stopped batch's figures may have left different.
    kept_ = read_();
}

} // namespace brevant
