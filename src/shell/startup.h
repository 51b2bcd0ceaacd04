#pragma once

#include <QString>

class AppContext;
class frmMain;

// Where the user guide is: installed beside the program, else in the source tree. Empty when neither exists.
QString findHelpFile();

// The main window's load, before it is shown: help file, database path, settings (the configuration window
// is made and loaded), the first clock query with the status bar, and, when the clock answered, the main
// window's database connection.
void runStartup(AppContext& context, frmMain& window);
