"""Workbooks for the workbook tests, made at test time.

    fixtures.py CASE OUTPUT

Most cases are written by openpyxl; the cases that need what openpyxl does
not write (prefixed or strict XML, rows without numbers, rich text, stored
formula results, a calculation chain, encryption) are packed by hand with
zipfile from the XML below.
"""

import datetime
import struct
import sys
import zipfile

import openpyxl
from openpyxl.styles import Font, PatternFill
from openpyxl.workbook.defined_name import DefinedName

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG_REL = "http://schemas.openxmlformats.org/package/2006/relationships"
CT = "http://schemas.openxmlformats.org/package/2006/content-types"
SHEET_CT = "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"
BOOK_CT = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"


def types(path):
    """One row per kind of value, as a spreadsheet user would enter them."""
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "Data"
    ws.append(["Kind", "Value"])
    rows = [
        ("text", "Città €"),
        ("blanks", "   "),
        ("lines", "a\nb"),
        ("digits text", "007"),
        ("integer", 7),
        ("decimal", 1234.5),
        ("sum", 0.1 + 0.2),
        ("big", 1e20),
        ("small", 1e-5),
        ("long", 123456789012345678),
        ("negative", -2.5),
        ("true", True),
        ("false", False),
        ("datetime", datetime.datetime(2024, 3, 1, 10, 20, 30)),
        ("date", datetime.date(2024, 3, 1)),
        ("time", datetime.time(10, 20, 30)),
        ("error", "#N/A"),
        ("division", "#DIV/0!"),
        ("formula", "=1+1"),
        ("percent", 0.25),
        ("custom date", 45000),
        ("quoted days", 12),
    ]
    for row in rows:
        ws.append(row)
    ws["B21"].number_format = "0%"
    ws["B22"].number_format = "dd/mm/yyyy"
    ws["B23"].number_format = '0 "days"'
    other = wb.create_sheet("Other")
    other["A1"] = "not the active sheet"
    wb.save(path)


def people(path):
    """Rows to send in two groups, a formatted column, a second sheet with a
    formula on the first and a defined name."""
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "People"
    ws.append(["Name", "City", "Born", "Amount"])
    ws.append(["Ann", "Rome", datetime.date(1990, 5, 17), 10.5])
    ws.append(["Bob", "Milan", datetime.date(1985, 1, 2), 20])
    ws.append(["Cy", "Turin", datetime.date(2000, 12, 31), 30])
    ws.append([])
    ws.append(["Dee", "Pisa", datetime.date(1970, 7, 7), 40])
    ws["A1"].font = Font(bold=True)
    ws["D2"].number_format = "#,##0.00"
    ws["D3"].fill = PatternFill("solid", fgColor="FFFF0000")
    totals = wb.create_sheet("Totals")
    totals["A1"] = "=SUM(People!D2:D6)"
    wb.defined_names.append(DefinedName("Amounts", attr_text="People!$D$2:$D$6"))
    wb.save(path)


def content_types(overrides, defaults=""):
    items = "".join(
        f'<Override PartName="/{name}" ContentType="{kind}"/>' for name, kind in overrides
    )
    return (
        f'<?xml version="1.0" encoding="UTF-8"?><Types xmlns="{CT}">'
        '<Default Extension="rels" '
        'ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
        f'<Default Extension="xml" ContentType="application/xml"/>{defaults}{items}</Types>'
    )


def relationships(items, rel_ns=REL):
    body = "".join(
        f'<Relationship Id="{rid}" Type="{rel_ns}/{kind}" Target="{target}"/>'
        for rid, kind, target in items
    )
    return f'<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="{PKG_REL}">{body}</Relationships>'


def pack(path, parts):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
        for name, text in parts.items():
            archive.writestr(name, text)


PREFIXED_STRINGS = f"""<?xml version="1.0" encoding="UTF-8"?>
<x:sst xmlns:x="{MAIN}" count="4" uniqueCount="4">
<x:si><x:r><x:rPr><x:b/></x:rPr><x:t>Hello</x:t></x:r><x:r><x:t xml:space="preserve"> World</x:t></x:r><x:rPh sb="0" eb="1"><x:t>HIDDEN</x:t></x:rPh><x:phoneticPr fontId="1"/></x:si>
<x:si><x:t>_x0041_B_x005F_x0043__x000D_</x:t></x:si>
<x:si><x:t xml:space="preserve">   </x:t></x:si>
<x:si><x:t>second</x:t></x:si>
</x:sst>"""

PREFIXED_STYLES = f"""<?xml version="1.0" encoding="UTF-8"?>
<x:styleSheet xmlns:x="{MAIN}">
<x:numFmts count="3"><x:numFmt numFmtId="164" formatCode="dd/mm/yyyy"/>
<x:numFmt numFmtId="165" formatCode="0.0 &quot;days&quot;"/><x:numFmt numFmtId="166" formatCode="[h]:mm"/></x:numFmts>
<x:fonts count="1"><x:font/></x:fonts>
<x:fills count="2"><x:fill><x:patternFill patternType="none"/></x:fill><x:fill><x:patternFill patternType="gray125"/></x:fill></x:fills>
<x:borders count="1"><x:border/></x:borders>
<x:cellXfs count="5"><x:xf numFmtId="0"/><x:xf numFmtId="164"/><x:xf numFmtId="165"/><x:xf numFmtId="14"/><x:xf numFmtId="166"/></x:cellXfs>
</x:styleSheet>"""

# Rows 1 and 4 and most cells carry no reference: they follow the one before.
PREFIXED_DATA = f"""<?xml version="1.0" encoding="UTF-8"?>
<x:worksheet xmlns:x="{MAIN}"><x:dimension ref="A1:B2"/><x:sheetData>
<x:row><x:c t="s"><x:v>0</x:v></x:c><x:c t="s"><x:v>1</x:v></x:c><x:c r="D1" t="s"><x:v>2</x:v></x:c></x:row>
<x:row r="3"><x:c r="A3" s="1"><x:v>1</x:v></x:c><x:c s="2"><x:v>5</x:v></x:c><x:c t="inlineStr"><x:is><x:t>inline</x:t></x:is></x:c><x:c t="str"><x:f>"from"&amp;" formula"</x:f><x:v>from formula</x:v></x:c><x:c t="d"><x:v>2024-02-29T13:45:00</x:v></x:c><x:c s="3"><x:v>45000.5</x:v></x:c></x:row>
<x:row><x:c t="b"><x:v>1</x:v></x:c><x:c t="e"><x:v>#REF!</x:v></x:c><x:c s="4"><x:v>1.5</x:v></x:c><x:c r="Z4" t="s"><x:v>3</x:v></x:c></x:row>
</x:sheetData></x:worksheet>"""

PREFIXED_FIRST = f"""<?xml version="1.0" encoding="UTF-8"?>
<x:worksheet xmlns:x="{MAIN}"><x:sheetData><x:row r="1"><x:c r="A1" t="inlineStr"><x:is><x:t>wrong sheet</x:t></x:is></x:c></x:row></x:sheetData></x:worksheet>"""


def prefixed(path):
    """Elements under an "x:" prefix, absolute and relative targets, the
    second sheet active, the 1904 date system."""
    workbook = (
        f'<?xml version="1.0" encoding="UTF-8"?><x:workbook xmlns:x="{MAIN}" xmlns:r="{REL}">'
        '<x:workbookPr date1904="1"/><x:bookViews><x:workbookView activeTab="1"/></x:bookViews>'
        '<x:sheets><x:sheet name="First" sheetId="1" r:id="rId1"/>'
        '<x:sheet name="Data" sheetId="2" r:id="rId2"/></x:sheets></x:workbook>'
    )
    pack(path, {
        "[Content_Types].xml": content_types([
            ("xl/workbook.xml", BOOK_CT),
            ("xl/worksheets/first.xml", SHEET_CT),
            ("xl/worksheets/data.xml", SHEET_CT),
        ]),
        "_rels/.rels": relationships([("rId1", "officeDocument", "/xl/workbook.xml")]),
        "xl/workbook.xml": workbook,
        "xl/_rels/workbook.xml.rels": relationships([
            ("rId1", "worksheet", "worksheets/first.xml"),
            ("rId2", "worksheet", "/xl/worksheets/data.xml"),
            ("rId3", "sharedStrings", "../xl/strings.xml"),
            ("rId4", "styles", "styles.xml"),
        ]),
        "xl/strings.xml": PREFIXED_STRINGS,
        "xl/styles.xml": PREFIXED_STYLES,
        "xl/worksheets/first.xml": PREFIXED_FIRST,
        "xl/worksheets/data.xml": PREFIXED_DATA,
    })


def one_sheet(path, sheet, main=MAIN, rel=REL, kind="worksheet", part="worksheets/sheet1.xml"):
    """A package of a workbook part and its one sheet."""
    pack(path, {
        "[Content_Types].xml": content_types([("xl/workbook.xml", BOOK_CT), ("xl/" + part, SHEET_CT)]),
        "_rels/.rels": relationships([("rId1", "officeDocument", "xl/workbook.xml")], rel),
        "xl/workbook.xml": f'<workbook xmlns="{main}" xmlns:r="{rel}"><sheets>'
        '<sheet name="S" sheetId="1" r:id="rId1"/></sheets></workbook>',
        "xl/_rels/workbook.xml.rels": relationships([("rId1", kind, part)], rel),
        "xl/" + part: sheet,
    })


def strict(path):
    """The strict namespaces, and no styles part at all."""
    main = "http://purl.oclc.org/ooxml/spreadsheetml/main"
    one_sheet(path, f'<worksheet xmlns="{main}"><sheetData>'
              '<row r="1"><c r="A1"><v>42</v></c><c r="B1" t="inlineStr"><is><t>strict</t></is></c></row>'
              '<row r="2"><c r="A2"><v>1</v></c></row></sheetData></worksheet>',
              main, "http://purl.oclc.org/ooxml/officeDocument/relationships")


def nostyles(path):
    """A minimal workbook without a styles part, as some generators write."""
    one_sheet(path, f'<worksheet xmlns="{MAIN}"><sheetData>'
              '<row r="1"><c r="A1" t="inlineStr"><is><t>Head</t></is></c></row>'
              '<row r="2"><c r="A2"><v>1</v></c><c r="B2"><v>2</v></c></row></sheetData></worksheet>')


def chartsheet(path):
    """A workbook whose only sheet is a chart sheet."""
    one_sheet(path, f'<chartsheet xmlns="{MAIN}"/>', kind="chartsheet", part="chartsheets/sheet1.xml")


CALC_SHEET = f"""<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<worksheet xmlns="{MAIN}"><dimension ref="A1:F3"/><sheetData>
<row r="1" spans="1:5"><c r="A1"><v>2</v></c><c r="B1"><f>A1*2</f><v>4</v></c><c r="C1"><f t="shared" ref="C1:C3" si="0">A1+$A$1</f><v>4</v></c><c r="D1"><f t="array" ref="D1:D2">A1:A2*2</f><v>4</v></c><c r="F1" t="inlineStr"><is><t>a&#13;b</t></is></c></row>
<row r="2" spans="1:5"><c r="A2"><v>3</v></c><c r="C2"><f t="shared" si="0"/><v>5</v></c><c r="D2"><v>6</v></c></row>
<row r="3" spans="1:5"><c r="A3"><v>4</v></c><c r="C3"><f t="shared" si="0"/><v>6</v></c></row>
</sheetData></worksheet>"""

CALC_OTHER = f"""<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<worksheet xmlns="{MAIN}"><sheetData><row r="1"><c r="A1"><f>SUM(Data!A1:A3)</f><v>9</v></c></row></sheetData></worksheet>"""


def calc(path):
    """Stored formula results, a shared formula, an array formula, a
    calculation chain, a defined name and a second sheet."""
    workbook = (
        f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?><workbook xmlns="{MAIN}" xmlns:r="{REL}">'
        '<sheets><sheet name="Data" sheetId="1" r:id="rId1"/><sheet name="Other" sheetId="2" r:id="rId2"/></sheets>'
        '<definedNames><definedName name="Base">Data!$A$1</definedName></definedNames>'
        '<calcPr calcId="191029"/></workbook>'
    )
    chain = (
        f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?><calcChain xmlns="{MAIN}">'
        '<c r="B1" i="1"/><c r="C1"/><c r="C2"/><c r="C3"/><c r="D1" a="1"/><c r="A1" i="2"/></calcChain>'
    )
    pack(path, {
        "[Content_Types].xml": content_types([
            ("xl/workbook.xml", BOOK_CT),
            ("xl/worksheets/sheet1.xml", SHEET_CT),
            ("xl/worksheets/sheet2.xml", SHEET_CT),
            ("xl/calcChain.xml",
             "application/vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml"),
        ]),
        "_rels/.rels": relationships([("rId1", "officeDocument", "xl/workbook.xml")]),
        "xl/workbook.xml": workbook,
        "xl/_rels/workbook.xml.rels": relationships([
            ("rId1", "worksheet", "worksheets/sheet1.xml"),
            ("rId2", "worksheet", "worksheets/sheet2.xml"),
            ("rId3", "calcChain", "calcChain.xml"),
        ]),
        "xl/worksheets/sheet1.xml": CALC_SHEET,
        "xl/worksheets/sheet2.xml": CALC_OTHER,
        "xl/calcChain.xml": chain,
    })


def compound(path, streams):
    """A compound file (512-byte sectors) whose directory lists streams."""
    end, free, fat_sector = 0xFFFFFFFE, 0xFFFFFFFF, 0xFFFFFFFD
    header = bytearray(512)
    header[0:8] = bytes.fromhex("D0CF11E0A1B11AE1")
    struct.pack_into("<HHHHH", header, 0x18, 0x3E, 3, 0xFFFE, 9, 6)
    struct.pack_into("<IIIIIIIII", header, 0x2C, 1, 1, 0, 4096, end, 0, end, 0, 0)
    struct.pack_into("<I", header, 0x4C, 0)
    for i in range(1, 109):
        struct.pack_into("<I", header, 0x4C + 4 * i, free)
    fat = struct.pack("<II", fat_sector, end) + b"\xff" * (512 - 8)
    directory = bytearray()
    names = [("Root Entry", 5)] + [(name, 2) for name in streams]
    for index, (name, kind) in enumerate(names):
        entry = bytearray(128)
        encoded = name.encode("utf-16-le")
        entry[0:len(encoded)] = encoded
        struct.pack_into("<HBB", entry, 0x40, len(encoded) + 2, kind, 1)
        right = index + 1 if 0 < index < len(names) - 1 else free
        child = 1 if index == 0 and len(names) > 1 else free
        struct.pack_into("<III", entry, 0x44, free, right, child)
        struct.pack_into("<I", entry, 0x74, end)
        directory += entry
    directory += bytes(512 - len(directory))
    with open(path, "wb") as out:
        out.write(bytes(header) + fat + bytes(directory))


def encrypted(path):
    compound(path, ["EncryptionInfo", "EncryptedPackage"])


def oldformat(path):
    compound(path, ["Workbook"])


def badsheet(path):
    """A package whose active sheet is not well-formed XML."""
    types(path)
    with zipfile.ZipFile(path) as archive:
        parts = {name: archive.read(name) for name in archive.namelist()}
    parts["xl/worksheets/sheet1.xml"] = parts["xl/worksheets/sheet1.xml"][:-40]
    pack(path, parts)


def plainzip(path):
    """A zip archive that is no workbook (no relationships at all)."""
    pack(path, {"readme.txt": "just a zip"})


def deepnest(path):
    """A cell whose inline string nests 200,000 elements deep."""
    depth = 200000
    one_sheet(path, f'<worksheet xmlns="{MAIN}"><sheetData>'
              '<row r="1"><c r="A1" t="inlineStr"><is><t>Head</t></is></c></row>'
              '<row r="2"><c r="A2" t="inlineStr"><is>' + "<r>" * depth + "</r>" * depth +
              '</is></c></row></sheetData></worksheet>')


def duplicatecells(path):
    """Row 2 holds two cells for column A, as some generators write."""
    one_sheet(path, f'<worksheet xmlns="{MAIN}"><sheetData>'
              '<row r="1"><c r="A1" t="inlineStr"><is><t>Head</t></is></c></row>'
              '<row r="2"><c r="A2" t="inlineStr"><is><t>first</t></is></c>'
              '<c r="A2" t="inlineStr"><is><t>second</t></is></c><c r="B2"><v>2</v></c></row>'
              '</sheetData></worksheet>')


def wrongparts(path, sheet_target, styles_target):
    """Relationships naming the wrong parts for the sheet or the formats."""
    sheet = (f'<worksheet xmlns="{MAIN}"><sheetData><row r="1"><c r="A1"><v>1</v></c></row>'
             '</sheetData></worksheet>')
    pack(path, {
        "[Content_Types].xml": content_types([
            ("xl/workbook.xml", BOOK_CT), ("xl/worksheets/sheet1.xml", SHEET_CT)]),
        "_rels/.rels": relationships([("rId1", "officeDocument", "xl/workbook.xml")]),
        "xl/workbook.xml": f'<workbook xmlns="{MAIN}" xmlns:r="{REL}"><sheets>'
        '<sheet name="S" sheetId="1" r:id="rId1"/></sheets></workbook>',
        "xl/_rels/workbook.xml.rels": relationships([
            ("rId1", "worksheet", sheet_target), ("rId2", "styles", styles_target)]),
        "xl/styles.xml": PREFIXED_STYLES,
        "xl/worksheets/sheet1.xml": sheet,
    })


def bomb(path):
    """A sheet of 80 MB packed into a few hundred kilobytes."""
    rows = '<row r="2"><c r="A2"><v>1</v></c></row>' * (80 * 1024 * 1024 // 38)
    one_sheet(path, f'<worksheet xmlns="{MAIN}"><sheetData>{rows}</sheetData></worksheet>')


CASES = {
    "types": types, "people": people, "prefixed": prefixed, "strict": strict,
    "nostyles": nostyles, "calc": calc, "encrypted": encrypted, "oldformat": oldformat,
    "badsheet": badsheet, "chartsheet": chartsheet, "plainzip": plainzip,
    "deepnest": deepnest, "duplicatecells": duplicatecells, "bomb": bomb,
    "sheetisstyles": lambda path: wrongparts(path, "styles.xml", "styles.xml"),
    "sheetisworkbook": lambda path: wrongparts(path, "workbook.xml", "styles.xml"),
    "stylesissheet": lambda path: wrongparts(path, "worksheets/sheet1.xml", "worksheets/sheet1.xml"),
}

if __name__ == "__main__":
    CASES[sys.argv[1]](sys.argv[2])
