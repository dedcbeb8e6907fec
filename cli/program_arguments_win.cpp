#include "cli/program_arguments.h"

#include "text/wide_text_win.h"

// `argv` holds the ANSI forms, in which a character outside the code page is
// already lost: the wide command line is the source, `argv` only the last
// resort when the system cannot split it.
std::vector<std::string> ProgramArguments(int argc, char** argv) {
    std::vector<std::string> arguments = Utf8CommandLineArguments();
    if (arguments.empty()) {
        arguments.assign(argv, argv + argc);
    }
    return arguments;
}
