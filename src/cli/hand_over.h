#pragma once

// Handing a command line to the sibling program that stands in the same folder as the running one.

#include <string>

// The path of the program called name beside the running one (name gets ".exe" on Windows). Where the
// running program's own folder is unknown (started by a bare name found on the PATH), name alone, to be
// found on the PATH the same way.
std::string siblingProgram(const char* argv0, const std::string& name);

// Runs program with the same arguments in this one's place: on POSIX it replaces this process, on Windows
// it waits for it and returns its exit status. Returns only when that cannot be done (after saying so on
// stderr) or on Windows.
int handOver(const std::string& program, char* argv[]);
