// The radio module's command lines, built by the same request builder as the sensor frames.
#include "protocol/protocol.h"

static QByteArray line(const QString &text)
{
    return (text + QStringLiteral("\r\n")).toUtf8();
}

QByteArray Protocol::buildBracketLine(bool closing) const
{
    return line(closing ? QStringLiteral("ATE0") : QStringLiteral("ATE1"));
}

QByteArray Protocol::buildBandCommand(bool query, int band) const
{
    return line(query ? QStringLiteral("AT+BAND?") : QStringLiteral("AT+BAND=%1").arg(band));
}

QByteArray Protocol::buildHeartCommand(bool query, int heartbeat) const
{
    return line(query ? QStringLiteral("AT+HEART?") : QStringLiteral("AT+HEART=%1").arg(heartbeat));
}

QByteArray Protocol::buildChannelCommand(bool query, const QString &channel) const
{
    // Concatenated, not arg(): a typed "%1" must go out as typed.
    return line(query ? QStringLiteral("AT+CHANNEL?") : QStringLiteral("AT+CHANNEL=") + channel);
}

QByteArray Protocol::buildIdQuery(int which) const
{
    switch (which) {
    case 0:
        return line(QStringLiteral("AT+DEVEUI?"));
    case 1:
        return line(QStringLiteral("AT+APPEUI?"));
    default:
        return line(QStringLiteral("AT+APPKEY?"));
    }
}

QByteArray Protocol::buildSaveResetCommand(bool reset) const
{
    return line(reset ? QStringLiteral("AT+RESET") : QStringLiteral("AT+SAVE"));
}

QByteArray Protocol::buildRenewCommand() const
{
    return line(QStringLiteral("AT+RENEW"));
}
