#include "cli/readbackcommand.h"

#include "cli/exitcode.h"
#include "cli/portlink.h"
#include "protocol/timing.h"
#include "records/csvwriter.h"
#include "records/recordtablemodel.h"
#include "records/workbookwriter.h"

#include <QFileInfo>

ReadbackCommand::ReadbackCommand(
    PortLink &link, Output &out, const CliOptions &options, QObject *parent)
    : PortCommand(link, out, options.address, parent)
    , range(options.range.value_or(*recordRange(true, QString(), QString())))
    , order(
          options.descending ? RecordReadback::Order::Descending : RecordReadback::Order::Ascending)
    , outPath(options.out)
    , retriesLeft(options.retries)
{
}

void ReadbackCommand::begin()
{
    clock.start();
    send(readback.start(address, order, range), Timing::readbackReplyMs);
}

bool ReadbackCommand::take(const QByteArray &bytes, const Reply &reply)
{
    if (reply.kind != Reply::ReadbackPage && reply.kind != Reply::ReadbackPageBadCrc)
        return false;
    const bool stopping = readback.state() == RecordReadback::State::Stopping;
    const RecordReadback::PageResult result = readback.takePage(bytes);
    if (result.accepted) {
        records += result.records;
        showProgress();
    }
    if (result.finished) {
        finish(ExitCode::Done);
    } else if (stopping && !result.request.isEmpty()) {
        link.send(result.request); // the stop: nothing more is awaited
        finish(ExitCode::Failed);
    } else if (!result.request.isEmpty()) {
        send(result.request, Timing::readbackReplyMs);
    }
    return true;
}

void ReadbackCommand::noAnswer()
{
    const QByteArray stop = readback.timedOut();
    if (!stop.isEmpty()) { // stopping: the page never came, the stop goes now
        link.send(stop);
        finish(ExitCode::Failed);
        return;
    }
    if (readback.state() != RecordReadback::State::Paused || retriesLeft == 0) {
        out.message("no answer from the sensor");
        finish(ExitCode::Failed);
        return;
    }
    --retriesLeft;
    out.message("no page in time, asking again");
    send(readback.resume(address, range), Timing::readbackReplyMs);
}

void ReadbackCommand::interrupt()
{
    out.message("stopping the read");
    const QByteArray stop = readback.stop();
    if (!stop.isEmpty()) {
        link.send(stop);
        finish(ExitCode::Failed);
    } else if (readback.state() != RecordReadback::State::Stopping) {
        finish(ExitCode::Failed); // nothing on its way
    }
    // Else the page on its way is taken and the stop goes with the next request.
}

int ReadbackCommand::wrapUp(int exitCode)
{
    const bool csv = QFileInfo(outPath).suffix().toLower() == "csv";
    bool written = false;
    QString error;
    if (csv) {
        CsvWriter writer;
        written = writer.write(outPath, recordColumnHeaders(), records);
        error = writer.errorString();
    } else {
        RecordTableModel model(recordColumnHeaders());
        model.append(records);
        WorkbookWriter writer;
        written = writer.write(outPath, model);
        error = writer.errorString();
    }
    if (!written) {
        out.message(QString("could not write %1: %2").arg(outPath, error));
        return qMax(exitCode, int(ExitCode::Failed));
    }
    out.outcome({ { "records", records.size() }, { "file", outPath } },
        { QString("%1 records written to %2").arg(records.size()).arg(outPath) });
    return exitCode;
}

void ReadbackCommand::showProgress()
{
    const double seconds = qMax<qint64>(clock.elapsed(), 1) / 1000.0;
    out.progress(QString("%1 records (%2 records/s)")
                     .arg(records.size())
                     .arg(records.size() / seconds, 0, 'f', 0));
}
