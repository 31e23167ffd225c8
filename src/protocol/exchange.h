#pragma once

#include <QByteArray>
#include <QList>

/// One step of a conversation with the sensor or its radio module: bytes to send, then a pause
/// before the next step. `counted` marks a step whose answer counts towards the verdict.
struct ExchangeStep {
    QByteArray bytes;
    int pauseMs = 0;
    bool counted = false;
};

/// A multi-step conversation, built whole before its first byte goes out, so that it keeps the
/// address and values it started with whatever happens meanwhile.
using Exchange = QList<ExchangeStep>;

/// The number of counted answers a fully answered exchange earns.
int expectedAnswers(const Exchange &exchange);

/// Answer counters wrap to 0 when they would pass this value.
constexpr int answerCountLimit = 10000;

/// count + 1, or 0 when that would pass answerCountLimit.
constexpr int nextAnswerCount(int count)
{
    return count >= answerCountLimit ? 0 : count + 1;
}
