# Writes a workbook with openpyxl from a JSON description:
# write_workbook.py FILE JSON, where JSON is a list of sheets
# {"name": ..., "rows": [[value, ...], ...]}; a value is a string, a number,
# true/false or null, or {"big": "digits"} for an integer longer than a double.
import json
import sys

import openpyxl


def value(v):
    if isinstance(v, dict) and 'big' in v:
        return int(v['big'])
    return v


wb = openpyxl.Workbook()
wb.remove(wb.active)
for sheet in json.loads(sys.argv[2]):
    ws = wb.create_sheet(sheet['name'])
    for row in sheet['rows']:
        ws.append([value(v) for v in row])
wb.save(sys.argv[1])
