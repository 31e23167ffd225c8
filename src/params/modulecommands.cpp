#include "params/modulecommands.h"

#include "protocol/protocol.h"

namespace ModuleCommands {

namespace {

constexpr int openingPauseMs = 100;
constexpr int commandPauseMs = 300;
constexpr int savePauseMs = 100;

ExchangeStep counted(const QByteArray &line, int pauseMs = commandPauseMs)
{
    return { line, pauseMs, true };
}

ExchangeStep plain(const QByteArray &line, int pauseMs = commandPauseMs)
{
    return { line, pauseMs, false };
}

Exchange bracketed(const Exchange &commands)
{
    return Exchange { plain(Protocol::buildBracketLine(false), openingPauseMs) } + commands
        + Exchange { plain(Protocol::buildBracketLine(true), 0) };
}

} // namespace

Exchange setBand(int band)
{
    return bracketed({ counted(Protocol::buildBandCommand(false, band)) });
}

Exchange queryBand()
{
    return bracketed({ plain(Protocol::buildBandCommand(true)) });
}

Exchange setHeart(int heart)
{
    return bracketed({ counted(Protocol::buildHeartCommand(false, heart)) });
}

Exchange queryHeart()
{
    return bracketed({ plain(Protocol::buildHeartCommand(true)) });
}

Exchange setChannels(const QString &channel1, const QString &channel2)
{
    return bracketed({ counted(Protocol::buildChannelCommand(false, channel1)),
        counted(Protocol::buildChannelCommand(false, channel2)) });
}

Exchange queryChannels()
{
    return bracketed({ plain(Protocol::buildChannelCommand(true)) });
}

Exchange queryId(int which)
{
    return bracketed({ plain(Protocol::buildIdQuery(which)) });
}

Exchange oneKeySet(const ModuleForm &form)
{
    return bracketed({ counted(Protocol::buildBandCommand(false, form.band)),
        counted(Protocol::buildHeartCommand(false, form.heart)),
        counted(Protocol::buildChannelCommand(false, form.channel1)),
        counted(Protocol::buildChannelCommand(false, form.channel2)),
        counted(Protocol::buildSaveResetCommand(false)),
        plain(Protocol::buildSaveResetCommand(true)) });
}

Exchange renew()
{
    return bracketed({ plain(Protocol::buildRenewCommand()) });
}

Exchange save()
{
    return bracketed({ counted(Protocol::buildSaveResetCommand(false), savePauseMs),
        plain(Protocol::buildSaveResetCommand(true), savePauseMs) });
}

} // namespace ModuleCommands
