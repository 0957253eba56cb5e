#pragma once

#include <QString>

namespace platform {

// A new workbook filled cell by cell and handed to the desktop's spreadsheet program.
class Spreadsheet {
public:
    virtual ~Spreadsheet() = default;
};

class DesktopSpreadsheet : public Spreadsheet {};

}  // namespace platform
