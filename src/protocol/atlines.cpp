// The radio module's command lines.
#include "protocol/protocol.h"

namespace {

QByteArray line(const QString &text)
{
    return (text + QStringLiteral("\r\n")).toUtf8();
}

} // namespace

namespace Protocol {

QByteArray buildBracketLine(bool closing)
{
    return line(closing ? QStringLiteral("ATE0") : QStringLiteral("ATE1"));
}

QByteArray buildBandCommand(bool query, int band)
{
    return line(query ? QStringLiteral("AT+BAND?") : QStringLiteral("AT+BAND=%1").arg(band));
}

QByteArray buildHeartCommand(bool query, int heartbeat)
{
    return line(query ? QStringLiteral("AT+HEART?") : QStringLiteral("AT+HEART=%1").arg(heartbeat));
}

QByteArray buildChannelCommand(bool query, const QString &channel)
{
    // Concatenated, not arg(): a typed "%1" must go out as typed.
    return line(query ? QStringLiteral("AT+CHANNEL?") : QStringLiteral("AT+CHANNEL=") + channel);
}

QByteArray buildIdQuery(int which)
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

QByteArray buildSaveResetCommand(bool reset)
{
    return line(reset ? QStringLiteral("AT+RESET") : QStringLiteral("AT+SAVE"));
}

QByteArray buildRenewCommand()
{
    return line(QStringLiteral("AT+RENEW"));
}

} // namespace Protocol
