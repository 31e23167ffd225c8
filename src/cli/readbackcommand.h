#pragma once

#include "cli/clioptions.h"
#include "cli/portcommand.h"
#include "records/recordreadback.h"

#include <QElapsedTimer>
#include <QVector>

/// `readback`: reads the stored records page by page with the core's readback engine and
/// writes them, also when the read ends early, up to the last whole page taken.
class ReadbackCommand : public PortCommand {
    Q_OBJECT

public:
    ReadbackCommand(
        PortLink &link, Output &out, const CliOptions &options, QObject *parent = nullptr);

    void interrupt() override;

protected:
    void begin() override;
    bool take(const QByteArray &bytes, const Reply &reply) override;
    void noAnswer() override;
    int wrapUp(int exitCode) override;

private:
    void showProgress();

    RecordReadback readback;
    RecordRange range;
    RecordReadback::Order order;
    QString outPath;
    int retriesLeft;
    QVector<StoredRecord> records;
    QElapsedTimer clock;
};
