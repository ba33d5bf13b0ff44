#include "support/comma_locale.h"

#include <clocale>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace pfsetup::test {

bool UseCommaDecimalLocale() {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8"})
        if (std::setlocale(LC_ALL, name))
            return true;
    // glibc reads LOCPATH when a locale is loaded, so one compiled for this process serves.
    static const std::string dir = [] {
        char pattern[] = "/tmp/pfsetup-locale-XXXXXX";
        if (!::mkdtemp(pattern))
            return std::string();
        const std::string made = pattern;
        const std::string command =
            "localedef -i de_DE -f UTF-8 " + made + "/de_DE.UTF-8 >/dev/null 2>&1";
        return std::system(command.c_str()) == 0 ? made : std::string();
    }();
    if (dir.empty())
        return false;
    ::setenv("LOCPATH", dir.c_str(), 1);
    return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
}

void UseCLocale() {
    std::setlocale(LC_ALL, "C");
}

} // namespace pfsetup::test
