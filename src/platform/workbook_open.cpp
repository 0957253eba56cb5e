#include "platform/program_module.h"
#include "platform/workbook.h"

// Defined where the workbook writer is linked in (library qf_workbook).
extern "C" platform::Workbook* quillfernOpenWorkbook(const QString& path) __attribute__((weak));

namespace platform {

std::unique_ptr<Workbook> openWorkbook(const QString& path) {
    using Open = Workbook* (*)(const QString&);
    const Open open = quillfernOpenWorkbook
                          ? quillfernOpenWorkbook
                          : reinterpret_cast<Open>(programModuleFunction("quillfernOpenWorkbook"));
    return std::unique_ptr<Workbook>(open(path));
}

}  // namespace platform
