#pragma once
// Undo and redo of the main window's figures and style. The window keeps the state as it
// stood after the last finished change; at the end of each change the current state is
// compared with it and, when they differ, one step holding both is recorded. Undoing or
// redoing a step hands the window the state to show.

#include "bep_model.h"
#include "chart_style.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <array>
#include <functional>

class QAction;
class QWidget;

namespace brevant {

// Everything a step puts back: the entries' amount texts (which make the amounts and
// their words), the ratio and unit, and the style. The figures are kept as well, so a
// change made to them directly (a batch that stopped half-way) still counts.
struct WindowFigures {
    std::array<QString, 3> amountTexts;
    BepInputs inputs;
    ChartStyle style;
};

bool SameFigures(const WindowFigures& a, const WindowFigures& b);

// What a step changes beside the figures (the window's file, when a scenario is opened):
// `undo` runs after the figures are put back, `redo` after they are shown again.
struct StepSide {
    std::function<void()> undo;
    std::function<void()> redo;
};
// The state that shows `inputs` and `style`: the amounts written as the window writes them.
WindowFigures FiguresOf(const BepInputs& inputs, const ChartStyle& style);

class WindowHistory : public QObject {
    Q_OBJECT
public:
    // `read` gives the window's state; `show` puts a state into the window and repaints.
    WindowHistory(std::function<WindowFigures()> read,
                  std::function<void(const WindowFigures&)> show, QObject* parent);

    // The state as it stands is the starting point; no step is recorded.
    void Reset();
    // Records one step when the window's state differs from the last one kept; false when
    // nothing changed or a step is being applied. A step with a side is recorded even when
    // the figures stay as they were.
    bool Commit(const QString& text = QString(), StepSide side = {});
    // Shows a whole new state as one step (a change in progress stays a step of its own).
    void Replace(const WindowFigures& figures, const QString& text, StepSide side = {});
    // Names the state reached after the first `index` steps: the name stays the same only
    // while the same steps lead there, so a state saved once is known again after undo and
    // redo, and not after the steps were replaced.
    quint64 MarkAt(int index) const;
    void Undo();
    void Redo();
    // Shows a state without recording it; the next Commit records the change.
    void Show(const WindowFigures& figures);
    // Ctrl+Z and Ctrl+Y reach the window's actions from the entries and spins inside
    // `window`, which would otherwise take them as their own undo of the text.
    void TakeKeysFrom(QWidget* window);

    QUndoStack& Stack() { return stack_; }
    QAction* UndoAction() const { return undo_; }
    QAction* RedoAction() const { return redo_; }

private:
    class Step;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void Apply(const WindowFigures& figures);

    std::function<WindowFigures()> read_;
    std::function<void(const WindowFigures&)> show_;
    WindowFigures kept_;
    bool applying_ = false;
    quint64 nextMark_ = 1;
    QUndoStack stack_;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
};

} // namespace brevant
