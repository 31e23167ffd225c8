#pragma once

/// Pacing of the window's conversation with the sensor, in milliseconds. The pauses inside an
/// exchange belong to the exchange builders.
namespace Timing {

/// Live polling: one read-live-data request every period.
constexpr int livePollMs = 100;
/// Live polling starts again this long after a command paused it.
constexpr int liveResumeMs = 200;
/// A radio-module answer is complete once the line has been quiet this long.
constexpr int moduleQuietMs = 50;
/// An incomplete reply is dropped this long after its last byte.
constexpr int partialReplyMs = 500;
/// A readback or stop request gives up when no byte has come this long.
constexpr int readbackReplyMs = 2000;
/// A single query (address, date and time, zero mode, sleep period) gives up after this long.
constexpr int queryReplyMs = 1000;
/// Erasing the stored records takes the sensor about six seconds.
constexpr int eraseReplyMs = 8000;

} // namespace Timing
