#!/usr/bin/env bash
# Regenerates the demo data folder's TapwiseData.dtk with tapwise-store, so
# that the file is made by the store itself. Needs a build (./scripts/start.sh
# or cmake); pass another tapwise-store as $TAPWISE_STORE.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tool=${TAPWISE_STORE:-$root/build/tools/tapwise-store}
demo=$root/demo

# Appends a Key sequence: each input line is "Keys WaitTime", split at its
# last space as the editor splits its rows.
add() {
    sed 's/ \([0-9]*\)$/\t\1/' | "$tool" add "$demo" "$1" >/dev/null
}

rm -f "$demo/TapwiseData.dtk"
"$tool" init "$demo" >/dev/null

add $'Address form\r\nTypes a postal address into the fields of a web form' <<'LINES'
#**click into the first field before running 0
:Mario Rossi 10
{TAB} 5
:Via Roma 12 10
{TAB} 5
:20121 10
{TAB} 5
:Milano 10
{TAB} 5
:Italia 10
{ENTER} 50
LINES

add $'Save and close\r\nSaves the document and closes its window' <<'LINES'
Ctrl+s 100
Alt+{F4} 50
LINES

add $'Five new rows\r\nAdds five rows to a table, then waits to be checked' <<'LINES'
*Label(1)* 0
Ctrl+{ENTER} 20
{DOWN} 10
*If(Counter;<;5;1)* 0
*Pause*check the five new rows 0
LINES

add $'Customer orders\r\nOne order per worksheet row; an order may span a row group' <<'LINES'
*Chk(0;0;5;Orders)* 0
ExcelSheetCol#A 10
{TAB} 5
ExcelSheetCol#B 10
*ChkExcelSheetCol* 0
{TAB} 5
*BeginExcelLoop* 0
ExcelSheetCol#C 10
{TAB} 5
ExcelSheetCol#D 10
{ENTER} 20
*EndExcelLoop* 0
Ctrl+s 100
LINES

add $'Confirm dialog\r\nClicks the OK button of a dialog at a fixed place' <<'LINES'
[PosMouse(640;480)] 10
[LeftClick] 50
#[DblClick] 20
*If(WinTit;Cn;Error;9)* 0
{ENTER} 10
*Label(9)* 0
LINES

"$tool" check "$demo"
