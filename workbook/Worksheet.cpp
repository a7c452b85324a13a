#include "workbook/Worksheet.h"

#include "workbook/CellReference.h"
#include "workbook/DocumentStream.h"
#include "workbook/FormulaShift.h"
#include "workbook/StringItem.h"
#include "workbook/XmlNames.h"

#include <algorithm>
#include <tuple>

namespace tapwise {

namespace {

bool byNumber(const auto& a, const auto& b) {
    return a.number < b.number;
}

bool byColumn(const Worksheet::Cell& a, const Worksheet::Cell& b) {
    return a.column < b.column;
}

void insertBeforeExtensions(pugi::xml_node parent, pugi::xml_node& child, const char* name) {
    const pugi::xml_node extensions = firstChild(parent, "extLst");
    child = extensions ? parent.insert_child_before(name, extensions) : parent.append_child(name);
}

std::string rangeText(int top, int left, int bottom, int right) {
    const std::string first = cellName(top, left);
    return top == bottom && left == right ? first : first + ':' + cellName(bottom, right);
}

} // namespace

std::unique_ptr<PartContent> Worksheet::content() const {
    return std::make_unique<DocumentStream>(sheetData_);
}

bool Worksheet::Range::contains(int row, int column) const {
    return row >= top && row <= bottom && column >= left && column <= right;
}

std::optional<Worksheet::Range> Worksheet::Range::parse(std::string_view reference) {
    const size_t colon = reference.find(':');
    const CellReference first = CellReference::parse(reference.substr(0, colon));
    const CellReference last =
        colon == std::string_view::npos ? first : CellReference::parse(reference.substr(colon + 1));
    if (!first.row || !first.column || !last.row || !last.column) {
        return std::nullopt;
    }
    return Range{std::min(first.row, last.row), std::min(first.column, last.column),
                 std::max(first.row, last.row), std::max(first.column, last.column)};
}

Worksheet::Worksheet(std::unique_ptr<XmlPart> part) : part_(std::move(part)) {
    indexRows();
}

void Worksheet::indexRows() {
    const pugi::xml_node root = part_->root();
    sheetData_ = firstChild(root, "sheetData");
    if (!sheetData_) {
        sheetData_ = ensureChild(
            root, "sheetData",
            {"sheetPr", "dimension", "sheetViews", "sheetFormatPr", "cols", "sheetData"});
    }
    int previous = 0;
    for (pugi::xml_node node = firstChild(sheetData_, "row"); node;
         node = nextSibling(node, "row")) {
        Row row = indexRow(node, previous);
        if (row.number > 0) {
            previous = row.number;
            rows_.push_back(std::move(row));
        }
    }
    if (!std::is_sorted(rows_.begin(), rows_.end(), byNumber<Row, Row>)) {
        std::stable_sort(rows_.begin(), rows_.end(), byNumber<Row, Row>);
    }
}

Worksheet::Row Worksheet::indexRow(pugi::xml_node node, int previousNumber) {
    Row row{node.attribute("r").as_int(0), node, {}};
    rowsUnnumbered_ = rowsUnnumbered_ || !node.attribute("r");
    int previousColumn = 0;
    for (pugi::xml_node cell = firstChild(node, "c"); cell; cell = nextSibling(cell, "c")) {
        const CellReference reference = CellReference::parse(cell.attribute("r").value());
        const int column = reference.column ? reference.column : previousColumn + 1;
        if (row.number <= 0 && row.cells.empty() && reference.row > previousNumber) {
            row.number = reference.row; // a row without its number, cells with theirs
        }
        if (column > MaxSheetColumns) {
            break;
        }
        previousColumn = column;
        row.cells.push_back({column, cell});
        const pugi::xml_node formula = cell.first_child();
        const std::string_view kind = formula.attribute("t").value();
        if (hasLocalName(formula, "f") && (kind == "array" || kind == "dataTable")) {
            const auto range = Range::parse(formula.attribute("ref").value());
            if (range && (range->top != range->bottom || range->left != range->right)) {
                arrays_.push_back(*range);
            }
        }
    }
    if (row.number <= 0) {
        row.number = previousNumber + 1;
    }
    if (row.number > MaxSheetRows) {
        row.number = 0;
    }
    if (!std::is_sorted(row.cells.begin(), row.cells.end(), byColumn)) {
        std::stable_sort(row.cells.begin(), row.cells.end(), byColumn);
    }
    return row;
}

const Worksheet::Row* Worksheet::findRow(int number) const {
    const auto place = std::lower_bound(rows_.begin(), rows_.end(), number,
                                        [](const Row& row, int n) { return row.number < n; });
    return place != rows_.end() && place->number == number ? &*place : nullptr;
}

pugi::xml_node Worksheet::cell(int row, int column) const {
    const Row* found = findRow(row);
    if (!found) {
        return {};
    }
    const auto place = std::lower_bound(found->cells.begin(), found->cells.end(), column,
                                        [](const Cell& cell, int c) { return cell.column < c; });
    return place != found->cells.end() && place->column == column ? place->node : pugi::xml_node();
}

const std::vector<Worksheet::Cell>& Worksheet::cellsOfRow(int row) const {
    const Row* found = findRow(row);
    return found ? found->cells : noCells_;
}

std::optional<int> Worksheet::rowStyle(int row) const {
    const Row* found = findRow(row);
    if (!found || !found->node.attribute("customFormat").as_bool() || !found->node.attribute("s")) {
        return std::nullopt;
    }
    return found->node.attribute("s").as_int(0);
}

bool Worksheet::isInsideArray(int row, int column) const {
    return std::any_of(arrays_.begin(), arrays_.end(),
                       [&](const Range& range) { return range.contains(row, column); });
}

void Worksheet::numberAllRows() {
    for (const Row& row : rows_) {
        setAttribute(row.node, "r", std::to_string(row.number));
    }
    rowsUnnumbered_ = false;
}

// New rows and cells carry their reference; the rows and cells that follow
// them get theirs first, so that none is counted from the wrong neighbour.
Worksheet::Row& Worksheet::ensureRow(int number) {
    auto place = std::lower_bound(rows_.begin(), rows_.end(), number,
                                  [](const Row& row, int n) { return row.number < n; });
    if (place != rows_.end() && place->number == number) {
        return *place;
    }
    if (rowsUnnumbered_) {
        numberAllRows();
    }
    const std::string name = nameInScope(sheetData_, "row");
    pugi::xml_node node = place != rows_.end()
                              ? sheetData_.insert_child_before(name.c_str(), place->node)
                              : sheetData_.append_child(name.c_str());
    node.append_attribute("r").set_value(number);
    changed_ = true;
    return *rows_.insert(place, Row{number, node, {}});
}

pugi::xml_node Worksheet::ensureCell(int row, int column) {
    Row& entry = ensureRow(row);
    auto place = std::lower_bound(entry.cells.begin(), entry.cells.end(), column,
                                  [](const Cell& cell, int c) { return cell.column < c; });
    if (place != entry.cells.end() && place->column == column) {
        return place->node;
    }
    for (const Cell& cell : entry.cells) {
        setAttribute(cell.node, "r", cellName(row, cell.column));
    }
    const std::string name = nameInScope(entry.node, "c");
    pugi::xml_node node;
    if (place != entry.cells.end()) {
        node = entry.node.insert_child_before(name.c_str(), place->node);
    } else {
        insertBeforeExtensions(entry.node, node, name.c_str());
    }
    node.append_attribute("r").set_value(cellName(row, column).c_str());
    entry.node.remove_attribute("spans"); // a hint that no longer holds
    entry.cells.insert(place, Cell{column, node});
    extendDimension(row, column);
    changed_ = true;
    return node;
}

void Worksheet::extendDimension(int row, int column) {
    pugi::xml_attribute reference = firstChild(part_->root(), "dimension").attribute("ref");
    const auto range = Range::parse(reference.value());
    if (!range || range->contains(row, column)) {
        return;
    }
    reference.set_value(rangeText(std::min(range->top, row), std::min(range->left, column),
                                  std::max(range->bottom, row), std::max(range->right, column))
                            .c_str());
}

bool Worksheet::setText(int row, int column, const QString& text) {
    pugi::xml_node node = ensureCell(row, column);
    const pugi::xml_node formula = firstChild(node, "f");
    if (formula) {
        handOverSharedFormula(row, column, formula);
        node.remove_child(formula);
    }
    for (const char* value : {"v", "is"}) {
        while (pugi::xml_node old = firstChild(node, value)) {
            node.remove_child(old);
        }
    }
    for (const char* attribute : {"t", "cm", "vm"}) {
        node.remove_attribute(attribute);
    }
    if (!text.isEmpty()) {
        node.append_attribute("t").set_value("inlineStr");
        pugi::xml_node item;
        insertBeforeExtensions(node, item, nameInScope(node, "is").c_str());
        writeStringItem(item, text);
    }
    changed_ = true;
    return bool(formula);
}

// The cell that holds the text of a shared formula is being overwritten: the
// next cell of its group takes the text over, as it reads from there.
void Worksheet::handOverSharedFormula(int row, int column, pugi::xml_node formula) {
    const auto range = Range::parse(formula.attribute("ref").value());
    const std::string_view group = formula.attribute("si").value();
    if (std::string_view(formula.attribute("t").value()) != "shared" || !range ||
        !*formula.text().get()) {
        return;
    }
    std::vector<std::tuple<int, int, pugi::xml_node>> members;
    auto entry = std::lower_bound(rows_.begin(), rows_.end(), range->top,
                                  [](const Row& r, int n) { return r.number < n; });
    for (; entry != rows_.end() && entry->number <= range->bottom; ++entry) {
        for (const Cell& cell : entry->cells) {
            const pugi::xml_node other = firstChild(cell.node, "f");
            if (range->contains(entry->number, cell.column) && cell.node != formula.parent() &&
                std::string_view(other.attribute("t").value()) == "shared" &&
                group == other.attribute("si").value()) {
                members.emplace_back(entry->number, cell.column, other);
            }
        }
    }
    if (members.empty()) {
        return;
    }
    const auto [firstRow, firstColumn, heir] = members.front();
    Range covered{firstRow, firstColumn, firstRow, firstColumn};
    for (const auto& [r, c, node] : members) {
        covered = {std::min(covered.top, r), std::min(covered.left, c), std::max(covered.bottom, r),
                   std::max(covered.right, c)};
    }
    heir.text().set(
        shiftFormula(formula.text().get(), firstRow - row, firstColumn - column).c_str());
    setAttribute(heir, "ref", rangeText(covered.top, covered.left, covered.bottom, covered.right));
}

void Worksheet::setCellStyle(pugi::xml_node node, int style) {
    if (node && node.attribute("s").as_int(0) != style) {
        setAttribute(node, "s", std::to_string(style));
        changed_ = true;
    }
}

void Worksheet::setRowStyle(int row, int style) {
    if (rowStyle(row) == style) {
        return;
    }
    const pugi::xml_node node = ensureRow(row).node;
    setAttribute(node, "s", std::to_string(style));
    setAttribute(node, "customFormat", "1");
    changed_ = true;
}

} // namespace tapwise
