// Loading a firmware file: a 1 MiB image made with FirmwareFile::encode in a temporary folder,
// then FirmwareFile::load timed (wall and CPU) over a few runs; the AES-128-CBC decryption on
// its own in MB/s, beside the figure `openssl speed` gives for 16 KiB blocks on this machine.
//
// Usage: bench_firmware [runs]   (default 3)
#include "firmware/aescipher.h"
#include "firmware/firmwarefile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

namespace {

qint64 cpuMicroseconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return (qint64(usage.ru_utime.tv_sec) + usage.ru_stime.tv_sec) * 1000000
        + usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
}

// Pseudo-random bytes (xorshift): only the size matters here.
QByteArray image(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 state = 2463534242u;
    for (char &byte : bytes) {
        state ^= state << 13, state ^= state >> 17, state ^= state << 5;
        byte = char(state);
    }
    return bytes;
}

// The 16 KiB column of `openssl speed -evp aes-128-cbc -decrypt`, in MB/s; 0 when it cannot run.
double opensslMegabytesPerSecond()
{
    const QString openssl = QStandardPaths::findExecutable("openssl");
    if (openssl.isEmpty())
        return 0;
    QProcess process;
    process.start(openssl, { "speed", "-evp", "aes-128-cbc", "-decrypt", "-seconds", "1" });
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        return 0;
    // The row for the cipher ends with the 16384-byte figure, in thousands of bytes per second.
    for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() == 7 && fields[0].toLower() == "aes-128-cbc")
            return fields.last().chopped(1).toDouble() / 1000;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int requestedRuns = argc > 1 ? QByteArray(argv[1]).toInt() : 0;
    const int runs = requestedRuns > 0 ? requestedRuns : 3;
    constexpr int imageSize = 1024 * 1024;

    QTemporaryDir dir;
    QFile file(dir.filePath("firmware.ovx"));
    const QByteArray text = FirmwareFile::encode("BENCH#01#V1.0.0", 2, 0x5A, image(imageSize));
    if (!dir.isValid() || !file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
        std::fprintf(stderr, "firmware: cannot write a temporary file\n");
        return 1;
    }
    file.close();
    std::printf("firmware: %d-byte image, %lld-byte file (Base64 of AES-128-CBC)\n", imageSize,
        qint64(text.size()));
    for (int run = 1; run <= runs; ++run) {
        QElapsedTimer wall;
        wall.start();
        const qint64 cpuStart = cpuMicroseconds();
        const FirmwareImage loaded = FirmwareFile::load(file.fileName());
        const double cpuMs = (cpuMicroseconds() - cpuStart) / 1000.0;
        std::printf("firmware load run %d: %.1f ms wall, %.1f ms CPU, image %d bytes, %d packets\n",
            run, wall.nsecsElapsed() / 1e6, cpuMs, int(loaded.image.size()), loaded.packetCount());
    }

    // The cipher alone, on the same cipher text: key and IV as good as any.
    const QByteArray cipherText = QByteArray::fromBase64(text);
    const QByteArray key(16, 'k'), iv(16, 'i');
    constexpr int passes = 16;
    const qint64 cpuStart = cpuMicroseconds();
    qint64 decrypted = 0;
    for (int pass = 0; pass < passes; ++pass)
        decrypted
            += AesCipher::Decrypt(AesCipher::Aes128, AesCipher::Cbc, cipherText, key, iv).size();
    const double seconds = (cpuMicroseconds() - cpuStart) / 1e6;
    const double ours = decrypted / 1e6 / seconds;
    std::printf("firmware AesCipher AES-128-CBC decrypt: %.1f MB/s (%lld bytes, %.2f s CPU)\n",
        ours, decrypted, seconds);
    const double theirs = opensslMegabytesPerSecond();
    if (theirs > 0)
        std::printf(
            "firmware openssl speed AES-128-CBC decrypt, 16 KiB blocks: %.1f MB/s (ours %.1f%% "
            "of it)\n",
            theirs, 100 * ours / theirs);
    else
        std::printf("firmware openssl speed: skipped (openssl not found or it failed)\n");
    return 0;
}
