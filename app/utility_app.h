// The application object: starts the transport and runs the main window modally for the
// whole life of the program.
#pragma once

namespace ofu {

class UtilityApp {
public:
    // Starts the transport (the process ends with status 1 when the socket library cannot be
    // started), runs the main window, and returns false: the program has no message loop of
    // its own after the main window ends.
    bool InitInstance();
};

extern UtilityApp theApp;

}  // namespace ofu
