#pragma once

#include <string>

// What starting OziExplorer's executable came to.
struct OziStartResult {
    bool started = false;
    // When a process start was tried and failed: "Error startin '<path>'\r\n"
    // and the system's text for the error, ready to show.
    std::string failure;
};

// Starts OziExplorer from the folder it keeps in the registry
// (HKCU\Software\OziExplorer, value "Path"), else from the current directory
// when that path names no file. Not started, without a failure text, when
// the registry names no usable path or neither file exists.
OziStartResult StartOziExplorerProcess();
