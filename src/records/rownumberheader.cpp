#include "records/rownumberheader.h"

RowNumberHeader::RowNumberHeader(QWidget *parent)
    : QHeaderView(Qt::Vertical, parent)
{
    // As the table's own vertical header.
    setSectionsClickable(true);
    setHighlightSections(true);
}

QSize RowNumberHeader::sectionSizeFromContents(int logicalIndex) const
{
    const int digits = QString::number(logicalIndex + 1).size();
    auto cached = sizeByDigits.constFind(digits);
    if (cached != sizeByDigits.constEnd())
        return *cached;
    const QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
    sizeByDigits.insert(digits, size);
    return size;
}
