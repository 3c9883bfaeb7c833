#include "kept_shapes.h"

#include <QByteArray>
#include <QPainter>

#include "draw_surface.h"

#include <algorithm>

namespace brevant {

namespace {

// Qt's BYTE_MUL: each channel times a / 255, rounded as Qt rounds it.
QRgb ByteMul(QRgb x, uint a)
{
    uint t = (x & 0xff00ff) * a;
    t = (t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8;
    t &= 0xff00ff;
    x = ((x >> 8) & 0xff00ff) * a;
    x = (x + ((x >> 8) & 0xff00ff) + 0x800080);
    x &= 0xff00ff00;
    return x | t;
}

bool TurnedOn()
{
    const QByteArray off = qgetenv("BREVANT_NO_KEPT_SHAPES");
    return off.isEmpty() || off == "0";
}

} // namespace

KeptShapes* KeptShapes::OfThisThread()
{
    static const bool on = TurnedOn();
    if (!on)
        return nullptr;
    thread_local KeptShapes shapes;
    return &shapes;
}

bool KeptShapes::draw(QImage& image, const Key& key, const QPen& pen)
{
    for (const Entry& e : entries_) {
        if (e.key == key) {
            layOver(image, e);
            return true;
        }
    }
    // A shape is drawn as usual the first two times: most change with the figures, and
    // a batch record draws its own lines in two of its three charts, never again.
    const auto seen = std::find_if(seen_.begin(), seen_.end(),
                                   [&key](const Seen& s) { return s.key == key; });
    if (seen == seen_.end()) {
        if (seen_.size() >= kSeen)
            seen_.erase(seen_.begin());
        seen_.push_back({key, 1});
        return false;
    }
    if (++seen->times < 3)
        return false;
    seen_.erase(seen);
    Entry entry{key, {}, {}};
    if (!capture(image.size(), key, pen, entry))
        return false;
    if (entries_.size() >= kKept)
        entries_.erase(entries_.begin());
    entries_.push_back(std::move(entry));
    layOver(image, entries_.back());
    return true;
}

bool KeptShapes::capture(QSize size, const Key& key, const QPen& pen, Entry& entry)
{
    if (layer_.size() != size) {
        layer_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
        if (layer_.isNull())
            return false;
        layer_.fill(0);
    }
    {
        QPainter painter(&layer_);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.translate(0.5, 0.5);
        if (key.penWidth > 0) {
            painter.setPen(pen);
            painter.drawLine(key.shape[0], key.shape[1]);
        } else {
            painter.setPen(Qt::NoPen);
            painter.setBrush(ToQColor(key.colour));
            painter.drawPolygon(key.shape);
        }
    }
    // Only the rows and columns the shape can reach are looked at, then cleared again.
    const double reach = std::max(key.penWidth, 1) + 4.0;
    const QRect box = key.shape.boundingRect()
                          .adjusted(-reach, -reach, reach, reach)
                          .toAlignedRect()
                          .intersected(layer_.rect());
    for (int y = box.top(); y <= box.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(layer_.scanLine(y));
        int x = box.left();
        while (x <= box.right()) {
            if (row[x] == 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x <= box.right() && row[x] != 0)
                ++x;
            entry.runs.push_back({y, start, x - start, qsizetype(entry.pixels.size())});
            entry.pixels.insert(entry.pixels.end(), row + start, row + x);
            std::fill(row + start, row + x, QRgb(0));
        }
    }
    return true;
}

// Source-over of premultiplied pixels on an opaque image, rounded as Qt 6.4 (6.4.2, the
// version this is built and tested with) rounds a solid fill: its raster engine blends an
// antialiased span of a solid colour with comp_func_solid_SourceOver (qdrawhelper.cpp),
// d = BYTE_MUL(colour, coverage) + BYTE_MUL(d, 255 - alpha). The layer holds the first
// term; the second is done here. A Qt that rounds otherwise shows as the identity tests
// failing with the kept shapes on and passing with them off.
void KeptShapes::layOver(QImage& image, const Entry& e)
{
    for (const Run& run : e.runs) {
        auto* d = reinterpret_cast<QRgb*>(image.scanLine(run.y)) + run.x;
        const QRgb* s = e.pixels.data() + run.offset;
        for (int i = 0; i < run.count; ++i) {
            const uint alpha = qAlpha(s[i]);
            if (alpha == 255)
                d[i] = s[i];
            else
                d[i] = s[i] + ByteMul(d[i], 255 - alpha);
        }
    }
}

} // namespace brevant
