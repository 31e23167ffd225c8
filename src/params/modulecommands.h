#pragma once

#include "protocol/exchange.h"

#include <QString>

/// The radio-module values the window edits, the one-key set sends and a template keeps.
struct ModuleForm {
    int band = 0;
    int heart = 0;
    QString channel1;
    QString channel2;
};

/// The radio module's exchanges: "ATE1\r\n" and 100 ms, the command lines each with its pause,
/// then "ATE0\r\n". Lines whose answer the one-key verdict counts are marked counted.
namespace ModuleCommands {

Exchange setBand(int band);
Exchange queryBand();
Exchange setHeart(int heart);
Exchange queryHeart();
/// Both channel lines, each 300 ms.
Exchange setChannels(const QString &channel1, const QString &channel2);
Exchange queryChannels();
/// 0 DevEUI, 1 AppEUI, any other AppKey.
Exchange queryId(int which);
/// Band, heartbeat, both channels, save and reset, 300 ms each; five counted answers.
Exchange oneKeySet(const ModuleForm &form);
/// The module's factory settings.
Exchange renew();
/// Save and reset, 100 ms each.
Exchange save();

} // namespace ModuleCommands
