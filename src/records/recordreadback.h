#pragma once

#include "records/storedrecord.h"

#include <QByteArray>
#include <QString>

#include <optional>

/// Record indices a read covers; an ascending read sends them, a descending one does not.
struct RecordRange {
    quint16 begin = 0;
    quint16 end = 0;
};

/// The range typed in the window: all records, or the begin and end texts (unsigned decimal,
/// anything else counts as 0). Begin 0 becomes 1, end is held to the last index, and only the
/// low 16 bits are kept. Nothing when begin is above end as typed.
std::optional<RecordRange> recordRange(bool all, const QString &begin, const QString &end);

/// The conversation that reads the sensor's stored records page by page. It holds no port and
/// no widget: each event hands back the request to send (empty when nothing goes out), and the
/// caller sends it and arms the reply time-out.
///
/// One page is asked for at a time. A page that fails its CRC is asked for again; one that never
/// came (the caller reports the time-out) is asked for again on resume; a page identical to the
/// last one taken is the answer to such a repeat and is not taken twice.
class RecordReadback {
public:
    enum class State {
        Idle,
        Running, // pages are being asked for
        Paused, // by the user or by a time-out; nothing goes out until resume()
        Stopping // stop was asked while a page was on its way: the next request stops the read
    };
    enum class Order { Ascending, Descending };

    /// What became of a page.
    struct PageResult {
        bool accepted = false; // a good page taken into the read (possibly with no records)
        QVector<StoredRecord> records; // the page's records in table order
        QByteArray request; // to send now
        bool finished = false; // that was the last page: the read is complete
    };

    static constexpr int lastIndex = 60000;
    static constexpr quint8 ascendingCommand = 0x61;
    static constexpr quint8 descendingCommand = 0x6D;
    static constexpr quint8 stopCommand = 0x62;
    static constexpr quint8 eraseCommand = 0x63;
    static constexpr quint8 firstPage = 0x00;
    static constexpr quint8 nextPage = 0x10;
    static constexpr quint8 samePage = 0x11;

    /// Starts a new read and returns its first request.
    QByteArray start(quint32 address, Order order, const RecordRange &range);
    /// Sends nothing more until resume(); a page on its way is still taken.
    void pause(const RecordRange &range);
    /// Continues a paused read: the next page, or again the one that never came.
    QByteArray resume(quint32 address, const RecordRange &range);
    /// Ends the read: a paused read sends the stop now, a running one with its next request.
    QByteArray stop();
    /// Takes a complete page (reply code 0x61 or 0x6D).
    PageResult takePage(const QByteArray &page);
    /// No page came in time: a running read pauses; a stopping one sends its stop now.
    QByteArray timedOut();
    /// The port went: no page is on its way any more. A running read pauses and asks again on
    /// resume for the page it was waiting for; a stopping one ends (its stop cannot go out).
    void portLost();
    /// The erase request, carrying the sub-code and range of the last read.
    QByteArray eraseRequest(quint32 address) const;

    State state() const { return current; }
    /// A request went out and its page has not come yet.
    bool awaitingPage() const { return awaiting; }

private:
    QByteArray request(quint8 command, bool shortForm);
    quint8 readCommand() const;

    State current = State::Idle;
    Order order = Order::Ascending;
    quint32 address = 0;
    RecordRange range;
    quint8 subCode = firstPage;
    bool awaiting = false;
    bool askAgain = false; // the port went while a page was awaited
    QByteArray lastPage; // the last page taken, to know a repeat of it
};
