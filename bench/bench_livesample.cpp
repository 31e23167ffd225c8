// CPU time per live sample for the parts that need no window and no port: taking a 36-byte
// live reply off the receive buffer, classifying it, decoding it for the labels and formatting
// its record line. One more figure shows the cost of appending a line to the record file the
// way the window does it (open, write, flush, close per sample).
//
// Usage: bench_livesample [iterations]   (default 200000)
#include "measure/livesample.h"
#include "protocol/checksum.h"
#include "protocol/reply.h"
#include "protocol/replyassembler.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QVector>

#include <cstdio>
#include <functional>
#include <sys/resource.h>

namespace {

// Frames differ in their digits so that no step sees the same input twice in a row.
constexpr int frameVariants = 64;

qint64 cpuMicroseconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return (qint64(usage.ru_utime.tv_sec) + usage.ru_stime.tv_sec) * 1000000
        + usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
}

char bcd(int value)
{
    return char(((value / 10) % 10) << 4 | (value % 10));
}

// A live reply (code 0x83, LEN 35) with a correct checksum; `n` varies the readings.
QByteArray liveReply(int n)
{
    QByteArray frame = QByteArray::fromHex("772300000001" "83");
    const int sign = n % 2 ? 0x10 : 0x00;
    for (int axis = 0; axis < 3; ++axis) // angles: 0ddd.dddd
        frame.append(char(sign | (axis + 1))).append(bcd(23 + n % 50)).append(bcd(n % 100))
            .append(bcd((n * 7 + axis) % 100));
    for (int axis = 0; axis < 3; ++axis) // accelerations: d.dddddd
        frame.append(char(axis == 2 ? 0 : sign)).append(bcd(98 - axis)).append(bcd(n % 100))
            .append(bcd((n * 3 + axis) % 100));
    frame.append(char(0x00)).append(bcd(24)).append(bcd(n % 100)); // temperature
    frame.append(char(80 + n % 20)); // power
    frame.append(char(Checksum::additive(frame, frame.size())));
    return frame;
}

struct Step {
    const char *name;
    std::function<int(int)> run; // returns something derived from the result
};

volatile int sink = 0;

double nsPerSample(const Step &step, int iterations)
{
    for (int i = 0; i < iterations / 20; ++i) // warm caches and allocators first
        sink = sink + step.run(i);
    const qint64 start = cpuMicroseconds();
    int total = 0;
    for (int i = 0; i < iterations; ++i)
        total += step.run(i);
    const qint64 used = cpuMicroseconds() - start;
    sink = sink + total;
    return 1000.0 * double(used) / iterations;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int requested = argc > 1 ? QByteArray(argv[1]).toInt() : 0;
    const int iterations = requested > 0 ? requested : 200000;

    QVector<QByteArray> frames;
    for (int n = 0; n < frameVariants; ++n) {
        frames.append(liveReply(n));
        if (frames.last().size() != 36 || classifyReply(frames.last()).kind != Reply::LiveData) {
            std::fprintf(stderr, "livesample: test frame %d is not a valid live reply\n", n);
            return 1;
        }
    }
    auto frame = [&frames](int i) -> const QByteArray & { return frames[i % frameVariants]; };
    QVector<LiveSample> angleSamples;
    for (const QByteArray &bytes : frames)
        angleSamples.append(decodeLiveSample(bytes, 0));
    auto line = [&](int i) {
        const LiveSample &s = angleSamples[i % frameVariants];
        // The window stamps each line with the time it handles the sample.
        return recordLine(QDateTime::currentDateTime(), s)
            .toLocal8Bit();
    };

    QByteArray rxBuffer;
    const Step assemble {"assemble", [&](int i) {
        // As the reception slot does: append the chunk, find the reply, take it off.
        rxBuffer.append(frame(i));
        int size = 0;
        if (ReplyAssembler::check(rxBuffer).kind == ReplyAssembler::Complete)
            size = ReplyAssembler::takeReply(rxBuffer).size();
        return size;
    }};
    const Step classify {"classify", [&](int i) { return int(classifyReply(frame(i)).kind); }};
    const Step decodeAngles {"decode angles (kind 0)", [&](int i) {
        return decodeLiveSample(frame(i), 0).x.size();
    }};
    const Step decodeAccelerations {"decode accelerations (kind 2)", [&](int i) {
        return decodeLiveSample(frame(i), 2).x.size();
    }};
    const Step clock {"current time", [](int) {
        return QDateTime::currentDateTime().time().msec();
    }};
    const QDateTime fixedTime = QDateTime::currentDateTime();
    const Step formatText {"record line text (time given)", [&](int i) {
        const LiveSample &s = angleSamples[i % frameVariants];
        return recordLine(fixedTime, s).toLocal8Bit().size();
    }};
    const Step formatLine {"record line (current time + text)", [&](int i) {
        return line(i).size();
    }};
    const Step total {"total (assemble + classify + decode angles + record line)", [&](int i) {
        rxBuffer.append(frame(i));
        const QByteArray reply = ReplyAssembler::takeReply(rxBuffer);
        if (classifyReply(reply).kind != Reply::LiveData)
            return 0;
        const LiveSample s = decodeLiveSample(reply, AngleKind);
        return int(recordLine(QDateTime::currentDateTime(), s).toLocal8Bit().size());
    }};

    std::printf("livesample: %d samples per step, CPU time (user+sys)\n", iterations);
    for (const Step *step : {&assemble, &classify, &decodeAngles, &decodeAccelerations, &clock,
                             &formatText, &formatLine, &total})
        std::printf("livesample %s: %.0f ns/sample\n", step->name, nsPerSample(*step, iterations));

    // The file append hits the disk cache through four system calls per sample; fewer rounds.
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "livesample: no temporary folder\n");
        return 1;
    }
    const QString path = recordFilePath(dir.path());
    const Step append {"record file append (open, write, flush, close)", [&](int i) {
        QFile file(path);
        const QByteArray bytes = line(i);
        const bool written = file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)
            && file.write(bytes) == bytes.size() && file.flush();
        file.close();
        return int(written);
    }};
    const int appends = qMax(1, iterations / 10);
    std::printf("livesample %s: %.0f ns/sample (%d samples)\n", append.name,
                nsPerSample(append, appends), appends);
    return 0;
}
