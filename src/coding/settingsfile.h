#pragma once
// The user's settings file, in the layout of Qt's INI settings files (what QSettings
// writes on Linux), read and written as plain text. QSettings would also turn values
// of the form "@Variant(...)" into whatever they describe, pictures of any size among
// them; the program's settings are all short texts, so this file takes nothing else:
// a value that is not plain text reads as absent, and a file larger than MaxFileSize
// is not read at all (and never overwritten).
//
// Lines the program does not know (other groups, comments, other keys) are kept as
// they are; a change rewrites only the line of its key, or adds one.

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace coding {

class SettingsFile {
public:
    static constexpr qint64 MaxFileSize = 64 * 1024;
    // A longer value is no setting of the program's: it reads as absent.
    static constexpr qsizetype MaxValueLength = 256;

    // $XDG_CONFIG_HOME (or ~/.config)/Trevix2006/Trevix2006.conf, where QSettings keeps
    // the settings of organisation and application "Trevix2006".
    static QString defaultPath();

    explicit SettingsFile(QString path);

    // Reads the file. A missing file is an empty one. False, with error, when the file
    // cannot be read or is too large; the settings are empty then and save() refuses.
    bool load(QString *error = nullptr);
    // Takes bytes as the file's content (what load() reads).
    void parse(const QByteArray &bytes);

    // The text of key in group, or nothing when it is absent or not plain text.
    std::optional<QString> value(const QString &group, const QString &key) const;
    // Whether key in group holds anything: text that is not empty, or a value that is
    // not plain text (which the program leaves alone).
    bool holdsValue(const QString &group, const QString &key) const;
    // Sets key in group to text (a line break in text is written escaped).
    void setValue(const QString &group, const QString &key, const QString &text);

    // The file's content, as save() writes it.
    QByteArray bytes() const;
    // Writes the file whole or not at all, making its folder when needed. False, with
    // error, when it cannot be written or was not read.
    bool save(QString *error = nullptr);
    bool changed() const { return m_changed; }

    // Qt's INI escapes, for keys and group names (%XX and %UXXXX) and for values.
    static QString escapedKey(const QString &key);
    static QString unescapedKey(QByteArrayView key);
    static QByteArray escapedValue(const QString &text);
    // The text of a stored value, or nothing when it is not plain text ("@Variant(...)").
    static std::optional<QString> unescapedValue(QByteArrayView value);

private:
    struct Line {
        QByteArray bytes;  // without the line break
        QString group;     // the group the line stands in
        QString key;       // empty for a line that sets no key
        qsizetype eq = -1; // where the value starts, after the '='
    };
    Line makeLine(QByteArray bytes, const QString &group) const;
    const Line *lastLineOf(const QString &group, const QString &key) const;

    QString m_path;
    QList<Line> m_lines;
    bool m_bom = false;
    bool m_readable = true;
    bool m_changed = false;
};

} // namespace coding
