#pragma once

#include <QByteArray>
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
