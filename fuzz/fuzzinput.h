#pragma once

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

/// Reads a fuzzer's input as a script: single bytes, and byte strings with a length byte first.
class FuzzInput {
public:
    FuzzInput(const uint8_t *data, size_t size)
        : bytes(reinterpret_cast<const char *>(data), int(size))
    {
    }

    bool atEnd() const { return at >= bytes.size(); }
    /// The next byte; 0 once the input is used up.
    quint8 byte() { return atEnd() ? 0 : quint8(bytes.at(at++)); }
    /// A length byte, then that many bytes (fewer at the end of the input).
    QByteArray chunk()
    {
        const int length = byte();
        const QByteArray taken = bytes.mid(at, length);
        at += taken.size();
        return taken;
    }
    /// Everything not read yet.
    QByteArray rest()
    {
        const QByteArray taken = bytes.mid(at);
        at = bytes.size();
        return taken;
    }

private:
    QByteArray bytes;
    int at = 0;
};

/// Stops the run with a message when an invariant of the code under test does not hold: the
/// fuzzer records the input as a finding.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(                                                                          \
                stderr, "FUZZ_CHECK failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);        \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)
