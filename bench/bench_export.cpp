// Wall and CPU time of writing the readback table to a workbook: a table of 60 000 records of a
// sensor with accelerations (36-byte records), all ten columns filled, held in the model type the
// window uses.
//
// Usage: bench_export [rows] [runs]   (default 60000 rows, 3 runs)
#include "records/workbookwriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardItemModel>
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

// Texts as the readback shows them: one record a minute, readings that drift and change sign.
void fill(QStandardItemModel &model, int rows)
{
    model.setColumnCount(10);
    model.setRowCount(rows);
    model.setHorizontalHeaderLabels(
        { "Date", "Time", "X(°)", "Y(°)", "Z(°)", "X(g)", "Y(g)", "Z(g)", "Temp(℃)", "Power" });
    for (int n = 0; n < rows; ++n) {
        const int day = n / 1440, minute = n % 1440;
        const double drift = (n % 2000 - 1000) * 0.0137;
        const QStringList texts {
            QString::asprintf("20%02d-%02d-%02d", 26, 1 + day / 28 % 12, 1 + day % 28),
            QString::asprintf("%02d:%02d:%02d", minute / 60, minute % 60, n % 60),
            QString::number(drift, 'f', 4), QString::number(-drift * 0.5 + 3.2, 'f', 4),
            QString::number(89.5 - drift * 0.01, 'f', 4), QString::number(drift * 0.0001, 'f', 5),
            QString::number(-0.01234 + drift * 0.00003, 'f', 5),
            QString::number(0.99876 - drift * 0.00001, 'f', 5),
            QString::number(21.5 + (n % 300) * 0.01, 'f', 2), QString::number(100 - n * 20 / rows)
        };
        for (int column = 0; column < texts.size(); ++column)
            model.setItem(n, column, new QStandardItem(texts[column]));
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int requestedRows = argc > 1 ? QByteArray(argv[1]).toInt() : 0;
    const int requestedRuns = argc > 2 ? QByteArray(argv[2]).toInt() : 0;
    const int rows = requestedRows > 0 ? requestedRows : 60000;
    const int runs = requestedRuns > 0 ? requestedRuns : 3;

    QStandardItemModel model;
    fill(model, rows);
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "export: no temporary folder\n");
        return 1;
    }
    const QString path = dir.filePath("export.xlsx");
    std::printf("export: %d rows x %d columns, QStandardItemModel\n", rows, model.columnCount());
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
