#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

/// One sensor request: its command code and data bytes (the frame's LEN is 7 + data size).
struct SensorRequest {
    int command = 0;
    QByteArray data;
    int length() const { return 7 + int(data.size()); }
};

/// What goes on the line: sensor frames and radio-module lines, each built by a pure function.
///
/// Sensor frame layout: 0x77, LEN (frame size - 1), four address bytes (most significant first),
/// command code, LEN - 7 data bytes, and at index LEN the low 8 bits of the sum of bytes 1 to
/// LEN - 1.
namespace Protocol {

/// Address text (8 hex digits) as a number; 0 when it does not parse.
quint32 parseAddress(const QString &text);

/// Fixed read-address request 77 07 00 00 00 00 1F 26, whatever the working address.
QByteArray buildAddressQuery();
/// The frame of one request to `address`.
QByteArray buildFrame(quint32 address, const SensorRequest &request);

/// What a record readback frame carries besides the address.
struct ReadbackRequest {
    quint8 command = 0; // 0x61, 0x6D, 0x62 or 0x63
    quint8 subCode = 0; // 0x00 first request, 0x10 next page, 0x11 resend
    bool shortForm = false; // 9 bytes; else 13 bytes carrying the record range
    quint16 rangeBegin = 0;
    quint16 rangeEnd = 0;
};
/// Readback frame: 77 08 A A A A command subCode sum, or the long form with the range added.
QByteArray buildReadbackFrame(quint32 address, const ReadbackRequest &request);

// Radio-module command lines (UTF-8, ending in CR LF).
/// "ATE1\r\n" opens a module exchange, "ATE0\r\n" (closing) ends it.
QByteArray buildBracketLine(bool closing);
/// "AT+BAND?\r\n" or "AT+BAND=<band>\r\n".
QByteArray buildBandCommand(bool query, int band = 0);
/// "AT+HEART?\r\n" or "AT+HEART=<heartbeat>\r\n".
QByteArray buildHeartCommand(bool query, int heartbeat = 0);
/// "AT+CHANNEL?\r\n" or "AT+CHANNEL=<channel exactly as typed>\r\n".
QByteArray buildChannelCommand(bool query, const QString &channel = QString());
/// "AT+DEVEUI?\r\n" (0), "AT+APPEUI?\r\n" (1) or "AT+APPKEY?\r\n" (any other).
QByteArray buildIdQuery(int which);
/// "AT+SAVE\r\n", or "AT+RESET\r\n" when reset.
QByteArray buildSaveResetCommand(bool reset);
/// "AT+RENEW\r\n": the module's factory settings.
QByteArray buildRenewCommand();

} // namespace Protocol
