#pragma once
// The input file of batch creation, read twice: once to count its lines (and tell its
// encoding), then line by line. A line ends at LF, a CR before it is dropped, and a line
// end at the very end of the file does not start another (empty) line.

#include <QFile>
#include <QString>

namespace brevant {

// The longest line kept, in bytes. A record is five short fields; a longer line cannot be
// one and is cut here rather than held in memory whole.
constexpr qint64 kMaxLineBytes = qint64{64} * 1024;

// How a batch file's text is read: Auto takes UTF-8 when the file starts with a byte order
// mark or all of it is valid UTF-8, and CP932 otherwise; the others are the user's choice.
// A CP932 file can be valid UTF-8 too (half-width katakana pairs such as "ﾃｽ"), which only
// the choice tells apart.
enum class BatchEncoding { Auto, Utf8, Cp932 };

class BatchFile {
public:
    explicit BatchFile(const QString& path, BatchEncoding encoding = BatchEncoding::Auto);

    // Opens a regular file for reading; anything else (a folder, a FIFO, a device) is
    // refused without waiting on it.
    bool Open();
    void Close() { file_.close(); }

    // Reads from the start, counting lines; stops early once the count passes `limit`
    // (it then returns limit + 1). A full count also settles the encoding: valid UTF-8
    // (a leading byte order mark is dropped) is read as UTF-8, anything else as CP932,
    // unless the encoding was chosen (UTF-8 then drops a byte order mark too).
    qint64 CountLines(qint64 limit);
    // Goes back to the first line.
    bool Rewind();
    // The next line, decoded; false at the end of the file. A line longer than
    // kMaxLineBytes gives its first kMaxLineBytes bytes and LineWasCut().
    bool ReadLine(QString& line);
    bool LineWasCut() const { return cut_; }

    bool IsUtf8() const { return utf8_; }

private:
    QFile file_;
    BatchEncoding encoding_;
    bool utf8_ = false;
    bool hasBom_ = false;
    bool atStart_ = true;
    bool cut_ = false;
};

// True for a line that names the columns instead of holding a record ("店舗名,最大売上高,
// ..."): text in the target-sales field and no digit in any of the four figure fields.
bool IsHeadingLine(const QString& line);

} // namespace brevant
