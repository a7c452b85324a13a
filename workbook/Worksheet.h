#pragma once

#include "common/Result.h"
#include "workbook/PartContent.h"
#include "workbook/SheetText.h"
#include "workbook/XmlPart.h"

#include <pugixml.hpp>

#include <QString>

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tapwise {

// The cells of the active sheet, found by row and column. The rows are kept
// as the text they were read from, with an index of where each row stands;
// a row is parsed when it is asked for, and a changed row is kept as its
// new text, which replaces the old one when the sheet is written. The rest
// of the sheet (everything around its rows) is held as a document. Rows and
// cells without a reference follow the one before them, and the sheet's own
// idea of its size is not used.
class Worksheet {
public:
    // text is the whole part; a failure names partName (in language lang).
    static Result<std::unique_ptr<Worksheet>> load(SheetText text, const std::string& partName,
                                                   const QString& lang);

    // The sheet's root element, with everything but its rows.
    pugi::xml_node root() const { return part_->root(); }

    struct Cell {
        int column;
        pugi::xml_node node;
    };

    // The nodes given out below stay valid until another row is asked for.

    // The cell's element, or none when the sheet has no such cell.
    pugi::xml_node cell(int row, int column);
    // The existing cells of a row, by column; empty for a row it lacks.
    const std::vector<Cell>& cellsOfRow(int row);
    // The row's own format, when it has one.
    std::optional<int> rowStyle(int row);

    // Whether the cell belongs to a formula or data table of several cells,
    // which a single cell write would break.
    bool isInsideArray(int row, int column) const;
    // Writes an inline string ("" empties the cell); the cell keeps its
    // format. Returns whether a formula was removed.
    bool setText(int row, int column, const QString& text);
    // Gives a cell (one of cellsOfRow), or the row itself, another format.
    void setCellStyle(pugi::xml_node cell, int style);
    void setRowStyle(int row, int style);

    bool changed() const { return changed_; }
    // The sheet as it is now, written row by row while it is read; the
    // sheet must not change until it has been read.
    std::unique_ptr<PartContent> content() const;
    void markSaved() { changed_ = false; }

private:
    using SegmentId = uint32_t;
    struct Segment {
        uint64_t gapBegin; // the text between the previous element and this one
        uint64_t begin;
        uint64_t end;
    };
    struct Row {
        int number;
        SegmentId segment;
    };
    struct Range {
        int top, left, bottom, right;
        bool contains(int row, int column) const;
        static std::optional<Range> parse(std::string_view reference);
    };
    // A row parsed from its text; changes are made to it and kept as text
    // when it is put away.
    struct Parsed {
        SegmentId segment = NoSegment;
        pugi::xml_document document;
        pugi::xml_node node;
        std::vector<Cell> cells;
        bool dirty = false;
        uint64_t used = 0;
    };
    class Body;

    static constexpr SegmentId NoSegment = UINT32_MAX;
    static constexpr size_t ParsedRows = 8;

    explicit Worksheet(SheetText text);
    Status indexRows(const std::string& partName, const QString& lang);
    Status indexBatch(pugi::xml_node batch, SegmentId first, SegmentId last, int& previous);
    static int readRow(pugi::xml_node node, int previousNumber, std::vector<Cell>& cells,
                       std::vector<Range>* arrays);
    const Row* findRow(int number) const;
    Parsed& parsed(SegmentId segment) const;
    Parsed* parsedOf(pugi::xml_node node) const;
    void putAway(Parsed& row) const;
    void flush() const;
    uint64_t gapLength(SegmentId segment) const;
    std::string rowText(SegmentId segment) const;
    void appendSegment(std::string& out, SegmentId segment) const;
    void markChanged(pugi::xml_node node);
    Parsed& ensureRow(int number);
    pugi::xml_node ensureCell(int row, int column);
    void numberAllRows();
    void extendDimension(int row, int column);
    void handOverSharedFormula(int row, int column, pugi::xml_node formula);

    mutable SheetText text_;        // released as changed rows replace it
    std::unique_ptr<XmlPart> part_; // the sheet without its rows
    pugi::xml_node sheetData_;
    std::vector<Segment> segments_; // every element in sheetData, in order
    SegmentId originalSegments_ = 0;
    std::string trailingGap_;
    std::vector<Row> rows_; // by number
    // Rows added by this program, by the first row read from the text that
    // they stand before (originalSegments_ for the end), in order.
    std::map<SegmentId, std::vector<Row>> added_;
    std::unordered_map<SegmentId, SegmentId> addedBefore_;
    std::vector<Row> unnumbered_; // rows read without an "r"
    std::vector<Range> arrays_;
    mutable std::unordered_map<SegmentId, std::string> replaced_; // gap and row
    mutable std::array<Parsed, ParsedRows> parsed_;
    mutable uint64_t clock_ = 0;
    const std::vector<Cell> noCells_;
    bool changed_ = false;
};

} // namespace tapwise
