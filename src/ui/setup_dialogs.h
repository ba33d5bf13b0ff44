#pragma once
// The setup dialogs behind CPFSetupMain::DisplaySetup and DisplaySetupForInterpretation.
// A host that links pfsetup::ui calls InstallSetupDialogs once; the core then reaches the
// dialogs through its hooks. The dialogs run in the host's QApplication, or in one made for
// them when the process has none.

#include <string>

class CPFCoreSetupAPI;
class CPFSetupMain;

namespace pfsetup {

// Installs the dialog hooks and the Qt host services (message boxes, file dialogs, help).
// Calling it again changes nothing.
void InstallSetupDialogs();

// The dialogs on a given store. `main.m_nSheetMode` chooses the mode; `main.m_pSheet` names
// the setup dialog while it runs.
// The full setup dialog: true when it ended with OK, the settings written.
bool RunSetupDialog(CPFSetupMain& main, CPFCoreSetupAPI& store);
// The pin-name interpretation dialog: 1 after OK, 2 after Cancel.
unsigned int RunInterpretationDialog(CPFSetupMain& main, CPFCoreSetupAPI& store);

// Builds the dialog as DisplaySetup (or, with `interpretation`, DisplaySetupForInterpretation)
// would, on the module's store, shows page `pageIndex` (-1: the page it opens on) and writes
// a picture of it to `pngPath`, offscreen when the process has no application yet. Nobody
// needs to answer it. False with `error` set when it cannot.
bool RenderSetupDialog(CPFSetupMain& main, bool interpretation, int pageIndex,
                       const std::string& pngPath, std::string& error);

} // namespace pfsetup
