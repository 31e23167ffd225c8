#include "templates/inigroup.h"

#include <QStringList>

namespace {

int hexDigit(QChar c)
{
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        return c.unicode() - '0';
    if (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
        return c.unicode() - 'a' + 10;
    if (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
        return c.unicode() - 'A' + 10;
    return -1;
}

QChar simpleEscape(QChar c)
{
    switch (c.unicode()) {
    case 'a':
        return QLatin1Char('\a');
    case 'b':
        return QLatin1Char('\b');
    case 'f':
        return QLatin1Char('\f');
    case 'n':
        return QLatin1Char('\n');
    case 'r':
        return QLatin1Char('\r');
    case 't':
        return QLatin1Char('\t');
    case 'v':
        return QLatin1Char('\v');
    default:
        return c; // \" \' \? \\ and anything unknown stand for themselves
    }
}

/// Undoes quoting and escapes of one raw value; nullopt for a list (an unquoted comma).
std::optional<QString> unescaped(const QString &raw)
{
    QString result;
    bool quoted = false;
    int pendingSpaces = 0; // blanks outside quotes count only when more text follows
    for (int i = 0; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (!quoted && c == QLatin1Char(';'))
            break; // the rest of the line is a comment
        if (!quoted && c == QLatin1Char(','))
            return std::nullopt;
        if (!quoted && (c == QLatin1Char(' ') || c == QLatin1Char('\t'))) {
            if (!result.isEmpty())
                ++pendingSpaces;
            continue;
        }
        result.append(QString(pendingSpaces, QLatin1Char(' ')));
        pendingSpaces = 0;
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (c != QLatin1Char('\\') || i + 1 == raw.size()) {
            result.append(c);
        } else if (raw.at(i + 1) == QLatin1Char('x')) {
            uint code = 0;
            for (i += 2; i < raw.size() && hexDigit(raw.at(i)) >= 0 && code <= 0x10FFFF; ++i)
                code = code * 16 + uint(hexDigit(raw.at(i)));
            --i;
            const char32_t wide = code;
            result.append(code <= 0xFFFF ? QString(QChar(code)) : QString::fromUcs4(&wide, 1));
        } else if (raw.at(i + 1) >= QLatin1Char('0') && raw.at(i + 1) <= QLatin1Char('7')) {
            uint code = 0;
            for (++i; i < raw.size() && raw.at(i) >= QLatin1Char('0')
                 && raw.at(i) <= QLatin1Char('7') && code <= 0xFFFF;
                 ++i)
                code = code * 8 + uint(raw.at(i).unicode() - '0');
            --i;
            result.append(QChar(code));
        } else {
            result.append(simpleEscape(raw.at(++i)));
        }
    }
    return result;
}

/// A value as QSettings wrote it: "@@" stands for "@" and "@Invalid()" for no value. Any other
/// text that starts with "@" is a typed value ("@Variant(...)" and the like), not plain text.
std::optional<QString> plainText(const std::optional<QString> &value)
{
    if (!value || !value->startsWith(QLatin1Char('@')))
        return value;
    if (value->startsWith(QLatin1String("@@")))
        return value->mid(1);
    if (*value == QLatin1String("@Invalid()"))
        return QString();
    return std::nullopt;
}

/// The lines of an INI file as QSettings cuts them when it reads the file: a line break inside
/// quotes or after a backslash does not end the line, a lone CR does, and ';' outside quotes
/// starts a comment up to the line's end. '#' starts no comment.
QStringList settingsLines(const QString &text)
{
    QStringList lines(QString {});
    bool quoted = false;
    bool comment = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r'))) {
            lines.append(QString());
            comment = false;
        } else if (comment || (!quoted && c == QLatin1Char(';'))) {
            comment = true;
        } else {
            lines.last().append(c);
            if (c == QLatin1Char('"'))
                quoted = !quoted;
            else if (c == QLatin1Char('\\') && i + 1 < text.size())
                lines.last().append(text.at(++i));
        }
    }
    return lines;
}

/// Index of the first `mark` at or after `from` outside quotes and not escaped; -1 if none.
int unquotedIndex(const QString &line, QChar mark, int from)
{
    bool quoted = false;
    for (int i = from; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == QLatin1Char('\\'))
            ++i;
        else if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && c == mark)
            return i;
    }
    return -1;
}

/// Calls take(group, key, raw value) for every key line of the file.
template <typename Take> void forEachValue(const QByteArray &content, Take take)
{
    QString group;
    // With its size: a zero byte in the file must not end the text early.
    const QStringList lines
        = QString::fromUtf8(content.constData(), content.size()).split(QLatin1Char('\n'));
    for (const QString &rawLine : lines) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';'))
            || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            group = line;
            continue;
        }
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals > 0)
            take(group, line.left(equals).trimmed(), line.mid(equals + 1));
    }
}

} // namespace

IniGroup::IniGroup(const QByteArray &content, const QString &group)
{
    const QString header = QLatin1Char('[') + group + QLatin1Char(']');
    forEachValue(content, [&](const QString &section, const QString &key, const QString &raw) {
        if (section == header)
            values.insert(key, plainText(unescaped(raw)));
    });
}

std::optional<QString> IniGroup::text(const QString &key) const
{
    return values.value(key, QString());
}

bool IniGroup::fileHasTypedValues(const QByteArray &content)
{
    // Byte for byte: only the ASCII marks matter, and no decoding may hide one.
    const QString text = QString::fromLatin1(content.constData(), content.size());
    for (const QString &line : settingsLines(text)) {
        const int equals = unquotedIndex(line, QLatin1Char('='), 0);
        if (equals < 0)
            continue;
        // Each item of a list is decoded on its own.
        for (int from = equals + 1; from <= line.size();) {
            int comma = unquotedIndex(line, QLatin1Char(','), from);
            if (comma < 0)
                comma = line.size();
            const std::optional<QString> item = unescaped(line.mid(from, comma - from));
            // Trimmed of every kind of blank and line break: rather refuse too much than too
            // little.
            if (item && !plainText(item->trimmed()))
                return true;
            from = comma + 1;
        }
    }
    return false;
}

QByteArray IniGroup::asciiEscaped(const QByteArray &content)
{
    // Qt 6 writes such characters as UTF-8, where Qt 5 without a codec reads Latin-1 and would
    // garble them when it rewrites the file. Hex digits right after an escape are escaped too,
    // or a reader would take them as part of it.
    QByteArray result;
    bool afterEscape = false;
    for (const QChar c : QString::fromUtf8(content)) {
        afterEscape = c.unicode() >= 0x7F || (afterEscape && hexDigit(c) >= 0);
        if (afterEscape)
            result += "\\x" + QByteArray::number(c.unicode(), 16);
        else
            result += char(c.unicode());
    }
    return result;
}
