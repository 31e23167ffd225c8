#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

#include <optional>

/// The values of one group of an INI file in the form QSettings writes, read as plain text:
/// quotes and backslash escapes are undone and nothing else is decoded. QSettings itself would
/// decode typed values ("@Variant(...)" and the like) with QDataStream, which trusts lengths
/// written in the file; here such a value, and a comma-separated list, is simply not plain text.
class IniGroup {
public:
    /// Reads `group` (without brackets) out of the file's bytes.
    IniGroup(const QByteArray &content, const QString &group);

    /// Whether the file has the group with at least one key.
    bool isEmpty() const { return values.isEmpty(); }
    /// Whether the group has the key at all.
    bool contains(const QString &key) const { return values.contains(key); }
    /// The key's text; nullopt when the value is not plain text. A missing key gives "".
    std::optional<QString> text(const QString &key) const;

    /// Whether the file, its lines cut as QSettings cuts them, holds a typed value anywhere
    /// (also as a list item), which QSettings would decode when it rewrites the file.
    static bool fileHasTypedValues(const QByteArray &content);

    /// The file with every character from U+007F up written as a \x escape, as Qt 5's QSettings
    /// writes it, so that builds on either Qt read and rewrite each other's files alike.
    static QByteArray asciiEscaped(const QByteArray &content);

private:
    QMap<QString, std::optional<QString>> values;
};
