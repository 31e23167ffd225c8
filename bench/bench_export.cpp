// Wall and CPU time of writing the readback table to a workbook: a table of 60 000 records of a
// sensor with accelerations (36-byte records), all ten columns filled, in the window's table model,
// which makes each cell's text when it is asked for.
//
// Usage: bench_export [rows] [runs]   (default 60000 rows, 3 runs)
#include "records/recordtablemodel.h"
#include "records/workbookwriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
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

// Records as the readback decodes them: one a minute, readings that drift and change sign.
QVector<StoredRecord> records(int rows)
{
    QVector<StoredRecord> list(rows);
    for (int n = 0; n < rows; ++n) {
        StoredRecord &r = list[n];
        const int day = n / 1440, minute = n % 1440;
        const float drift = float((n % 2000 - 1000) * 0.0137);
        r.date[0] = 26, r.date[1] = quint8(1 + day / 28 % 12), r.date[2] = quint8(1 + day % 28);
        r.time[0] = quint8(minute / 60), r.time[1] = quint8(minute % 60),
        r.time[2] = quint8(n % 60);
        r.angle[0] = drift, r.angle[1] = -drift * 0.5f + 3.2f, r.angle[2] = 89.5f - drift * 0.01f;
        r.acceleration[0] = drift * 0.0001f, r.acceleration[1] = -0.01234f + drift * 0.00003f;
        r.acceleration[2] = 0.99876f - drift * 0.00001f;
        r.temperature = 21.5f + (n % 300) * 0.01f;
        r.power = quint8(100 - n * 20 / rows);
        r.hasAcceleration = true;
    }
    return list;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int requestedRows = argc > 1 ? QByteArray(argv[1]).toInt() : 0;
    const int requestedRuns = argc > 2 ? QByteArray(argv[2]).toInt() : 0;
    const int rows = requestedRows > 0 ? requestedRows : 60000;
    const int runs = requestedRuns > 0 ? requestedRuns : 3;

    RecordTableModel model(
        { "Date", "Time", "X(°)", "Y(°)", "Z(°)", "X(g)", "Y(g)", "Z(g)", "Temp(℃)", "Power" });
    model.append(records(rows));
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "export: no temporary folder\n");
        return 1;
    }
    const QString path = dir.filePath("export.xlsx");
    std::printf("export: %d rows x %d columns, the window's table model (texts made on demand)\n",
        rows, model.columnCount());
    double bestWall = 0;
    for (int run = 1; run <= runs; ++run) {
        WorkbookWriter writer;
        QElapsedTimer wall;
        wall.start();
        const qint64 cpuStart = cpuMicroseconds();
        const bool written = writer.write(path, model);
        const double cpuMs = (cpuMicroseconds() - cpuStart) / 1000.0;
        const double wallMs = wall.nsecsElapsed() / 1e6;
        if (!written) {
            std::fprintf(stderr, "export: %s\n", qPrintable(writer.errorString()));
            return 1;
        }
        bestWall = run == 1 ? wallMs : qMin(bestWall, wallMs);
        std::printf("export run %d: %.0f ms wall, %.0f ms CPU, %lld bytes\n", run, wallMs, cpuMs,
            QFileInfo(path).size());
    }
    const char *verdict = rows < 60000 ? "not measured" : bestWall < 2000 ? "met" : "missed";
    std::printf("export target: export of 60 000 rows under 2 s: %s (best %.0f ms, %d rows)\n",
        verdict, bestWall, rows);
    return 0;
}
