#include "ini_document.h"

#include <QStringDecoder>
#include <QStringList>

namespace brevant {

namespace {

bool IsHex(char16_t c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexValue(char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; }

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

// "a//b/" and "a/b" name the same key, as in QSettings.
QString Normalised(const QString& key)
{
    return key.split(u'/', Qt::SkipEmptyParts).join(u'/');
}

// Key and section names: "\" stands for "/", %XX and %UXXXX for any other character.
QString UnescapedKey(QByteArrayView raw)
{
    const QString in = QString::fromUtf8(raw);
    QString out;
    for (qsizetype i = 0; i < in.size();) {
        const QChar c = in[i];
        if (c == u'\\') {
            out += u'/';
            ++i;
            continue;
        }
        if (c == u'%') {
            const bool wide = i + 1 < in.size() && in[i + 1] == u'U';
            const qsizetype first = i + (wide ? 2 : 1);
            const qsizetype digits = wide ? 4 : 2;
            bool ok = false;
            const ushort code =
                first + digits <= in.size() ? in.mid(first, digits).toUShort(&ok, 16) : 0;
            if (ok) {
                out += QChar(code);
                i = first + digits;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}

QByteArray EscapedKey(const QString& key)
{
    QByteArray out;
    for (const QChar qc : key) {
        const char16_t c = qc.unicode();
        if (c == u'/')
            out += '\\';
        else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                 c == '_' || c == '-' || c == '.')
            out += char(c);
        else if (c <= 0xFF)
            out += '%' + QByteArray::number(c, 16).toUpper().rightJustified(2, '0');
        else
            out += "%U" + QByteArray::number(c, 16).toUpper().rightJustified(4, '0');
    }
    return out;
}

QByteArray SectionHeader(const QString& section)
{
    if (section.isEmpty())
        return "[General]";
    if (section.compare(u"general", Qt::CaseInsensitive) == 0)
        return "[%" + section.toLatin1() + ']';
    return '[' + EscapedKey(section) + ']';
}

// The forms QSettings turns into objects rather than text.
bool IsEncodedObject(const QString& text)
{
    if (!text.endsWith(u')'))
        return false;
    for (const char* prefix :
         {"@ByteArray(", "@Variant(", "@DateTime(", "@Rect(", "@Size(", "@Point("}) {
        if (text.startsWith(QLatin1String(prefix)))
            return true;
    }
    return text == u"@Invalid()";
}

} // namespace

IniDocument::IniDocument(const QByteArray& bytes)
{
    QByteArrayView data(bytes);
    whole_ = data.isValidUtf8();
    if (data.startsWith("\xEF\xBB\xBF")) {
        bom_ = bytes.left(3);
        data = data.sliced(3);
    }
    // A line ends at "\n", "\r\n" or a lone "\r", as QSettings reads it.
    QString section;
    qsizetype pos = 0;
    while (pos < data.size()) {
        qsizetype stop = pos;
        while (stop < data.size() && data[stop] != '\n' && data[stop] != '\r')
            ++stop;
        qsizetype next = stop;
        if (next < data.size())
            next += data[next] == '\r' && next + 1 < data.size() && data[next + 1] == '\n' ? 2 : 1;
        Line line;
        line.text = data.sliced(pos, stop - pos).toByteArray();
        line.end = data.sliced(stop, next - stop).toByteArray();
        Parse(line, section);
        lines_.append(std::move(line));
        pos = next;
    }
}

void IniDocument::Parse(Line& line, QString& section)
{
    const QByteArrayView t(line.text);
    qsizetype i = 0;
    while (i < t.size() && IsSpace(t[i]))
        ++i;
    if (i == t.size() || t[i] == ';')
        return; // blank or a comment
    // What counts ends at a ";" outside quotes; the first "=" outside quotes ends the key.
    qsizetype end = t.size();
    qsizetype equals = -1;
    bool quoted = false;
    for (qsizetype j = i; j < t.size(); ++j) {
        const char c = t[j];
        if (c == '\\') {
            ++j;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == '=' && equals < 0) {
            equals = j;
        } else if (!quoted && c == ';') {
            end = j;
            break;
        }
    }
    if (t[i] == '[') {
        const QByteArrayView header = t.sliced(i, end - i);
        qsizetype close = header.indexOf(']');
        if (close < 0) {
            whole_ = false; // the rest of the line names the section, as QSettings takes it
            close = header.size();
        }
        const QByteArrayView name = header.sliced(1, close - 1).trimmed();
        if (name.compare("general", Qt::CaseInsensitive) == 0)
            section.clear();
        else if (name.compare("%general", Qt::CaseInsensitive) == 0)
            section = QString::fromLatin1(name.sliced(1));
        else
            section = Normalised(UnescapedKey(name));
        line.kind = Line::Section;
        line.name = section;
        return;
    }
    if (equals < 0) {
        whole_ = false;
        return;
    }
    line.kind = Line::Entry;
    line.equals = equals;
    line.name = Normalised(section + u'/' + UnescapedKey(t.sliced(i, equals - i).trimmed()));
    line.value = UnescapedValue(t.sliced(equals + 1, end - equals - 1));
    if (!line.value)
        whole_ = false;
}

qsizetype IniDocument::FindEntry(const QString& name) const
{
    for (qsizetype k = lines_.size() - 1; k >= 0; --k) {
        if (lines_[k].kind == Line::Entry && lines_[k].name == name)
            return k;
    }
    return -1;
}

std::optional<QString> IniDocument::Value(const QString& section, const QString& key) const
{
    const qsizetype at = FindEntry(Normalised(section + u'/' + key));
    return at < 0 ? std::nullopt : lines_[at].value;
}

void IniDocument::SetValue(const QString& section, const QString& key, const QString& text)
{
    const QString name = Normalised(section + u'/' + key);
    if (const qsizetype at = FindEntry(name); at >= 0) {
        Line& line = lines_[at];
        if (line.value != text) {
            line.text = line.text.left(line.equals + 1) + EscapedValue(text);
            line.value = text;
        }
        return;
    }

    Line entry;
    entry.kind = Line::Entry;
    entry.name = name;
    entry.text = EscapedKey(key) + '=';
    entry.equals = entry.text.size() - 1;
    entry.text += EscapedValue(text);
    entry.end = "\n";
    entry.value = text;
    const auto blank = [](const Line& l) { return l.text.trimmed().isEmpty(); };

    const QString wanted = Normalised(section);
    qsizetype header = lines_.size() - 1;
    while (header >= 0 && !(lines_[header].kind == Line::Section && lines_[header].name == wanted))
        --header;
    if (header < 0) {
        // A new section at the end, after a blank line as QSettings separates them.
        if (!lines_.isEmpty()) {
            if (lines_.last().end.isEmpty())
                lines_.last().end = "\n";
            if (!blank(lines_.last())) {
                Line gap;
                gap.end = "\n";
                lines_.append(std::move(gap));
            }
        }
        Line head;
        head.kind = Line::Section;
        head.name = wanted;
        head.text = SectionHeader(wanted);
        head.end = "\n";
        lines_.append(std::move(head));
        lines_.append(std::move(entry));
        return;
    }
    // After the last line of the section that is not blank.
    qsizetype after = header;
    for (qsizetype k = header + 1; k < lines_.size() && lines_[k].kind != Line::Section; ++k) {
        if (!blank(lines_[k]))
            after = k;
    }
    if (lines_[after].end.isEmpty())
        lines_[after].end = "\n";
    lines_.insert(after + 1, std::move(entry));
}

QByteArray IniDocument::Bytes() const
{
    QByteArray out = bom_;
    for (const Line& line : lines_)
        out += line.text + line.end;
    return out;
}

QByteArray IniDocument::EscapedValue(const QString& text)
{
    // A text that could be taken for an encoded value is marked as text.
    QString s = text;
    if (s.contains(QChar(0)))
        s = u"@String(" + s + u')';
    else if (s.startsWith(u'@'))
        s.prepend(u'@');

    QByteArray out;
    bool needsQuotes = false;
    bool escapeHexDigit = false; // a digit after \x.. or \0 would join the escape
    const auto escape = [&](char16_t c) {
        out += "\\x" + QByteArray::number(c, 16);
        escapeHexDigit = true;
    };
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c == ';' || c == ',' || c == '=')
            needsQuotes = true;
        if (escapeHexDigit && IsHex(c)) {
            escape(c);
            continue;
        }
        escapeHexDigit = false;
        switch (c) {
        case 0: out += "\\0"; escapeHexDigit = true; break;
        case '\a': out += "\\a"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\v': out += "\\v"; break;
        case '"':
        case '\\':
            out += '\\';
            out += char(c);
            break;
        default:
            if (QChar::isHighSurrogate(c) && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
                out += QStringView(s).sliced(i, 2).toUtf8();
                ++i;
            } else if (c <= 0x1F || QChar::isSurrogate(c)) {
                escape(c); // UTF-8 cannot carry a lone surrogate; the escape reads back the same
            } else if (c < 0x80) {
                out += char(c);
            } else {
                out += QStringView(s).sliced(i, 1).toUtf8();
            }
        }
    }
    if (needsQuotes || out.startsWith(' ') || out.endsWith(' '))
        out = '"' + out + '"';
    return out;
}

namespace {

// Appends the character of the escape whose letter is at `i` (past the backslash) and
// moves `i` past it.
void AppendEscape(QByteArrayView raw, qsizetype& i, QString& out)
{
    const char e = raw[i++];
    switch (e) {
    case 'a': out += u'\a'; break;
    case 'b': out += u'\b'; break;
    case 'f': out += u'\f'; break;
    case 'n': out += u'\n'; break;
    case 'r': out += u'\r'; break;
    case 't': out += u'\t'; break;
    case 'v': out += u'\v'; break;
    case '"':
    case '?':
    case '\'':
    case '\\':
        out += QLatin1Char(e);
        break;
    case 'x':
        if (i < raw.size() && IsHex(uchar(raw[i]))) {
            char16_t code = 0;
            while (i < raw.size() && IsHex(uchar(raw[i])))
                code = char16_t((code << 4) | HexValue(raw[i++]));
            out += QChar(code);
        }
        break;
    default:
        if (e >= '0' && e <= '7') {
            char16_t code = char16_t(e - '0');
            while (i < raw.size() && raw[i] >= '0' && raw[i] <= '7')
                code = char16_t((code << 3) | (raw[i++] - '0'));
            out += QChar(code);
        }
        break; // any other escaped character is dropped with its backslash
    }
}

// A value that names its type: a string comes out of its wrapper, another type is
// nothing, a doubled "@" is one.
std::optional<QString> UntypedValue(const QString& out)
{
    if (out.startsWith(u'@')) {
        if (out.startsWith(u"@String(") && out.endsWith(u')'))
            return out.sliced(8).chopped(1);
        if (IsEncodedObject(out))
            return std::nullopt;
        if (out.startsWith(u"@@"))
            return out.sliced(1);
    }
    return out;
}

} // namespace

std::optional<QString> IniDocument::UnescapedValue(QByteArrayView raw)
{
    QString out;
    bool quoted = false;   // a quote was seen: trailing spaces are kept
    bool inQuotes = false;
    qsizetype keep = 0;    // trailing spaces are cut back to here at most
    qsizetype i = 0;
    const auto skipSpaces = [&] {
        while (i < raw.size() && IsSpace(raw[i]))
            ++i;
    };
    // Each run of plain bytes on its own; a U+FEFF that starts one is text, not a mark.
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                    QStringDecoder::Flag::ConvertInitialBom);
    skipSpaces();
    while (i < raw.size()) {
        const char c = raw[i];
        if (c == '\\') {
            if (++i >= raw.size())
                break;
            AppendEscape(raw, i, out);
            keep = out.size();
        } else if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                skipSpaces();
                keep = out.size();
            }
        } else {
            qsizetype j = i + 1;
            while (j < raw.size() && raw[j] != '\\' && raw[j] != '"')
                ++j;
            out += decode(raw.sliced(i, j - i));
            i = j;
        }
    }
    if (!quoted) {
        while (out.size() > keep && (out.back() == u' ' || out.back() == u'\t'))
            out.chop(1);
    }
    return UntypedValue(out);
}

} // namespace brevant
