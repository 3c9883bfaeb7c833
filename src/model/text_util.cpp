#include "text_util.h"

#include <QList>

#include <algorithm>
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

QString NarrowNumberText(const QString& text)
{
    QString r = text;
    for (QChar& c : r) {
        const char16_t u = c.unicode();
        if (u >= 0xFF10 && u <= 0xFF19)
            c = QChar(u'0' + (u - 0xFF10));
        else if (u == 0xFF0C)
            c = u',';
        else if (u == 0xFF0E)
            c = u'.';
        else if (u == 0xFF0B)
            c = u'+';
        else if (u == 0xFF0D || u == 0x2212) // full-width hyphen-minus, minus sign
            c = u'-';
        else if (u == 0xFF05)
            c = u'%';
        else if (u == 0xFFE5)
            c = QChar(0x00A5); // yen sign
        else if (u == 0x3000)
            c = u' ';
    }
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
    if (cd == iconv_t(-1)) // NOLINT(performance-no-int-to-ptr): iconv_open's failure value
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
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const size_t n = size_t(bytes.size());
    size_t i = 0;
    while (i < n) {
        const unsigned c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t len;
        unsigned cp;
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (n - i < len)
            return false;
        for (size_t k = 1; k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
        if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

bool Cp932Holds(const QString& text)
{
    return FromCp932(ToCp932(text)) == text;
}

QString Cp932FileName(const QString& name)
{
    QString composed = name.normalized(QString::NormalizationForm_C);
    if (Cp932Holds(composed))
        return composed;
    QString out;
    for (const char32_t c : composed.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        if (Cp932Holds(one)) {
            out += one;
            continue;
        }
        QString plain;
        for (const QChar d : one.normalized(QString::NormalizationForm_KD)) {
            const auto category = d.category();
            if (category != QChar::Mark_NonSpacing && category != QChar::Mark_SpacingCombining &&
                category != QChar::Mark_Enclosing)
                plain += d;
        }
        const bool usable = !plain.isEmpty() && !plain.contains(u'.') && !plain.contains(u'/') &&
                            std::none_of(plain.begin(), plain.end(),
                                         [](QChar d) { return d.unicode() < 0x20; }) &&
                            Cp932Holds(plain);
        out += usable ? plain : QStringLiteral("_");
    }
    return out;
}

QByteArray EncodeForCodeset(const QString& text, const QByteArray& codeset)
{
    const QByteArray upper = codeset.toUpper();
    if (upper.isEmpty() || upper == "UTF-8" || upper == "UTF8" || upper == "ANSI_X3.4-1968")
        return text.toUtf8();
    const QByteArray out = Convert(codeset.constData(), "UTF-8", text.toUtf8(), QByteArray("?"),
                                   Utf8Length);
    // A character set iconv does not know: UTF-8 rather than nothing.
    return out.isEmpty() && !text.isEmpty() ? text.toUtf8() : out;
}

} // namespace brevant
