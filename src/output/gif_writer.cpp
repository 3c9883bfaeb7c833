#include "gif_writer.h"

#include <QHash>

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <memory>
#include <vector>

namespace brevant {

namespace {

constexpr int kMaxPalette = 256;
constexpr int kMaxSide = 65535;

struct MapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using ColorMap = std::unique_ptr<ColorMapObject, MapDeleter>;

int OutputToArray(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

// giflib wants a power-of-two palette of at least two entries.
int PaletteSize(int colours)
{
    int size = 2;
    while (size < colours)
        size *= 2;
    return size;
}

// One colour of the image and how many pixels have it.
struct Bin {
    QRgb rgb = 0;
    uint32_t count = 0;
};

// The image's colours in the order first met, and each pixel's colour as an index into
// them. Runs of one colour, the bulk of a chart, skip the table.
void Histogram(const QImage& image, std::vector<Bin>& bins, std::vector<uint32_t>& pixels)
{
    QHash<QRgb, uint32_t> seen;
    const int w = image.width();
    QRgb last = 0;
    uint32_t lastBin = UINT32_MAX;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uint32_t* out = pixels.data() + size_t(y) * size_t(w);
        for (int x = 0; x < w; ++x) {
            const QRgb rgb = line[x] & 0xFFFFFF;
            if (rgb != last || lastBin == UINT32_MAX) {
                auto it = seen.constFind(rgb);
                if (it == seen.constEnd()) {
                    it = seen.insert(rgb, uint32_t(bins.size()));
                    bins.push_back({rgb, 0});
                }
                last = rgb;
                lastBin = it.value();
            }
            ++bins[lastBin].count;
            out[x] = lastBin;
        }
    }
}

GifColorType Entry(QRgb rgb)
{
    return {GifByteType(qRed(rgb)), GifByteType(qGreen(rgb)), GifByteType(qBlue(rgb))};
}

int Channel(QRgb rgb, int channel)
{
    return channel == 0 ? qRed(rgb) : channel == 1 ? qGreen(rgb) : qBlue(rgb);
}

// A box of the median cut: a run of colours and how far they spread from their mean.
struct Box {
    size_t begin = 0;
    size_t end = 0;
    double error = 0;  // pixel-weighted squared distance from the mean, all channels
    int widest = 0;    // the channel that spreads most
    QRgb mean = 0;
};

Box MakeBox(const std::vector<Bin>& bins, size_t begin, size_t end)
{
    Box box{begin, end, 0, 0, 0};
    double weight = 0;
    double sum[3] = {};
    double square[3] = {};
    for (size_t i = begin; i < end; ++i) {
        const double n = bins[i].count;
        weight += n;
        for (int c = 0; c < 3; ++c) {
            const double v = Channel(bins[i].rgb, c);
            sum[c] += n * v;
            square[c] += n * v * v;
        }
    }
    double spread[3];
    int mean[3];
    for (int c = 0; c < 3; ++c) {
        spread[c] = square[c] - sum[c] * sum[c] / weight;
        mean[c] = int(sum[c] / weight + 0.5); // NOLINT(bugprone-incorrect-roundings): never negative
    }
    box.error = end - begin < 2 ? 0 : spread[0] + spread[1] + spread[2];
    box.widest = spread[0] >= spread[1] && spread[0] >= spread[2] ? 0 : spread[1] >= spread[2] ? 1 : 2;
    box.mean = qRgb(mean[0], mean[1], mean[2]);
    return box;
}

// Median cut of the colours into at most `count` entries: the box whose colours lie
// farthest from their mean is split at the pixel-weighted median of its widest channel.
std::vector<QRgb> MedianCut(std::vector<Bin> bins, int count)
{
    std::vector<Box> boxes;
    if (bins.empty() || count <= 0)
        return {};
    boxes.push_back(MakeBox(bins, 0, bins.size()));
    while (int(boxes.size()) < count) {
        auto worst = std::max_element(boxes.begin(), boxes.end(),
                                      [](const Box& a, const Box& b) { return a.error < b.error; });
        if (worst->error <= 0)
            break;
        const Box box = *worst;
        const int c = box.widest;
        std::sort(bins.begin() + ptrdiff_t(box.begin), bins.begin() + ptrdiff_t(box.end),
                  [c](const Bin& a, const Bin& b) { return Channel(a.rgb, c) < Channel(b.rgb, c); });
        uint64_t total = 0;
        for (size_t i = box.begin; i < box.end; ++i)
            total += bins[i].count;
        uint64_t below = 0;
        size_t split = box.begin + 1;
        for (size_t i = box.begin; i + 1 < box.end; ++i) {
            below += bins[i].count;
            split = i + 1;
            if (2 * below >= total)
                break;
        }
        *worst = MakeBox(bins, box.begin, split);
        boxes.push_back(MakeBox(bins, split, box.end));
    }
    std::vector<QRgb> palette;
    palette.reserve(boxes.size());
    for (const Box& box : boxes)
        palette.push_back(box.mean);
    return palette;
}

// Finds the palette entry nearest to a colour. The entries are ordered by red, and the
// search walks out from the colour's red in both directions until red alone is farther
// than the best found.
class NearestEntry {
public:
    NearestEntry(const std::array<GifColorType, kMaxPalette>& palette, int size)
    {
        for (int i = 0; i < size; ++i)
            byRed_.push_back({palette[size_t(i)].Red, palette[size_t(i)].Green,
                              palette[size_t(i)].Blue, i});
        std::stable_sort(byRed_.begin(), byRed_.end(),
                         [](const Item& a, const Item& b) { return a.r < b.r; });
    }

    int operator()(QRgb rgb) const
    {
        const int r = qRed(rgb);
        const int g = qGreen(rgb);
        const int b = qBlue(rgb);
        const auto up = std::lower_bound(byRed_.begin(), byRed_.end(), r,
                                         [](const Item& item, int red) { return item.r < red; });
        int best = -1;
        int bestDistance = INT32_MAX;
        const auto consider = [&](const Item& item) {
            const int dr = item.r - r;
            const int dg = item.g - g;
            const int db = item.b - b;
            const int d = dr * dr + dg * dg + db * db;
            if (d < bestDistance || (d == bestDistance && item.index < best)) {
                bestDistance = d;
                best = item.index;
            }
        };
        for (auto it = up; it != byRed_.end() && (it->r - r) * (it->r - r) <= bestDistance; ++it)
            consider(*it);
        for (auto it = up; it != byRed_.begin() && (r - (it - 1)->r) * (r - (it - 1)->r) <= bestDistance;
             --it)
            consider(*(it - 1));
        return best;
    }

private:
    struct Item {
        int r, g, b, index;
    };
    std::vector<Item> byRed_;
};

// The colours that cover a notable part of the image (flat areas, lines, the style's
// colours) keep exact entries, at most this many; the rest of the palette is a median
// cut of the remaining colours (anti-aliased edges, text), and each of those pixels takes
// the nearest entry of the whole palette.
constexpr int kMaxExact = 64;
constexpr int kNoEntry = -1;
// Rounds of moving each quantised entry to the mean of the colours that took it, and of
// choosing the nearest entry again: two take most of what more rounds would.
constexpr int kRefineRounds = 2;

// The entries from `exact` on move; the exact ones, and the colours they were kept for,
// stay.
void Refine(const std::vector<Bin>& bins, const std::vector<bool>& kept,
            std::vector<int>& entry, int exact,
            std::array<GifColorType, kMaxPalette>& palette, int size)
{
    for (int round = 0; round < kRefineRounds; ++round) {
        std::vector<std::array<double, 4>> sums(size_t(size), std::array<double, 4>{});
        for (size_t i = 0; i < bins.size(); ++i) {
            if (kept[i])
                continue;
            auto& sum = sums[size_t(entry[i])];
            const double n = bins[i].count;
            sum[0] += n * qRed(bins[i].rgb);
            sum[1] += n * qGreen(bins[i].rgb);
            sum[2] += n * qBlue(bins[i].rgb);
            sum[3] += n;
        }
        for (int k = exact; k < size; ++k) {
            const auto& sum = sums[size_t(k)];
            if (sum[3] > 0)
                // Means are never negative, so adding a half rounds them.
                // NOLINTBEGIN(bugprone-incorrect-roundings)
                palette[size_t(k)] = {GifByteType(sum[0] / sum[3] + 0.5),
                                      GifByteType(sum[1] / sum[3] + 0.5),
                                      GifByteType(sum[2] / sum[3] + 0.5)};
                // NOLINTEND(bugprone-incorrect-roundings)
        }
        const NearestEntry nearest(palette, size);
        for (size_t i = 0; i < bins.size(); ++i)
            if (!kept[i])
                entry[i] = nearest(bins[i].rgb);
    }
}

// Fills the palette and each pixel's index into it; the number of entries used.
int Palette(const QImage& image, std::vector<GifByteType>& indices,
            std::array<GifColorType, kMaxPalette>& palette)
{
    std::vector<Bin> bins;
    std::vector<uint32_t> pixels(indices.size());
    Histogram(image, bins, pixels);
    std::vector<int> entry(bins.size());
    int size = 0;
    if (bins.size() <= size_t(kMaxPalette)) {
        for (size_t i = 0; i < bins.size(); ++i) {
            palette[i] = Entry(bins[i].rgb);
            entry[i] = int(i);
        }
        size = int(bins.size());
    } else {
        std::vector<uint32_t> order(bins.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = uint32_t(i);
        std::stable_sort(order.begin(), order.end(), [&bins](uint32_t a, uint32_t b) {
            return bins[a].count > bins[b].count;
        });
        // Notable: at least 16 pixels and one in 20,000.
        const uint64_t notable = std::max<uint64_t>(16, pixels.size() / 20000);
        size_t exact = 0;
        while (exact < order.size() && exact < size_t(kMaxExact)
               && bins[order[exact]].count >= notable)
            ++exact;
        std::fill(entry.begin(), entry.end(), kNoEntry);
        std::vector<bool> kept(bins.size());
        for (size_t i = 0; i < exact; ++i) {
            palette[i] = Entry(bins[order[i]].rgb);
            entry[order[i]] = int(i);
            kept[order[i]] = true;
        }
        std::vector<Bin> rest;
        rest.reserve(order.size() - exact);
        for (size_t i = exact; i < order.size(); ++i)
            rest.push_back(bins[order[i]]);
        size = int(exact);
        for (QRgb rgb : MedianCut(std::move(rest), kMaxPalette - int(exact)))
            palette[size_t(size++)] = Entry(rgb);
        const NearestEntry nearest(palette, size);
        for (size_t i = 0; i < bins.size(); ++i)
            if (entry[i] == kNoEntry)
                entry[i] = nearest(bins[i].rgb);
        Refine(bins, kept, entry, int(exact), palette, size);
    }
    for (size_t i = 0; i < pixels.size(); ++i)
        indices[i] = GifByteType(entry[pixels[i]]);
    return size;
}

} // namespace

std::optional<QByteArray> EncodeGif(const QImage& source)
{
    if (source.isNull() || source.width() > kMaxSide || source.height() > kMaxSide)
        return std::nullopt;
    const QImage image = source.format() == QImage::Format_RGB32
                             ? source
                             : source.convertToFormat(QImage::Format_RGB32);
    if (image.isNull())
        return std::nullopt;
    const int w = image.width();
    const int h = image.height();

    std::vector<GifByteType> indices(size_t(w) * size_t(h));
    // Unused entries stay black.
    std::array<GifColorType, kMaxPalette> palette{};
    const int colours = Palette(image, indices, palette);
    const ColorMap map(GifMakeMapObject(PaletteSize(colours), palette.data()));
    if (!map)
        return std::nullopt;

    QByteArray bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, OutputToArray, &error);
    if (!gif)
        return std::nullopt;
    bool ok = EGifPutScreenDesc(gif, w, h, 8, 0, map.get()) == GIF_OK
              && EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < h; ++y)
        ok = EGifPutLine(gif, indices.data() + size_t(y) * size_t(w), w) == GIF_OK;
    // Closing writes the trailer and frees the handle whatever happened before.
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    if (!ok)
        return std::nullopt;
    return bytes;
}

} // namespace brevant
