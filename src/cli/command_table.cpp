// The table of commands. A new command is a file that makes its entry, and
// a line here.
#include "cli/commands.h"

namespace cli {

const std::vector<Command>& commands() {
    static const std::vector<Command> table{
        generateCommand(),
        namesCommand(),
        importCommand(),
        originsCommand(),
    };
    return table;
}

}  // namespace cli
