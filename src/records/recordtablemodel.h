#pragma once

#include "records/storedrecord.h"

#include <QAbstractTableModel>
#include <QStringList>

/// The records table: decoded records kept as values, each cell's text made when it is shown,
/// so that tens of thousands of records cost little memory and appending a page stays cheap.
/// It always shows at least `emptyRows` rows, empty where there is no record yet.
class RecordTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int emptyRows = 18;

    explicit RecordTableModel(const QStringList &headers, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /// Adds records after the last one.
    void append(const QVector<StoredRecord> &more);
    /// Removes every record.
    void clear();
    const QVector<StoredRecord> &records() const { return stored; }
    /// The column headers as the table shows them.
    QStringList headerTexts() const { return headers; }

private:
    QStringList headers;
    QVector<StoredRecord> stored;
};
