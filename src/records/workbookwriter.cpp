#include "records/workbookwriter.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <array>
#include <charconv>
#include <memory>
#include <string>

namespace {

const char sheetName[] = "Angle Data";
constexpr double columnWidth = 10;
constexpr double rowHeight = 20;
constexpr lxw_color_t headerGrey = 0x969696; // RGB 150, 150, 150
// A double keeps 15 significant digits; a longer number would not show as it was written.
constexpr int maxDigits = 15;

struct WorkbookFree {
    void operator()(lxw_workbook *workbook) const { lxw_workbook_free(workbook); }
};
using WorkbookPtr = std::unique_ptr<lxw_workbook, WorkbookFree>;

// Copies `text` as UTF-8 into `out`, reusing its storage from cell to cell (the table's texts
// are ASCII but for the header).
void toUtf8(const QString &text, std::string &out)
{
    const int size = text.size();
    out.resize(size);
    const QChar *in = text.constData();
    for (int i = 0; i < size; ++i) {
        const ushort code = in[i].unicode();
        if (code >= 0x80) {
            out = text.toStdString();
            return;
        }
        out[i] = char(code);
    }
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The decimals of a plain decimal number ("-12.3456": 4, "87": 0), or -1 for any other text.
// Texts that a number cell would show differently (leading zeros, minus zero, more digits than
// a double keeps) are not taken as numbers either.
int plainDecimals(const std::string &text)
{
    const size_t size = text.size();
    const size_t intStart = !text.empty() && text[0] == '-' ? 1 : 0;
    size_t i = intStart;
    while (i < size && isDigit(text[i]))
        ++i;
    const size_t intDigits = i - intStart;
    size_t decimals = 0;
    if (i < size && text[i] == '.') {
        const size_t fraction = ++i;
        while (i < size && isDigit(text[i]))
            ++i;
        decimals = i - fraction;
        if (decimals == 0)
            return -1;
    }
    if (i != size || intDigits == 0 || intDigits + decimals > maxDigits
        || (intDigits > 1 && text[intStart] == '0'))
        return -1;
    if (intStart == 1 && text.find_first_not_of("0.", 1) == std::string::npos)
        return -1;
    return int(decimals);
}

class SheetWriter {
public:
    SheetWriter(lxw_workbook *workbook, lxw_worksheet *sheet)
        : workbook(workbook)
        , sheet(sheet)
    {
        // Every cell of the table is framed, so every format carries the thin black border.
        header = bordered();
        format_set_bold(header);
        format_set_bg_color(header, headerGrey);
        format_set_align(header, LXW_ALIGN_CENTER);
        text = bordered();
    }

    // One row of cells from column 0; the header row is written as texts.
    lxw_error writeRow(lxw_row_t row, const QAbstractItemModel &model, bool isHeader)
    {
        lxw_error result = worksheet_set_row(sheet, row, rowHeight, nullptr);
        const int columns = model.columnCount();
        for (int column = 0; column < columns && result == LXW_NO_ERROR; ++column) {
            const QVariant value = isHeader
                ? model.headerData(column, Qt::Horizontal, Qt::DisplayRole)
                : model.data(model.index(int(row) - 1, column), Qt::DisplayRole);
            toUtf8(value.toString(), buffer);
            const lxw_col_t col = lxw_col_t(column);
            const int decimals = isHeader ? -1 : plainDecimals(buffer);
            if (buffer.empty()) {
                result = worksheet_write_blank(sheet, row, col, isHeader ? header : text);
            } else if (decimals >= 0) {
                double number = 0;
                std::from_chars(buffer.data(), buffer.data() + buffer.size(), number);
                result = worksheet_write_number(sheet, row, col, number, numberFormat(decimals));
            } else {
                result = worksheet_write_string(
                    sheet, row, col, buffer.c_str(), isHeader ? header : text);
            }
        }
        return result;
    }

private:
    lxw_format *bordered()
    {
        lxw_format *format = workbook_add_format(workbook);
        format_set_border(format, LXW_BORDER_THIN);
        format_set_border_color(format, LXW_COLOR_BLACK);
        return format;
    }

    // "0", "0.0", "0.00", ...: the number shows the decimals its text had. One format each.
    lxw_format *numberFormat(int decimals)
    {
        lxw_format *&format = numbers[size_t(decimals)];
        if (!format) {
            format = bordered();
            const std::string pattern = decimals ? "0." + std::string(size_t(decimals), '0') : "0";
            format_set_num_format(format, pattern.c_str());
        }
        return format;
    }

    lxw_workbook *workbook;
    lxw_worksheet *sheet;
    lxw_format *header = nullptr;
    lxw_format *text = nullptr;
    std::array<lxw_format *, maxDigits> numbers {};
    std::string buffer;
};

// Builds the workbook in `file`: the header row, the data from A2, all framed, widths and heights
// set. Written row by row, header first, as streamed rows must be; each cell carries its whole
// format, so this gives the same sheet as data first and decoration after.
lxw_error buildWorkbook(const QByteArray &file, const QAbstractItemModel &model)
{
    // Rows go straight to the sheet's file: as fast as keeping every cell (under 1 s for 60 000
    // rows), steadier on the first export of a session and some 70 MB lighter.
    lxw_workbook_options options {};
    options.constant_memory = LXW_TRUE;
    WorkbookPtr workbook(workbook_new_opt(file.constData(), &options));
    if (!workbook)
        return LXW_ERROR_MEMORY_MALLOC_FAILED;
    lxw_worksheet *sheet = workbook_add_worksheet(workbook.get(), sheetName);
    if (!sheet)
        return LXW_ERROR_MEMORY_MALLOC_FAILED;
    SheetWriter writer(workbook.get(), sheet);
    const int columns = model.columnCount();
    const int rows = model.rowCount();
    lxw_error result = columns > 0
        ? worksheet_set_column(sheet, 0, lxw_col_t(columns - 1), columnWidth, nullptr)
        : LXW_NO_ERROR;
    for (int row = 0; row <= rows && result == LXW_NO_ERROR; ++row)
        result = writer.writeRow(lxw_row_t(row), model, row == 0);
    if (result != LXW_NO_ERROR)
        return result;
    return workbook_close(workbook.release()); // frees the workbook whatever the result
}

} // namespace

bool WorkbookWriter::write(const QString &path, const QAbstractItemModel &model)
{
    error.clear();
    const QString shown = QDir::toNativeSeparators(path);
    // Opened first, so that a name that cannot be written fails before any work is done; the
    // file is only replaced, in one step, by a complete workbook.
    QSaveFile target(path);
    if (!target.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("Cannot write %1: %2").arg(shown, target.errorString()));
    QTemporaryFile built(QDir::temp().filePath(QStringLiteral("tiltlink-XXXXXX")));
    if (!built.open())
        return fail(QStringLiteral("Cannot create a temporary file: %1").arg(built.errorString()));
    built.close(); // the library writes it by name; it stays until `built` goes
    const lxw_error result = buildWorkbook(QFile::encodeName(built.fileName()), model);
    if (result == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED) // the one a table's contents can cause
        return fail(QStringLiteral("Cannot build the workbook: a cell text is longer than the "
                                   "32767 characters a cell can hold."));
    if (result != LXW_NO_ERROR)
        return fail(QStringLiteral("Cannot build the workbook: %1")
                        .arg(QString::fromUtf8(lxw_strerror(result))));
    if (!built.open())
        return fail(QStringLiteral("Cannot read the built workbook: %1").arg(built.errorString()));
    char chunk[1 << 16];
    qint64 size = 0;
    while ((size = built.read(chunk, sizeof chunk)) > 0) {
        if (target.write(chunk, size) != size)
            return fail(QStringLiteral("Cannot write %1: %2").arg(shown, target.errorString()));
    }
    if (size < 0)
        return fail(QStringLiteral("Cannot read the built workbook: %1").arg(built.errorString()));
    if (!target.commit())
        return fail(QStringLiteral("Cannot write %1: %2").arg(shown, target.errorString()));
    return true;
}

bool WorkbookWriter::fail(const QString &reason)
{
    error = reason;
    return false;
}
