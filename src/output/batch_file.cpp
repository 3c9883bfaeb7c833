#include "batch_file.h"

#include "text_util.h"

#include <algorithm>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brevant {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr qint64 kChunk = 1 << 20;

// How many bytes at the end of `data` start a UTF-8 sequence that the next chunk may
// complete; they are checked together with that chunk.
qsizetype IncompleteTail(const QByteArray& data)
{
    const qsizetype n = data.size();
    for (qsizetype back = 1; back <= std::min<qsizetype>(3, n); ++back) {
        const auto c = static_cast<unsigned char>(data[n - back]);
        if ((c & 0xC0) == 0x80)
            continue; // a continuation byte: keep looking for the lead byte
        const qsizetype need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return need > back ? back : 0;
    }
    return 0;
}

} // namespace

BatchFile::BatchFile(const QString& path, BatchEncoding encoding)
    : file_(path), encoding_(encoding)
{
}

bool BatchFile::Open()
{
    // Opened without blocking and checked before anything is read: a FIFO would wait for
    // a writer forever, and a device such as /dev/zero never ends.
    const QByteArray path = QFile::encodeName(file_.fileName());
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)
        || ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0
        || !file_.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

qint64 BatchFile::CountLines(qint64 limit)
{
    if (!file_.seek(0))
        return 0;
    qint64 lines = 0;
    qint64 content = 0;     // bytes seen
    char last = '\n';       // the last byte seen; '\n' while there is none
    bool valid = true;      // still well-formed UTF-8
    QByteArray pending;     // bytes of a UTF-8 sequence cut by the chunk boundary
    QByteArray head;        // the first bytes, to spot a byte order mark
    // A small file gets a buffer of its own size, not a whole chunk.
    const qint64 chunk = std::clamp<qint64>(file_.size(), 1, kChunk);
    std::vector<char> buffer(static_cast<size_t>(chunk));
    for (;;) {
        const qint64 got = file_.read(buffer.data(), chunk);
        if (got <= 0)
            break;
        const char* begin = buffer.data();
        const char* end = begin + got;
        if (head.size() < 3)
            head.append(begin, qsizetype(std::min<qint64>(got, 3 - head.size())));
        lines += std::count(begin, end, '\n');
        content += got;
        last = end[-1];
        if (lines > limit)
            return limit + 1;
        if (valid) {
            pending.append(begin, qsizetype(got));
            const qsizetype tail = IncompleteTail(pending);
            valid = IsValidUtf8(pending.first(pending.size() - tail));
            pending = pending.last(tail);
        }
    }
    valid = valid && pending.isEmpty();
    utf8_ = encoding_ == BatchEncoding::Auto ? valid : encoding_ == BatchEncoding::Utf8;
    hasBom_ = utf8_ && head == kBom;
    if (hasBom_)
        content -= 3;
    if (content > 0 && last != '\n')
        ++lines; // the last line has no line end
    return std::min(lines, limit + 1);
}

bool BatchFile::Rewind()
{
    atStart_ = true;
    return file_.seek(0);
}

bool BatchFile::ReadLine(QString& line)
{
    // Room for the longest kept line, its CR LF and a byte order mark.
    const qint64 room = kMaxLineBytes + 2 + (atStart_ && hasBom_ ? 3 : 0);
    QByteArray bytes = file_.readLine(room);
    if (atStart_) {
        atStart_ = false;
        if (hasBom_)
            bytes.remove(0, 3);
    }
    if (bytes.isEmpty())
        return false;
    const bool ended = bytes.endsWith('\n');
    if (ended) {
        bytes.chop(1);
        if (bytes.endsWith('\r'))
            bytes.chop(1);
    }
    cut_ = bytes.size() > kMaxLineBytes;
    if (cut_) {
        // Only the start is kept; the rest of the line is passed over in small pieces, so
        // a file that is one huge line costs no more memory than a normal one.
        bytes.truncate(kMaxLineBytes);
        char rest[4096];
        qint64 got = 0;
        while (!ended && (got = file_.readLine(rest, sizeof rest)) > 0 && rest[got - 1] != '\n') {
        }
    }
    line = utf8_ ? QString::fromUtf8(bytes) : FromCp932(bytes);
    return true;
}

bool IsHeadingLine(const QString& line)
{
    if (FieldAt(line, 3, u',').trimmed().isEmpty())
        return false;
    for (int field = 2; field <= 5; ++field) {
        const QString text = FieldAt(line, field, u',');
        if (std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); }))
            return false;
    }
    return true;
}

} // namespace brevant
