"""Reads a workbook back with openpyxl and prints what it sees as JSON.

    readback.py FILE

{"active": title, "sheets": [...], "cells": {"A1": text}, "fills": {"A1": fill},
 "rowFills": {"2": fill}, "formats": {"A1": number format},
 "others": {title: {"A1": text}}, "definedNames": {name: text}}
A fill is {"type": pattern, "color": "indexed:50" or "rgb:FF99CC00"}.
"""

import datetime
import json
import sys

import openpyxl


def text(value):
    if isinstance(value, (datetime.datetime, datetime.date, datetime.time)):
        return value.isoformat()
    return str(value)


def fill(style):
    if not style.fill_type:
        return None
    color = style.fgColor
    kind = color.type
    return {"type": style.fill_type, "color": f"{kind}:{getattr(color, kind)}"}


def cells(sheet):
    return {c.coordinate: text(c.value) for row in sheet.iter_rows() for c in row
            if c.value is not None}


def main(path):
    book = openpyxl.load_workbook(path)
    sheet = book.active
    out = {
        "active": sheet.title,
        "sheets": book.sheetnames,
        "cells": cells(sheet),
        "fills": {c.coordinate: fill(c.fill) for row in sheet.iter_rows() for c in row
                  if fill(c.fill)},
        "formats": {c.coordinate: c.number_format for row in sheet.iter_rows() for c in row},
        "rowFills": {str(i): fill(d.fill) for i, d in sheet.row_dimensions.items()
                     if d.customFormat and fill(d.fill)},
        "others": {s.title: cells(s) for s in book.worksheets if s is not sheet},
        "definedNames": {d.name: d.attr_text for d in book.defined_names.definedName},
    }
    print(json.dumps(out))


if __name__ == "__main__":
    main(sys.argv[1])
