"""Prints what a reader finds in the first sheet of the .xlsx file given, a line a property."""
import sys

import openpyxl

sys.stdout.reconfigure(encoding="utf-8")
book = openpyxl.load_workbook(sys.argv[1])
sheet = book.worksheets[0]
rows = list(sheet.iter_rows(max_row=sheet.max_row, max_col=sheet.max_column))
print("|".join(book.sheetnames) + ":", "|".join(str(c.value) for c in rows[0]))
print("header:", sorted({(c.font.b, c.fill.fgColor.rgb, c.alignment.horizontal) for c in rows[0]}))
print("widths:", [f"{d.min}:{d.max} {d.width:g}" for d in sheet.column_dimensions.values()])
sides = lambda c: {(s.style, s.color and s.color.rgb)
                   for s in (c.border.left, c.border.right, c.border.top, c.border.bottom)}
bordered = [c for row in rows for c in row if sides(c) != {(None, None)}]
framed = [c for c in bordered if sides(c) == {("thin", "FF000000")}]
heights = {r: d.height for r, d in sheet.row_dimensions.items() if d.height}
print(f"{bordered[0].coordinate}:{bordered[-1].coordinate} thin black on {len(framed)} of"
      f" {len(bordered)} cells; {len(heights)} rows {min(heights)}:{max(heights)} high"
      f" {set(heights.values())}")
# Per column: the kinds of cell in all data rows (- empty, s text, n and the number format), and
# what the first data row holds.
kind = lambda c: "-" if c.value is None else "s" if type(c.value) is str else "n" + c.number_format
print("columns:", " ".join("/".join(sorted({kind(r[i]) for r in rows[1:]}))
                           + ("" if c.value is None else "=" + repr(c.value))
                           for i, c in enumerate(rows[1])))
