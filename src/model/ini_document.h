#pragma once
// The text of an INI file in the format QSettings reads and writes, kept line by line.
// Values are read as the text they are: nothing in a file makes the program build objects
// from serialised data. A change rewrites only the line of its key (or adds one), so
// lines, keys and sections the program does not know stay exactly as they were. A value
// ends with its line: QSettings let an open quote or a final backslash run on into the
// next one, which it never writes and which here cannot swallow the lines after it.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

namespace brevant {

class IniDocument {
public:
    IniDocument() = default;
    explicit IniDocument(const QByteArray& bytes);

    // The text of `key` in `section`: the last line of that key counts, as in QSettings.
    // Nothing when the key is missing or its value is an object in QSettings' encoding
    // (@Variant(…), @ByteArray(…), @Rect(…), …).
    std::optional<QString> Value(const QString& section, const QString& key) const;
    // Rewrites the value on the key's line, or adds the key at the end of the section
    // (the section at the end of the file when there is none).
    void SetValue(const QString& section, const QString& key, const QString& text);

    QByteArray Bytes() const;
    // False when the bytes are not UTF-8, a line is neither a section, a key, a comment
    // nor blank (a section header without its "]"), or a value is an encoded object:
    // writing the file back would replace something that was not understood.
    bool ReadWhole() const { return whole_; }

    // A text value as QSettings writes a string, and back. A value QSettings would turn
    // into an object gives nothing.
    static QByteArray EscapedValue(const QString& text);
    static std::optional<QString> UnescapedValue(QByteArrayView raw);

private:
    struct Line {
        enum Kind { Other, Section, Entry };
        QByteArray text; // without its line end
        QByteArray end;  // "\n", "\r\n", "\r", or empty on a last line without one
        Kind kind = Other;
        QString name; // Section: the section; Entry: the whole key, "section/key"
        qsizetype equals = -1; // Entry: where the "=" is
        std::optional<QString> value; // Entry
    };

    qsizetype FindEntry(const QString& name) const;
    void Parse(Line& line, QString& section);

    QByteArray bom_;
    QList<Line> lines_;
    bool whole_ = true;
};

} // namespace brevant
