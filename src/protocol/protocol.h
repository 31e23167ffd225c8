#ifndef PROTOCOL_PROTOCOL_H
#define PROTOCOL_PROTOCOL_H

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Request builder for the sensor. Frame layout: 0x77, LEN (frame size - 1), four address bytes
// (most significant first), command code, LEN - 7 data bytes, and at index LEN the low 8 bits of
// the sum of bytes 1 to LEN - 1. The builders read the fields below and change none of them.
class Protocol {
public:
    /// Fixed read-address request 77 07 00 00 00 00 1F 26; uses no field.
    QByteArray buildAddressQuery() const;
    /// General frame of `length` + 1 bytes from `address`, `command` and `data`.
    QByteArray buildFrame() const;
    /// Readback request: 9 bytes when shortForm, else 13 bytes carrying the record range.
    QByteArray buildReadbackFrame(bool shortForm) const;

    /// One byte: low 8 bits of the sum of buffer bytes 1 to n - 1 (0 when n is below 2).
    static QByteArray checksum(const QByteArray &buffer, int n);
    /// Four bytes, most significant first: CRC-32 of buffer bytes 0 to n - 1 (zeros when n < 1).
    static QByteArray crc32(const QByteArray &buffer, int n);
    /// CRC-32 (reflected polynomial 0xEDB88320, preset and final complement) of n bytes.
    static quint32 crc32Value(const char *data, qsizetype n);

    // Radio-module command lines (UTF-8, ending in CR LF); they read no field.
    /// "ATE1\r\n" opens a module exchange, "ATE0\r\n" (closing) ends it.
    QByteArray buildBracketLine(bool closing) const;
    /// "AT+BAND?\r\n" or "AT+BAND=<band>\r\n".
    QByteArray buildBandCommand(bool query, int band = 0) const;
    /// "AT+HEART?\r\n" or "AT+HEART=<heartbeat>\r\n".
    QByteArray buildHeartCommand(bool query, int heartbeat = 0) const;
    /// "AT+CHANNEL?\r\n" or "AT+CHANNEL=<channel exactly as typed>\r\n".
    QByteArray buildChannelCommand(bool query, const QString &channel = QString()) const;
    /// "AT+DEVEUI?\r\n" (0), "AT+APPEUI?\r\n" (1) or "AT+APPKEY?\r\n" (any other).
    QByteArray buildIdQuery(int which) const;
    /// "AT+SAVE\r\n", or "AT+RESET\r\n" when reset.
    QByteArray buildSaveResetCommand(bool reset) const;
    /// "AT+RENEW\r\n": the module's factory settings.
    QByteArray buildRenewCommand() const;

    QString address; // 8 hex digits; parsed as unsigned hex, 0 when it does not parse
    quint8 readbackSubCode = 0; // 0x00 first request, 0x10 next page, 0x11 resend
    quint8 readbackCommand = 0; // 0x61, 0x6D, 0x62 or 0x63
    // Firmware-transfer fields go here.
    int length = 7; // LEN of the next general frame: 7 + number of data bytes
    int command = 0; // only the low 8 bits are sent
    QByteArray data; // only the first length - 7 bytes are sent
    quint16 rangeBegin = 0;
    quint16 rangeEnd = 0;

private:
    QByteArray header(int len, int code) const;
    static void sealFrame(QByteArray &frame);
};

#endif // PROTOCOL_PROTOCOL_H
