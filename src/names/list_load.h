#pragma once

#include <functional>

#include <QString>
#include <QStringList>

#include "platform/pointer_shape.h"

namespace names {

class NameListModel;

// The list options of the main window.
struct ListOptions {
    bool builtInList = true;  // Option9
    bool userList = false;    // Option8
    bool both = true;         // Option1
    bool maleOnly = false;    // Option2
    bool femaleOnly = false;  // Option3
    // The origins the built-in list shows (the Origin key's tags); none: the
    // built-in tables as they are.
    QStringList origins{};
};

// Sets the main window's mouse pointer.
using SetPointer = std::function<void(platform::PointerShape pointer)>;

// Shows the busy pointer while it lives and the normal pointer when it ends,
// however that comes about. Without a pointer to set it does nothing.
class BusyPointer {
public:
    explicit BusyPointer(SetPointer setPointer);
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    SetPointer setPointer_;
};

// Fills both name lists from the database at `databasePath` by the options:
// the User List loads first names, then last names; the built-in list loads
// last names, then first names by the gender option, after showing the
// wanted origins in the built-in tables (names::showOrigins). Each entry is the stored
// name in proper case, in the order the query returns, and keeps the stored
// name it was shown from. Every query runs before
// its list is emptied, so a failing query leaves its list as it was; a failure
// while rows are read leaves the entries added so far. With no list source
// chosen neither list changes. Throws platform::Failure. `setPointer`, when
// given, shows the busy pointer meanwhile.
void loadLists(const QString& databasePath, const ListOptions& options, NameListModel& firstNames,
               NameListModel& lastNames, const SetPointer& setPointer = {});

}  // namespace names
