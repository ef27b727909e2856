# Prints what openpyxl sees in the first sheet of a workbook, as JSON: each
# cell with a value or a fill (value, type, fill, number format, bold), the
# frozen panes, the merged ranges and the column widths.
import json
import sys

import openpyxl

wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.worksheets[0]
cells = {}
for row in ws.iter_rows():
    for c in row:
        filled = c.fill.fill_type == 'solid'
        if c.value is None and not filled:
            continue
        cells[c.coordinate] = {
            'value': c.value,
            'type': type(c.value).__name__,
            'fill': c.fill.fgColor.rgb if filled else None,
            'font': c.font.color.rgb if c.font.color is not None and isinstance(c.font.color.rgb, str) else None,
            'format': c.number_format,
            'bold': bool(c.font.b),
        }
print(json.dumps({
    'sheet': ws.title,
    'sheets': wb.sheetnames,
    'cells': cells,
    'freeze': ws.freeze_panes,
    'merged': [str(r) for r in ws.merged_cells.ranges],
    'widths': {k: v.width for k, v in ws.column_dimensions.items()},
}))
