#include "gif_writer.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
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

// Colour to bin: open addressing on the 24-bit colour, kept at most half full.
class BinTable {
public:
    // Not a 24-bit colour: marks an empty slot.
    static constexpr QRgb kNone = UINT32_MAX;

    // The bin of `rgb`, appended to `bins` when the colour is new.
    uint32_t Find(QRgb rgb, std::vector<Bin>& bins)
    {
        for (size_t i = Start(rgb);; i = (i + 1) & mask_) {
            const Slot slot = slots_[i];
            if (slot.rgb == rgb)
                return slot.bin;
            if (slot.rgb == kNone) {
                const auto bin = uint32_t(bins.size());
                slots_[i] = {rgb, bin};
                bins.push_back({rgb, 0});
                if (2 * bins.size() > slots_.size())
                    Grow(bins);
                return bin;
            }
        }
    }

private:
    struct Slot {
        QRgb rgb = kNone;
        uint32_t bin = 0;
    };
    static constexpr int kInitialBits = 10;

    size_t Start(QRgb rgb) const { return (rgb * 0x9E3779B1U) >> shift_; }

    void Grow(const std::vector<Bin>& bins)
    {
        slots_.assign(slots_.size() * 2, Slot{});
        mask_ = slots_.size() - 1;
        --shift_;
        for (size_t k = 0; k < bins.size(); ++k) {
            size_t i = Start(bins[k].rgb);
            while (slots_[i].rgb != kNone)
                i = (i + 1) & mask_;
            slots_[i] = {bins[k].rgb, uint32_t(k)};
        }
    }

    std::vector<Slot> slots_ = std::vector<Slot>(size_t(1) << kInitialBits);
    size_t mask_ = (size_t(1) << kInitialBits) - 1;
    int shift_ = 32 - kInitialBits;
};

// Where the run of `rgb` that starts at `x` ends.
int RunEnd(const QRgb* line, int x, int w, QRgb rgb)
{
    int end = x + 1;
    while (end < w && (line[end] & 0xFFFFFF) == rgb)
        ++end;
    return end;
}

// The pixels as runs of one colour, each of at most 255 pixels and held in one word: the
// bin above the low byte, the length in it. A bin fits the 24 bits left, as there are no
// more colours than that; there are never more runs than pixels.
class Runs {
public:
    // Room past the last pixel that Expand writes into.
    static constexpr size_t kSlack = 8;

    explicit Runs(size_t pixels) : words_(std::make_unique_for_overwrite<uint32_t[]>(pixels)) {}

    void Add(uint32_t bin, int length)
    {
        for (; length > kMaxRun; length -= kMaxRun)
            words_[size_++] = bin << 8 | uint32_t(kMaxRun);
        words_[size_++] = bin << 8 | uint32_t(length);
    }

    // Each pixel's palette index through its bin's entry, eight bytes at a time: `out`
    // needs kSlack bytes beyond the pixels.
    void Expand(const std::vector<int>& entry, GifByteType* out) const
    {
        for (size_t i = 0; i < size_; ++i) {
            const uint32_t length = words_[i] & kMaxRun;
            const auto index = GifByteType(entry[words_[i] >> 8]);
            const uint64_t eight = uint64_t(index) * 0x0101010101010101U;
            for (uint32_t k = 0; k < length; k += 8)
                std::memcpy(out + k, &eight, 8);
            out += length;
        }
    }

private:
    static constexpr int kMaxRun = 0xFF;
    std::unique_ptr<uint32_t[]> words_;
    size_t size_ = 0;
};

// The image's colours in the order first met, and the pixels as runs of those colours.
// A run, the bulk of a chart, is looked up once.
void Histogram(const QImage& image, std::vector<Bin>& bins, Runs& runs)
{
    BinTable table;
    const int w = image.width();
    QRgb last = BinTable::kNone;
    uint32_t lastBin = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w;) {
            const QRgb rgb = line[x] & 0xFFFFFF;
            const int end = RunEnd(line, x, w, rgb);
            if (rgb != last) {
                last = rgb;
                lastBin = table.Find(rgb, bins);
            }
            bins[lastBin].count += uint32_t(end - x);
            runs.Add(lastBin, end - x);
            x = end;
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
        // The widest channel's byte: red 16 bits up, green 8, blue 0.
        const int shift = 16 - 8 * box.widest;
        std::sort(bins.begin() + ptrdiff_t(box.begin), bins.begin() + ptrdiff_t(box.end),
                  [shift](const Bin& a, const Bin& b) {
                      return ((a.rgb >> shift) & 0xFF) < ((b.rgb >> shift) & 0xFF);
                  });
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
// `indices` has Runs::kSlack bytes beyond the pixels.
int Palette(const QImage& image, GifByteType* indices,
            std::array<GifColorType, kMaxPalette>& palette)
{
    std::vector<Bin> bins;
    const size_t pixels = size_t(image.width()) * size_t(image.height());
    Runs runs(pixels);
    Histogram(image, bins, runs);
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
        const uint64_t notable = std::max<uint64_t>(16, pixels / 20000);
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
    runs.Expand(entry, indices);
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

    std::vector<GifByteType> indices(size_t(w) * size_t(h) + Runs::kSlack);
    // Unused entries stay black.
    std::array<GifColorType, kMaxPalette> palette{};
    const int colours = Palette(image, indices.data(), palette);
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
