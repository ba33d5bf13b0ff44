#include "ui/application.h"

#include <QApplication>
#include <QByteArray>

namespace pfsetup {

QApplication* EnsureApplication(ApplicationDisplay display, std::string& error) {
    if (QCoreApplication* existing = QCoreApplication::instance()) {
        auto* app = qobject_cast<QApplication*>(existing);
        if (!app) {
            error = "the running application object has no widget support";
        }
        return app;
    }
    if (display == ApplicationDisplay::Offscreen &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Qt ends the process when the platform cannot open a display; refuse before that.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        error = "no display is available for the setup dialog";
        return nullptr;
    }
    // QApplication keeps references to argc and argv for its whole life.
    static int argc = 1;
    static char name[] = "pfsetup";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
}

} // namespace pfsetup
