#pragma once

#include "names/name_database_file.h"
#include "support/form1_fixture.h"

namespace testsupport {

// The main window over a few names in every table, with repeats in other
// letter cases.
inline names::NameTables sampleTables() {
    return {.maleFirst = {"Anna", "bob", "Carl"},
            .femaleFirst = {"ANNA", "Dora", "anna"},
            .last = {"Smith", "SMITH", "Jones"},
            .userFirst = {"Ulla"},
            .userLast = {"Vance", "Ward"}};
}

class Form1Names : public Form1Fixture {
protected:
    Form1Names() : Form1Fixture(sampleTables()) {}
};

}  // namespace testsupport
