#pragma once
// Shared by the fuzz targets: a platform that answers every box without a person, a
// reader that turns fuzz bytes into values, and a check that stops the run loudly.

#include "platform.h"
#include "profile_store.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// An invariant that must hold for every input; a broken one is reported like a crash.
#define FUZZ_CHECK(cond)                                                                   \
    do {                                                                                   \
        if (!(cond)) {                                                                     \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)

namespace brevant::fuzz {

inline bool Within(int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; }

// Every value of a style the profile or a scenario gave is within the profile's ranges.
inline void CheckStyleRanges(const ChartStyle& st)
{
    for (const int32_t w : st.lineWidths)
        FUZZ_CHECK(Within(w, 0, 20));
    FUZZ_CHECK(Within(st.fontSize, 5, 50));
    FUZZ_CHECK(Within(st.outerMargin, 0, 50));
    FUZZ_CHECK(Within(st.scaleMargin, 0, 50));
}

// The application object the command line runs with, set up as it does, for the run's
// whole life: what needs one (fonts, pictures, the toolkit's texts) works as in the program.
inline void StartApplication(int* argc, char*** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    SetUpApplication();
}

// Counts messages and answers questions with No; never blocks, never leaves the process.
class QuietPlatform final : public Platform {
public:
    int MessageBox(const MessageRequest& request) override
    {
        ++messages;
        lastText = request.text;
        return kIdNo;
    }
    QString SaveFileName(const FileDialogRequest&) override { return {}; }
    QString OpenFileName(const FileDialogRequest&) override { return {}; }
    std::optional<ColorRef> ChooseColor(ColorRef) override { return std::nullopt; }
    QString ClipboardText() override { return {}; }
    bool SetClipboardImage(const QImage&) override { return false; }
    bool SetClipboardText(const QString&) override { return false; }
    QString DesktopFolder() override { return folder; }
    QString TempFolder() override { return folder; }
    bool OpenFolder(const QString&) override { return false; }
    void Sleep(int) override {}

    int messages = 0;
    QString lastText;
    QString folder;
};

// A folder for the files one input writes, kept for the whole run. It lies in memory where
// the machine has such a folder, so the syncs of every save cost nothing.
inline QTemporaryDir& ScratchFolder()
{
    static QTemporaryDir folder(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                    ? QStringLiteral("/dev/shm/brevant-fuzz-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/brevant-fuzz-XXXXXX"));
    FUZZ_CHECK(folder.isValid());
    return folder;
}

// Takes values off the front of the fuzz bytes; once they run out every value is zero.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t Left() const { return size_ - pos_; }

    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    template <typename T>
    T Raw()
    {
        T v{};
        const size_t n = std::min(sizeof v, Left());
        if (n > 0)
            std::memcpy(&v, data_ + pos_, n);
        pos_ += n;
        return v;
    }

    // A value in lo..hi (inclusive).
    int32_t Range(int32_t lo, int32_t hi)
    {
        const uint64_t span = uint64_t(int64_t(hi) - lo) + 1;
        return int32_t(int64_t(lo) + int64_t(Raw<uint32_t>() % span));
    }

    // Up to `max` bytes as UTF-8 text (invalid sequences become U+FFFD).
    QString Text(int max)
    {
        const size_t wanted = Byte() % (max + 1); // read before Left() is asked
        const size_t n = std::min(wanted, Left());
        const QString s = QString::fromUtf8(reinterpret_cast<const char*>(data_ + pos_),
                                            qsizetype(n));
        pos_ += n;
        return s;
    }

    // The rest of the bytes.
    QByteArray Rest()
    {
        const QByteArray r(reinterpret_cast<const char*>(data_ + pos_), qsizetype(Left()));
        pos_ = size_;
        return r;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

} // namespace brevant::fuzz
