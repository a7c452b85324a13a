#!/usr/bin/python3
"""Opens a password-protected workbook in LibreOffice (headless, through UNO)
and prints what it sees of the active sheet's first 9 rows and 4 columns:

    libreoffice.py FILE PASSWORD
    {"cells": {"A1": text}, "colors": {"A2": "99cc00"}}, or {"error": text}
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

import uno
from com.sun.star.beans import PropertyValue


def props(**values):
    out = []
    for name, value in values.items():
        prop = PropertyValue()
        prop.Name, prop.Value = name, value
        out.append(prop)
    return tuple(out)


def start(profile):
    pipe = "tapwise%d" % os.getpid()
    office = subprocess.Popen(
        ["soffice", "--headless", "--invisible", "--norestore", "--nologo",
         "-env:UserInstallation=file://" + profile, "--accept=pipe,name=%s;urp;" % pipe],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext(
        "com.sun.star.bridge.UnoUrlResolver", local)
    for _ in range(240):
        try:
            context = resolver.resolve(
                "uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
            return office, context.ServiceManager.createInstanceWithContext(
                "com.sun.star.frame.Desktop", context)
        except Exception:
            time.sleep(0.5)
    office.kill()
    raise SystemExit("LibreOffice did not start")


def read(desktop, path, password):
    doc = desktop.loadComponentFromURL(uno.systemPathToFileUrl(os.path.abspath(path)),
                                       "_blank", 0, props(Hidden=True, Password=password))
    if doc is None:
        return {"error": "not opened"}
    sheet = doc.getCurrentController().getActiveSheet()
    cells, colors = {}, {}
    for row in range(9):
        for column in range(4):
            cell = sheet.getCellByPosition(column, row)
            name = "ABCD"[column] + str(row + 1)
            if cell.getString():
                cells[name] = cell.getString()
            if cell.CellBackColor != -1:
                colors[name] = "%06x" % cell.CellBackColor
    doc.close(True)
    return {"cells": cells, "colors": colors}


def main(path, password):
    profile = tempfile.mkdtemp(prefix="tapwise-lo-")
    office, desktop = start(profile)
    try:
        result = read(desktop, path, password)
    except Exception as error:  # a wrong password ends the type detection
        result = {"error": str(error)}
    finally:
        try:
            desktop.terminate()
        except Exception:
            pass
        office.wait(60)
        shutil.rmtree(profile, ignore_errors=True)
    print(json.dumps(result))


if __name__ == "__main__":
    main(*sys.argv[1:3])
