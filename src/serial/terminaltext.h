#pragma once

#include <QByteArray>
#include <QString>
#include <QTime>

/// Text conversions of the serial terminal tab: what a typed line sends and how a block is logged.
namespace TerminalText {

/// Bytes of a hex-send line: blanks are skipped, every other character starts a group with the
/// character after it; two hex digits, or one before a blank or the end, give a byte, else 0.
QByteArray parseHexSend(const QString &text);

/// Bytes of a text-send line: the text in the local 8-bit encoding, up to its first zero byte.
QByteArray textToSend(const QString &text);

/// Log line of a sent block: "[hh:mm:ss.zzz]send→ " and lower-case hex pairs or Latin-1 text.
QString sentLine(const QTime &time, const QByteArray &bytes, bool hex);

/// Log line of a received block: "[hh:mm:ss.zzz]rec← " and upper-case hex pairs each followed by
/// a blank, or the bytes as UTF-8 up to the first zero byte.
QString receivedLine(const QTime &time, const QByteArray &bytes, bool hex);

} // namespace TerminalText
