#include "cli/erasecommand.h"

#include "cli/exitcode.h"
#include "protocol/timing.h"
#include "records/recordreadback.h"

void EraseCommand::begin()
{
    out.message("erasing the stored records (about six seconds)");
    send(RecordReadback().eraseRequest(address), Timing::eraseReplyMs);
}

bool EraseCommand::take(const QByteArray &, const Reply &reply)
{
    if (reply.kind != Reply::DeleteAck)
        return false;
    out.outcome({ { "erased", true } }, { "erased" });
    finish(ExitCode::Done);
    return true;
}
