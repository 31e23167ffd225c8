#pragma once

#include <QHash>
#include <QHeaderView>

/// The records table's row numbers. A table of tens of thousands of rows asks the header for
/// its size after every page; each number's size is measured once per count of digits (digits
/// are equally wide in the fonts the window uses) instead of laying out two hundred numbers.
class RowNumberHeader : public QHeaderView {
public:
    explicit RowNumberHeader(QWidget *parent = nullptr);

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override;

private:
    mutable QHash<int, QSize> sizeByDigits;
};
