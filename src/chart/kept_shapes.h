#pragma once
// Wide antialiased lines and antialiased polygon fills, kept as the pixels they put down.
// Qt rasterises such a shape in bands and walks the whole shape for every band, so a tall
// one costs the square of its height; the sales line alone was two fifths of a large
// render, the areas most of the rest. The same shape (same points, pen or brush, colour
// and image size) recurs from one render to the next: every chart's sales line is the
// plot's diagonal whatever the figures, and a spin step of 0.01 % moves few points. A
// shape met a third time is drawn onto a transparent layer of the image's size,
// exactly as it would be drawn on the image; what it left there (the colour times the
// coverage, premultiplied) is kept by row and from then on laid over the image with
// source-over, which is the very blend Qt's solid fill does with that coverage, so every
// pixel comes out the same. Only one fill at a time is kept: two blends one after the
// other do not round as one.
//
// This is the one drawing that depends on what was drawn before. Setting
// BREVANT_NO_KEPT_SHAPES (to anything but "0") when the program starts turns it off, so
// that a difference in the pixels can be told from a fault here.

#include "chart_style.h"

#include <QImage>
#include <QPen>
#include <QPolygonF>
#include <QSize>

#include <vector>

namespace brevant {

class KeptShapes {
public:
    struct Key {
        QPolygonF shape;   // a line's two ends, or a polygon
        int penWidth = 0;  // a line's pen; 0 for a polygon's fill
        ColorRef colour = 0;
        QSize imageSize;
        friend bool operator==(const Key& a, const Key& b)
        {
            return a.shape == b.shape && a.penWidth == b.penWidth && a.colour == b.colour
                   && a.imageSize == b.imageSize;
        }
    };

    // The calling thread's kept shapes, or nullptr when they are turned off. The
    // environment is read once per process.
    static KeptShapes* OfThisThread();

    // Lays the shape over the image when it is kept; false when the caller must draw it.
    // `pen` is a line's pen; a polygon is filled with the key's colour.
    bool draw(QImage& image, const Key& key, const QPen& pen);

private:
    static constexpr size_t kSeen = 32;
    static constexpr size_t kKept = 16;

    struct Run {
        int y, x, count;
        qsizetype offset;  // into pixels
    };
    struct Entry {
        Key key;
        std::vector<Run> runs;
        std::vector<QRgb> pixels;
    };
    struct Seen {
        Key key;
        int times = 0;
    };

    bool capture(QSize size, const Key& key, const QPen& pen, Entry& entry);
    static void layOver(QImage& image, const Entry& e);

    std::vector<Seen> seen_;
    std::vector<Entry> entries_;
    QImage layer_;
};

} // namespace brevant
