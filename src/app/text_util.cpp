#include "app/text_util.h"

#include <QStringDecoder>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <iconv.h>
#include <locale.h>
#include <vector>

namespace brevant {

QString CFormat(const char* format, ...)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    const locale_t previous = uselocale(cLocale);
    char small[128];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    QString result;
    if (n >= 0 && n < int(sizeof small)) {
        result = QString::fromLatin1(small, n);
    } else if (n >= 0) {
        std::vector<char> big(size_t(n) + 1);
        std::vsnprintf(big.data(), big.size(), format, again);
        result = QString::fromLatin1(big.data(), n);
    }
    va_end(again);
    uselocale(previous);
    return result;
}

QString FieldAt(const QString& text, int n, QChar separator)
{
    if (n < 1)
        return {};
    qsizetype start = 0;
    for (int field = 1; field < n; ++field) {
        const qsizetype p = text.indexOf(separator, start);
        if (p < 0)
            return {};
        start = p + 1;
    }
    const qsizetype end = text.indexOf(separator, start);
    return end < 0 ? text.mid(start) : text.mid(start, end - start);
}

QString TabsToCommas(const QString& text)
{
    QString r = text;
    r.replace(u'\t', u',');
    return r;
}

namespace {

// Runs iconv over the whole input; an input sequence it cannot convert is replaced by
// `replacement` and skipped (`skip` tells how many input bytes the bad sequence spans).
template <typename Skip>
QByteArray Convert(const char* to, const char* from, const QByteArray& input,
                   const QByteArray& replacement, Skip skip)
{
    QByteArray out;
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1))
        return out;
    out.reserve(input.size() * 2 + 16);
    char* in = const_cast<char*>(input.constData());
    size_t inLeft = size_t(input.size());
    char buffer[4096];
    while (inLeft > 0) {
        char* o = buffer;
        size_t oLeft = sizeof buffer;
        const size_t rc = iconv(cd, &in, &inLeft, &o, &oLeft);
        out.append(buffer, qsizetype(o - buffer));
        if (rc == size_t(-1)) {
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL (a sequence cut off at the end): replace and go on.
            const size_t n = std::min(inLeft, skip(in, inLeft));
            in += n;
            inLeft -= n;
            out.append(replacement);
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

size_t Utf8Length(const char* p, size_t left)
{
    const auto c = static_cast<unsigned char>(*p);
    size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    return std::max<size_t>(1, std::min(n, left));
}

} // namespace

QByteArray ToCp932(const QString& text)
{
    return Convert("CP932", "UTF-8", text.toUtf8(), QByteArray("?"), Utf8Length);
}

QString FromCp932(const QByteArray& bytes)
{
    const QByteArray utf8 = Convert("UTF-8", "CP932", bytes, QByteArray("\xEF\xBF\xBD"),
                                    [](const char*, size_t) { return size_t(1); });
    return QString::fromUtf8(utf8);
}

bool IsValidUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)decoder.decode(bytes);
    return !decoder.hasError();
}

} // namespace brevant
