#pragma once

namespace cli {

// True when the arguments ask for the command line rather than the windows.
bool wantsCommandLine(int argc, char* argv[]);

// Runs the command line without a display and gives the exit status:
// 0 done, 1 failure, 2 usage error. Errors are one line on standard error.
int run(int argc, char* argv[]);

}  // namespace cli
