#pragma once

#include "workbook/Workbook.h"

namespace tapwise {

// A workbook that hands every call to another one; a wrapper overrides the
// calls it adds something to.
class ForwardingWorkbook : public Workbook {
public:
    explicit ForwardingWorkbook(Workbook& target) : target_(target) {}

    QString fullName() const override { return target_.fullName(); }
    Result<QString> cellText(int row, int column) override { return target_.cellText(row, column); }
    Status setCellText(int row, int column, const QString& text) override {
        return target_.setCellText(row, column, text);
    }
    Result<int> rowColorIndex(int row) override { return target_.rowColorIndex(row); }
    Status setRowColorIndex(int row, int colorIndex) override {
        return target_.setRowColorIndex(row, colorIndex);
    }
    Status save() override { return target_.save(); }
    Status saveCopy(const QString& path) override { return target_.saveCopy(path); }
    void close() override { target_.close(); }

private:
    Workbook& target_;
};

} // namespace tapwise
