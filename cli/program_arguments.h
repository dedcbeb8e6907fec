#pragma once

#include <string>
#include <vector>

// The program's arguments in UTF-8, its own name first. On Windows they come
// from the wide command line, so a file name outside the ANSI code page
// arrives whole; elsewhere they are `argv` as given.
std::vector<std::string> ProgramArguments(int argc, char** argv);
