#include "serial/terminaltext.h"

#include "protocol/encoding.h"

namespace TerminalText {

/// Two hex digits, or one followed by a blank or the line end; 0 for anything else (toUInt
/// alone would also take a sign or leading white space).
static uint groupValue(const QString &group)
{
    using Encoding::isHexDigit;
    if (!isHexDigit(group.at(0)))
        return 0;
    if (group.size() == 2 && !isHexDigit(group.at(1)) && group.at(1) != QLatin1Char(' '))
        return 0;
    return group.trimmed().toUInt(nullptr, 16);
}

QByteArray parseHexSend(const QString &text)
{
    QByteArray bytes;
    for (int i = 0; i < text.size();) {
        if (text.at(i) == QLatin1Char(' ')) {
            ++i;
            continue;
        }
        const QString group = text.mid(i, 2);
        i += group.size();
        bytes.append(char(groupValue(group)));
    }
    return bytes;
}

QByteArray textToSend(const QString &text)
{
    QByteArray bytes = text.toLocal8Bit();
    const int zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    return bytes;
}

static QString stamp(const QTime &time)
{
    return time.toString(QStringLiteral("[hh:mm:ss.zzz]"));
}

QString sentLine(const QTime &time, const QByteArray &bytes, bool hex)
{
    // The size is explicit: the QByteArray overload would stop at the first zero byte.
    const QString data = hex ? QString::fromLatin1(bytes.toHex(' '))
                             : QString::fromLatin1(bytes.constData(), bytes.size());
    return stamp(time) + QStringLiteral("send\u2192 ") + data;
}

QString receivedLine(const QTime &time, const QByteArray &bytes, bool hex)
{
    QString data;
    if (hex) {
        const QByteArray digits = bytes.toHex().toUpper();
        data.reserve(bytes.size() * 3);
        for (int i = 0; i < digits.size(); i += 2)
            data += QLatin1String(digits.constData() + i, 2) + QLatin1Char(' ');
    } else {
        const int zero = bytes.indexOf('\0');
        data = QString::fromUtf8(zero >= 0 ? bytes.left(zero) : bytes);
    }
    return stamp(time) + QStringLiteral("rec\u2190 ") + data;
}

} // namespace TerminalText
