#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

/// What one quiet burst of radio-module text means to the window.
struct ModuleAnswer
{
    enum Kind {
        None,         // nothing recognised
        BandSet,      // "OK+BAND"
        BandQuery,    // "OK+BAND:" + 2 hex digits; `index`
        ChannelSet,   // "OK+CHANNEL"
        ChannelQuery, // "OK+CHANNEL:" lines; `text` and `text2`
        HeartSet,     // "OK+HEART"
        HeartQuery,   // "OK+HEART:" + 2 hex digits; `index`
        DevEui,       // `text`: 16 characters
        AppEui,       // `text`: 16 characters
        AppKey,       // `text`: 32 characters
        Saved,        // "OK+SAVE"
        Renewed       // "OK+RENEW"
    };
    Kind kind = None;
    int index = 0;
    QString text;
    QString text2;
    /// Answers to sets that the module one-key set counts.
    bool counted() const
    {
        return kind == BandSet || kind == ChannelSet || kind == HeartSet || kind == Saved;
    }
};

/// Recognises a module answer: the bytes up to the first zero as Latin-1 text, tested against
/// the known keys in a fixed order by "contains"; the first key that matches decides.
ModuleAnswer parseModuleAnswer(const QByteArray &buffer);

/// One line of a module exchange and the pause after it.
struct AtStep
{
    QByteArray line;
    int pauseMs = 0;
};

/// A module exchange: "ATE1" (100 ms), each command with its pause, then "ATE0" (no pause).
QList<AtStep> moduleExchange(const QList<QByteArray> &commands, int pauseMs = 300);
