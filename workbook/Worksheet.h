#pragma once

#include "workbook/PartContent.h"
#include "workbook/XmlPart.h"

#include <pugixml.hpp>

#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tapwise {

// The cells of the active sheet, found by row and column. The part is kept
// as a document and indexed once; rows and cells without a reference follow
// the one before them, and the sheet's own idea of its size is not used.
class Worksheet {
public:
    explicit Worksheet(std::unique_ptr<XmlPart> part);

    struct Cell {
        int column;
        pugi::xml_node node;
    };

    // The cell's element, or none when the sheet has no such cell.
    pugi::xml_node cell(int row, int column) const;
    // The existing cells of a row, by column; empty for a row it lacks.
    const std::vector<Cell>& cellsOfRow(int row) const;
    // The row's own format, when it has one.
    std::optional<int> rowStyle(int row) const;

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
    // The sheet as it is now, printed row by row while it is written.
    std::unique_ptr<PartContent> content() const;
    void markSaved() { changed_ = false; }

private:
    struct Row {
        int number;
        pugi::xml_node node;
        std::vector<Cell> cells;
    };
    struct Range {
        int top, left, bottom, right;
        bool contains(int row, int column) const;
        static std::optional<Range> parse(std::string_view reference);
    };

    void indexRows();
    Row indexRow(pugi::xml_node node, int previousNumber);
    const Row* findRow(int number) const;
    Row& ensureRow(int number);
    pugi::xml_node ensureCell(int row, int column);
    void numberAllRows();
    void extendDimension(int row, int column);
    void handOverSharedFormula(int row, int column, pugi::xml_node formula);

    std::unique_ptr<XmlPart> part_;
    pugi::xml_node sheetData_;
    std::vector<Row> rows_;
    std::vector<Range> arrays_;
    const std::vector<Cell> noCells_;
    bool rowsUnnumbered_ = false;
    bool changed_ = false;
};

} // namespace tapwise
