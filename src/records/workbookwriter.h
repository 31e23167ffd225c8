#pragma once

#include <QString>

class QAbstractItemModel;

/// Writes a table model to an .xlsx workbook.
class WorkbookWriter {
public:
    /// Writes every row and column of `model` (display texts, horizontal header texts) to `path`.
    /// False when the file could not be written; errorString() then says why.
    bool write(const QString &path, const QAbstractItemModel &model);
    /// Why the last write() failed; empty after a successful one.
    QString errorString() const { return error; }

private:
    bool fail(const QString &reason);

    QString error;
};
