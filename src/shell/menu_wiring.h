#pragma once

class AppContext;
class frmMain;

// Connects the main window's menu entries to the windows and operations that serve them.
void wireMenus(frmMain& window, AppContext& context);
