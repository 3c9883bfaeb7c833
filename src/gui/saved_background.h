#pragma once
// The pixels saved under an overlay drawn on a window's back buffer (the pointer stick,
// the drag value label), and where they go back. The main window keeps one such store
// that both overlays share; ImageBackground is a stand-alone one.

#include <QImage>
#include <QRect>

namespace brevant {

class SavedBackground {
public:
    virtual ~SavedBackground() = default;
    // A fresh store of the given size, compatible with the window; false when it cannot
    // be made.
    virtual bool Create(const QImage& window, int width, int height) = 0;
    // Copies the window's pixels in `box` (which has the store's size) into the store.
    virtual void Save(const QImage& window, const QRect& box) = 0;
    // Puts the saved pixels back at Rect(), if it is not empty; Rect() stays as it is.
    virtual void Restore(QImage& window) = 0;
    virtual QRect Rect() const = 0;
    virtual void SetRect(const QRect& rect) = 0;
    void Forget() { SetRect(QRect()); }
};

class ImageBackground final : public SavedBackground {
public:
    bool Create(const QImage& window, int width, int height) override;
    void Save(const QImage& window, const QRect& box) override;
    void Restore(QImage& window) override;
    QRect Rect() const override { return rect_; }
    void SetRect(const QRect& rect) override { rect_ = rect; }

    // Refuses every Create while set, as when memory runs out.
    bool failCreate = false;

private:
    QImage saved_;
    QRect rect_;
};

} // namespace brevant
