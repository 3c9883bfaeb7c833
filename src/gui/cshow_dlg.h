#pragma once
// The full-screen presentation window. It owns no chart data: it reads and changes the
// main window's figures, style and drag state through PresentationHost, and draws with its
// renderer into its own back buffer, adding the button menu, the pointer stick, ripple
// and ink.

#include "drag_edit.h"
#include "balloon_tip.h"
#include "pointer_stick.h"
#include "present_images.h"
#include "present_menu.h"
#include "renderer_background.h"

#include <QDialog>
#include <QImage>
#include <QRegion>
#include <QTimer>

#include <array>

namespace brevant {

class PresentationHost;
class ProfileStore;

class CShowDlg : public QDialog {
    Q_OBJECT
public:
    CShowDlg(PresentationHost& mainWindow, ProfileStore& store, QWidget* parent = nullptr);
    // Writes the ink colour to the profile and gives the cursor back.
    ~CShowDlg() override;

    // Start-up, then the modal run. When a picture cannot be loaded, message 30001 is shown
    // and the run ends at once as cancelled.
    int exec() override;
    // Start-up alone: places and shows the window full-screen on the main window's screen. False
    // (after the message) when a picture cannot be loaded.
    bool Start();

    // Commands of key table 154 and menu 156.
    void OnCommand(int id);
    // A click on button `button` (0..6) of the button menu.
    void OnMenuButton(int button);
    // The end of the menu's start-up display (the five-second timer).
    void OnHideTimer();
    bool HideTimerRunning() const { return hideTimer_.isActive(); }

    // Pictures from elsewhere than the compiled-in resources.
    void SetPicturePaths(const QString& menuStrip, const std::array<QString, 3>& sticks);

    const QImage& backBuffer() const { return buffer_; }
    const PresentMenu& buttonMenu() const { return menu_; }
    const PointerStick& stick() const { return stick_; }
    BalloonTip& tooltip() { return tooltip_; }
    QRect screenRect() const { return QRect(QPoint(0, 0), screenSize_); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Charts full-screen, then the menu; stick, ripple and ink are gone.
    void RepaintAll();
    // RepaintAll into the back buffer only.
    void RenderAll();
    // The charts and the menu again inside `area` only.
    void RepaintArea(const QRect& area);
    void UpdateStick(bool buttonDown, QPoint point);
    QPoint CursorPosition() const;

    void MenuMove(QPoint point, QPoint global);
    // Drag editing with the whole screen as chart area.
    void DragMove(QPoint point, bool ctrl);
    void DropDrag(QPoint point);
    void CancelDrag();
    void RemoveDragLabel();
    void SetDragCursor(DragCursor cursor);
    void ToggleChart(int chart);
    void ChangeFontSize(int delta);
    void ToggleUnit();
    void ToggleAlwaysShow();
    void ToggleStick();
    void ChooseInkColour();
    void ChangeStickLevel(int delta);
    void OpenContextMenu(QPoint globalPos);
    void HideCursor();
    void ShowCursor();

    PresentationHost& main_;
    ProfileStore& store_;
    RendererBackground background_;
    PresentImages images_;
    QString stripPath_;
    std::array<QString, 3> stickPaths_;
    PresentMenu menu_;
    PointerStick stick_;
    BalloonTip tooltip_;
    QTimer hideTimer_;
    QSize screenSize_;
    QImage buffer_;
    // The charts as last rendered, for redrawing part of the screen without the overlays.
    QImage charts_;
    std::array<QRect, 3> chartRects_{};
    QPoint lastPointer_;
    bool cursorHidden_ = false;
};

} // namespace brevant
