#pragma once

#include <map>
#include <memory>
#include <utility>

#include <QString>
#include <QStringList>

#include "platform/failure.h"
#include "platform/spreadsheet.h"

namespace testsupport {

// A spreadsheet double: records what the program asked of the application it
// created (in order) and every cell written, or fails as if no spreadsheet
// program were installed.
class RecordingSpreadsheet : public platform::Spreadsheet {
public:
    bool missing = false;  // no spreadsheet program
    int applicationsCreated = 0;
    QStringList calls;                             // "addWorkbook", "fitColumns", "makeVisible"
    std::map<std::pair<int, int>, QString> cells;  // (row, column) -> text

    std::unique_ptr<platform::SpreadsheetApplication> createApplication() override {
        if (missing) throw platform::Failure(QStringLiteral("No spreadsheet program was found"));
        ++applicationsCreated;
        return std::make_unique<Application>(*this);
    }

    QString cell(int row, int column) const {
        const auto found = cells.find({row, column});
        return found == cells.end() ? QString() : found->second;
    }
    bool hasCell(int row, int column) const { return cells.count({row, column}) != 0; }

private:
    class Application : public platform::SpreadsheetApplication {
    public:
        explicit Application(RecordingSpreadsheet& owner) : owner_(owner) {}
        void addWorkbook() override { owner_.calls << QStringLiteral("addWorkbook"); }
        void setCell(int row, int column, std::string_view text) override {
            owner_.cells[{row, column}] =
                QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        }
        void fitColumns() override { owner_.calls << QStringLiteral("fitColumns"); }
        void makeVisible() override { owner_.calls << QStringLiteral("makeVisible"); }

    private:
        RecordingSpreadsheet& owner_;
    };
};

}  // namespace testsupport
