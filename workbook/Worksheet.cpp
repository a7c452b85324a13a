#include "workbook/Worksheet.h"

#include "workbook/CellReference.h"
#include "workbook/DocumentStream.h"
#include "workbook/FormulaShift.h"
#include "workbook/SheetLayout.h"
#include "workbook/StringItem.h"
#include "workbook/WorkbookTexts.h"
#include "workbook/XmlNames.h"

#include <algorithm>
#include <tuple>

namespace tapwise {

namespace {

// Rows are checked at open a batch of about this much text at a time, and
// written in batches of about this size.
constexpr size_t BatchSize = 256 * 1024;
// The rows are parsed inside a stand-in for the sheetData element, which
// stands one level below the part's root.
constexpr std::string_view BatchOpen = "<sheetData>";
constexpr std::string_view BatchClose = "</sheetData>";
constexpr int LevelsAboveSheetData = 1;

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

Error badXml(const std::string& partName, pugi::xml_parse_status status, uint64_t offset,
             const QString& lang) {
    pugi::xml_parse_result result;
    result.status = status;
    return workbookError(WorkbookMessage::BadXml, lang,
                         {QString::fromStdString(partName), QString::fromUtf8(result.description()),
                          QString::number(offset)});
}

} // namespace

// The rows in the order they are written: each row this program added
// before the row read from the text that follows it.
class Worksheet::Body : public DocumentStream::Body {
public:
    explicit Body(const Worksheet& sheet) : sheet_(sheet) {}

    uint64_t size() override {
        uint64_t total = sheet_.trailingGap_.size();
        for (SegmentId id = 0; id < sheet_.segments_.size(); ++id) {
            const auto replaced = sheet_.replaced_.find(id);
            const Segment& segment = sheet_.segments_[id];
            total += replaced != sheet_.replaced_.end() ? replaced->second.size()
                                                        : segment.end - segment.gapBegin;
        }
        return total;
    }
    void rewind() override { next_ = 0; }
    bool next(std::string& out) override {
        if (next_ > sheet_.originalSegments_ + 1) {
            return false;
        }
        for (; next_ <= sheet_.originalSegments_ && out.size() < BatchSize; ++next_) {
            if (const auto added = sheet_.added_.find(next_); added != sheet_.added_.end()) {
                for (const Row& row : added->second) {
                    sheet_.appendSegment(out, row.segment);
                }
            }
            if (next_ < sheet_.originalSegments_) {
                sheet_.appendSegment(out, next_);
            }
        }
        if (next_ == sheet_.originalSegments_ + 1) {
            out += sheet_.trailingGap_;
            ++next_;
        }
        return true;
    }

private:
    const Worksheet& sheet_;
    SegmentId next_ = 0;
};

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

Worksheet::Worksheet(SheetText text) : text_(std::move(text)) {}

Result<std::unique_ptr<Worksheet>> Worksheet::load(SheetText text, const std::string& partName,
                                                   const QString& lang) {
    std::unique_ptr<Worksheet> sheet(new Worksheet(std::move(text)));
    SheetText& all = sheet->text_;
    SheetLayout layout = SheetLayout::scan(all);
    if (layout.brokenAt) {
        // Described without parsing the whole text, which could take ten
        // times its size.
        return badXml(partName,
                      *layout.brokenAt >= all.size() ? pugi::status_end_element_mismatch
                                                     : pugi::status_bad_start_element,
                      *layout.brokenAt, lang);
    }
    if (!layout.found) {
        layout.contentBegin = layout.contentEnd = all.size(); // all of it parsed below
    }
    std::string outside = all.copy(0, layout.contentBegin);
    all.appendTo(outside, layout.contentEnd, all.size());
    Result<std::unique_ptr<XmlPart>> part = XmlPart::parse(std::move(outside), partName, lang);
    if (!part) {
        return part.error();
    }
    sheet->part_ = std::move(part).value();
    sheet->segments_.reserve(layout.segments.size());
    for (const SheetLayout::Segment& segment : layout.segments) {
        sheet->segments_.push_back({segment.gapBegin, segment.begin, segment.end});
    }
    sheet->originalSegments_ = SegmentId(sheet->segments_.size());
    const uint64_t lastEnd =
        layout.segments.empty() ? layout.contentBegin : layout.segments.back().end;
    sheet->trailingGap_ = all.copy(lastEnd, layout.contentEnd);
    all.release(0, layout.contentBegin);
    all.release(lastEnd, all.size());
    if (Status indexed = sheet->indexRows(partName, lang); !indexed) {
        return indexed.error();
    }
    return sheet;
}

// Every row is parsed once, a batch at a time, to check it and to learn its
// number; only the numbers and the places are kept.
Status Worksheet::indexRows(const std::string& partName, const QString& lang) {
    const pugi::xml_node root = part_->root();
    sheetData_ = firstChild(root, "sheetData");
    if (!sheetData_) {
        // Before everything that follows it in a worksheet: a sheetData
        // after, say, the page margins makes spreadsheet programs call the
        // file damaged.
        sheetData_ = ensureChild(root, "sheetData",
                                 {"sheetPr",
                                  "dimension",
                                  "sheetViews",
                                  "sheetFormatPr",
                                  "cols",
                                  "sheetData",
                                  "sheetCalcPr",
                                  "sheetProtection",
                                  "protectedRanges",
                                  "scenarios",
                                  "autoFilter",
                                  "sortState",
                                  "dataConsolidate",
                                  "customSheetViews",
                                  "mergeCells",
                                  "phoneticPr",
                                  "conditionalFormatting",
                                  "dataValidations",
                                  "hyperlinks",
                                  "printOptions",
                                  "pageMargins",
                                  "pageSetup",
                                  "headerFooter",
                                  "rowBreaks",
                                  "colBreaks",
                                  "customProperties",
                                  "cellWatches",
                                  "ignoredErrors",
                                  "smartTags",
                                  "drawing",
                                  "legacyDrawing",
                                  "legacyDrawingHF",
                                  "drawingHF",
                                  "picture",
                                  "oleObjects",
                                  "controls",
                                  "webPublishItems",
                                  "tableParts",
                                  "extLst"});
    }
    // Rows the scan could not place would be lost on save: never expected
    // where the parser accepts the text, but refused rather than dropped.
    if (sheetData_.first_child() || *sheetData_.value()) {
        return badXml(partName, pugi::status_end_element_mismatch, 0, lang);
    }
    pugi::xml_document batch;
    std::string buffer;
    int previous = 0;
    for (SegmentId first = 0; first < originalSegments_ || first == 0;) {
        SegmentId last = first;
        buffer.assign(BatchOpen);
        for (; last < originalSegments_ && buffer.size() < BatchSize; ++last) {
            text_.appendTo(buffer, segments_[last].gapBegin, segments_[last].end);
        }
        if (last == originalSegments_) {
            buffer += trailingGap_;
        }
        buffer += BatchClose;
        const uint64_t start = first < originalSegments_ ? segments_[first].gapBegin : 0;
        const pugi::xml_parse_result parsed = batch.load_buffer_inplace(
            buffer.data(), buffer.size(), XmlPart::ParseFlags, pugi::encoding_utf8);
        if (!parsed) {
            const uint64_t offset =
                start +
                uint64_t(std::max<ptrdiff_t>(0, parsed.offset - ptrdiff_t(BatchOpen.size())));
            return badXml(partName, parsed.status, offset, lang);
        }
        const pugi::xml_node rows = batch.document_element();
        if (Status nesting = XmlPart::checkNesting(rows, LevelsAboveSheetData, partName, lang);
            !nesting) {
            return nesting;
        }
        if (Status read = indexBatch(rows, first, last, previous); !read) {
            return badXml(partName, pugi::status_end_element_mismatch, start, lang);
        }
        first = last > first ? last : originalSegments_ + 1;
    }
    if (!std::is_sorted(rows_.begin(), rows_.end(), byNumber<Row, Row>)) {
        std::stable_sort(rows_.begin(), rows_.end(), byNumber<Row, Row>);
    }
    return {};
}

// The elements of the batch are the segments from first to last.
Status Worksheet::indexBatch(pugi::xml_node batch, SegmentId first, SegmentId last, int& previous) {
    std::vector<Cell> cells;
    SegmentId segment = first;
    for (pugi::xml_node node = batch.first_child(); node; node = node.next_sibling()) {
        if (node.type() != pugi::node_element) {
            continue;
        }
        if (segment >= last) {
            return Error{};
        }
        if (hasLocalName(node, "row")) {
            const int number = readRow(node, previous, cells, &arrays_);
            if (number > 0) {
                previous = number;
                rows_.push_back({number, segment});
                if (!node.attribute("r")) {
                    unnumbered_.push_back({number, segment});
                }
            }
        }
        ++segment;
    }
    return segment == last ? Status() : Status(Error{});
}

// The row's number and its cells by column; cells past the last column are
// left out.
int Worksheet::readRow(pugi::xml_node node, int previousNumber, std::vector<Cell>& cells,
                       std::vector<Range>* arrays) {
    int number = node.attribute("r").as_int(0);
    cells.clear();
    int previousColumn = 0;
    for (pugi::xml_node cell = firstChild(node, "c"); cell; cell = nextSibling(cell, "c")) {
        const CellReference reference = CellReference::parse(cell.attribute("r").value());
        const int column = reference.column ? reference.column : previousColumn + 1;
        if (number <= 0 && cells.empty() && reference.row > previousNumber) {
            number = reference.row; // a row without its number, cells with theirs
        }
        if (column > MaxSheetColumns) {
            break;
        }
        previousColumn = column;
        cells.push_back({column, cell});
        const pugi::xml_node formula = cell.first_child();
        const std::string_view kind = formula.attribute("t").value();
        if (arrays && hasLocalName(formula, "f") && (kind == "array" || kind == "dataTable")) {
            const auto range = Range::parse(formula.attribute("ref").value());
            if (range && (range->top != range->bottom || range->left != range->right)) {
                arrays->push_back(*range);
            }
        }
    }
    if (number <= 0) {
        number = previousNumber + 1;
    }
    if (number > MaxSheetRows) {
        number = 0;
    }
    if (!std::is_sorted(cells.begin(), cells.end(), byColumn)) {
        std::stable_sort(cells.begin(), cells.end(), byColumn);
    }
    return number;
}

uint64_t Worksheet::gapLength(SegmentId segment) const {
    return segments_[segment].begin - segments_[segment].gapBegin;
}

// The row element's text, without the text before it.
std::string Worksheet::rowText(SegmentId segment) const {
    if (const auto replaced = replaced_.find(segment); replaced != replaced_.end()) {
        return replaced->second.substr(gapLength(segment));
    }
    return text_.copy(segments_[segment].begin, segments_[segment].end);
}

void Worksheet::appendSegment(std::string& out, SegmentId segment) const {
    if (const auto replaced = replaced_.find(segment); replaced != replaced_.end()) {
        out += replaced->second;
    } else {
        text_.appendTo(out, segments_[segment].gapBegin, segments_[segment].end);
    }
}

// The least recently used parsed row makes room, its changes kept as text.
Worksheet::Parsed& Worksheet::parsed(SegmentId segment) const {
    Parsed* slot = &parsed_.front();
    for (Parsed& row : parsed_) {
        if (row.segment == segment) {
            row.used = ++clock_;
            return row;
        }
        slot = row.used < slot->used ? &row : slot;
    }
    putAway(*slot);
    const std::string text = rowText(segment);
    slot->document.load_buffer(text.data(), text.size(), XmlPart::ParseFlags, pugi::encoding_utf8);
    slot->segment = segment;
    slot->node = slot->document.document_element();
    slot->used = ++clock_;
    readRow(slot->node, 0, slot->cells, nullptr);
    return *slot;
}

Worksheet::Parsed* Worksheet::parsedOf(pugi::xml_node node) const {
    for (Parsed& row : parsed_) {
        if (row.segment != NoSegment && node.root() == row.document) {
            return &row;
        }
    }
    return nullptr;
}

// A changed row replaces its text, and the text it was read from is given
// up.
void Worksheet::putAway(Parsed& row) const {
    if (row.dirty) {
        const SegmentId segment = row.segment;
        std::string text;
        const auto replaced = replaced_.find(segment);
        if (replaced != replaced_.end()) {
            text = replaced->second.substr(0, gapLength(segment));
        } else {
            text_.appendTo(text, segments_[segment].gapBegin, segments_[segment].begin);
            text_.release(segments_[segment].gapBegin, segments_[segment].end);
        }
        printXml(row.node, text);
        replaced_[segment] = std::move(text);
        row.dirty = false;
    }
    row.segment = NoSegment;
    row.cells.clear();
    row.node = {};
    row.document.reset();
}

void Worksheet::flush() const {
    for (Parsed& row : parsed_) {
        if (row.dirty) {
            putAway(row);
        }
    }
}

std::unique_ptr<PartContent> Worksheet::content() const {
    flush();
    return std::make_unique<DocumentStream>(sheetData_, std::make_unique<Body>(*this));
}

void Worksheet::markChanged(pugi::xml_node node) {
    if (Parsed* row = parsedOf(node)) {
        row->dirty = true;
    }
    changed_ = true;
}

const Worksheet::Row* Worksheet::findRow(int number) const {
    const auto place = std::lower_bound(rows_.begin(), rows_.end(), number,
                                        [](const Row& row, int n) { return row.number < n; });
    return place != rows_.end() && place->number == number ? &*place : nullptr;
}

pugi::xml_node Worksheet::cell(int row, int column) {
    const std::vector<Cell>& cells = cellsOfRow(row);
    const auto place = std::lower_bound(cells.begin(), cells.end(), column,
                                        [](const Cell& cell, int c) { return cell.column < c; });
    return place != cells.end() && place->column == column ? place->node : pugi::xml_node();
}

const std::vector<Worksheet::Cell>& Worksheet::cellsOfRow(int row) {
    const Row* found = findRow(row);
    return found ? parsed(found->segment).cells : noCells_;
}

std::optional<int> Worksheet::rowStyle(int row) {
    const Row* found = findRow(row);
    if (!found) {
        return std::nullopt;
    }
    const pugi::xml_node node = parsed(found->segment).node;
    if (!node.attribute("customFormat").as_bool() || !node.attribute("s")) {
        return std::nullopt;
    }
    return node.attribute("s").as_int(0);
}

bool Worksheet::isInsideArray(int row, int column) const {
    return std::any_of(arrays_.begin(), arrays_.end(),
                       [&](const Range& range) { return range.contains(row, column); });
}

void Worksheet::numberAllRows() {
    for (const Row& row : unnumbered_) {
        Parsed& entry = parsed(row.segment);
        setAttribute(entry.node, "r", std::to_string(row.number));
        entry.dirty = true;
    }
    unnumbered_.clear();
}

// New rows and cells carry their reference; the rows and cells that follow
// them get theirs first, so that none is counted from the wrong neighbour.
Worksheet::Parsed& Worksheet::ensureRow(int number) {
    auto place = std::lower_bound(rows_.begin(), rows_.end(), number,
                                  [](const Row& row, int n) { return row.number < n; });
    if (place != rows_.end() && place->number == number) {
        return parsed(place->segment);
    }
    if (!unnumbered_.empty()) {
        const size_t index = size_t(place - rows_.begin());
        numberAllRows();
        place = rows_.begin() + ptrdiff_t(index);
    }
    SegmentId before = originalSegments_;
    if (place != rows_.end()) {
        const auto addedBefore = addedBefore_.find(place->segment);
        before = addedBefore != addedBefore_.end() ? addedBefore->second : place->segment;
    }
    const SegmentId segment = SegmentId(segments_.size());
    segments_.push_back({0, 0, 0});
    std::vector<Row>& neighbours = added_[before];
    neighbours.insert(
        std::upper_bound(neighbours.begin(), neighbours.end(), Row{number, 0}, byNumber<Row, Row>),
        Row{number, segment});
    addedBefore_[segment] = before;
    rows_.insert(place, Row{number, segment});

    const std::string name = nameInScope(sheetData_, "row");
    const std::string text = "<" + name + " r=\"" + std::to_string(number) + "\"/>";
    replaced_[segment] = text;
    Parsed& entry = parsed(segment);
    entry.dirty = true;
    changed_ = true;
    return entry;
}

pugi::xml_node Worksheet::ensureCell(int row, int column) {
    Parsed& entry = ensureRow(row);
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
    entry.dirty = true;
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
    markChanged(node);
    return bool(formula);
}

// The cell that holds the text of a shared formula is being overwritten: the
// next cell of its group takes the text over, as it reads from there. Other
// rows of the group are read without keeping them parsed, so that the
// written cell's row stays where it is.
void Worksheet::handOverSharedFormula(int row, int column, pugi::xml_node formula) {
    const auto range = Range::parse(formula.attribute("ref").value());
    const std::string group = formula.attribute("si").value();
    if (std::string_view(formula.attribute("t").value()) != "shared" || !range ||
        !*formula.text().get()) {
        return;
    }
    const auto isMember = [&](pugi::xml_node cell) {
        const pugi::xml_node other = firstChild(cell, "f");
        return cell != formula.parent() &&
               std::string_view(other.attribute("t").value()) == "shared" &&
               group == other.attribute("si").value();
    };
    std::vector<std::tuple<int, int, SegmentId>> members;
    pugi::xml_document scratch;
    std::vector<Cell> cells;
    auto entry = std::lower_bound(rows_.begin(), rows_.end(), range->top,
                                  [](const Row& r, int n) { return r.number < n; });
    for (; entry != rows_.end() && entry->number <= range->bottom; ++entry) {
        const Parsed* held = nullptr;
        for (const Parsed& candidate : parsed_) {
            held = candidate.segment == entry->segment ? &candidate : held;
        }
        if (held) {
            cells = held->cells;
        } else {
            const std::string text = rowText(entry->segment);
            if (text.find("shared") == std::string::npos) {
                continue;
            }
            scratch.load_buffer(text.data(), text.size(), XmlPart::ParseFlags, pugi::encoding_utf8);
            readRow(scratch.document_element(), 0, cells, nullptr);
        }
        for (const Cell& cell : cells) {
            if (range->contains(entry->number, cell.column) && isMember(cell.node)) {
                members.emplace_back(entry->number, cell.column, entry->segment);
            }
        }
    }
    if (members.empty()) {
        return;
    }
    const auto [firstRow, firstColumn, heirSegment] = members.front();
    Range covered{firstRow, firstColumn, firstRow, firstColumn};
    for (const auto& [r, c, segment] : members) {
        covered = {std::min(covered.top, r), std::min(covered.left, c), std::max(covered.bottom, r),
                   std::max(covered.right, c)};
    }
    const std::string shifted =
        shiftFormula(formula.text().get(), firstRow - row, firstColumn - column);
    Parsed& heirRow = parsed(heirSegment);
    for (const Cell& cell : heirRow.cells) {
        if (cell.column == firstColumn && isMember(cell.node)) {
            const pugi::xml_node heir = firstChild(cell.node, "f");
            heir.text().set(shifted.c_str());
            setAttribute(heir, "ref",
                         rangeText(covered.top, covered.left, covered.bottom, covered.right));
            heirRow.dirty = true;
            return;
        }
    }
}

void Worksheet::setCellStyle(pugi::xml_node node, int style) {
    if (node && node.attribute("s").as_int(0) != style) {
        setAttribute(node, "s", std::to_string(style));
        markChanged(node);
    }
}

void Worksheet::setRowStyle(int row, int style) {
    if (rowStyle(row) == style) {
        return;
    }
    Parsed& entry = ensureRow(row);
    setAttribute(entry.node, "s", std::to_string(style));
    setAttribute(entry.node, "customFormat", "1");
    entry.dirty = true;
    changed_ = true;
}

} // namespace tapwise
