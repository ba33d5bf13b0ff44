#pragma once
// The application object the dialogs run in.

#include <string>

class QApplication;

namespace pfsetup {

enum class ApplicationDisplay {
    Screen,    // the platform the environment names
    Offscreen, // no window appears; used for rendering to files
};

// The host's QApplication, or one made here when the process has none (it then lives until
// the process ends). Null with `error` set when the process runs an application object
// without widgets, or when there is no display to open windows on.
QApplication* EnsureApplication(ApplicationDisplay display, std::string& error);

} // namespace pfsetup
