#include "projfile/session.h"

#include "base/module_state.h"
#include "projfile/spi_project.h"
#include "projfile/spi_text.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <pwd.h>
#include <random>
#include <unistd.h>

namespace {

bool g_argumentsKnown = false;
std::vector<std::string> g_arguments;
// Set while GetSessionName looks up session_name itself, so that lookup is a plain one.
bool g_sessionNameRunning = false;
const pfsetup::ModuleStateReset g_reset([] {
    SpiResetArguments();
    g_sessionNameRunning = false;
});

struct SessionNameRunning {
    SessionNameRunning() { g_sessionNameRunning = true; }
    ~SessionNameRunning() { g_sessionNameRunning = false; }
    SessionNameRunning(const SessionNameRunning&) = delete;
    SessionNameRunning& operator=(const SessionNameRunning&) = delete;
};

std::vector<std::string> ProcessArguments() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> arguments;
    std::size_t start = 0;
    while (start < all.size()) {
        std::size_t end = all.find('\0', start);
        if (end == std::string::npos) {
            end = all.size();
        }
        arguments.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    return arguments;
}

std::vector<std::string>& Arguments() {
    if (!g_argumentsKnown) {
        g_arguments = ProcessArguments();
        g_argumentsKnown = true;
    }
    return g_arguments;
}

// The login name of the effective user, else $USER; false when neither is known.
bool UserName(std::string& name) {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_name != nullptr && *found->pw_name != '\0') {
        name = found->pw_name;
        return true;
    }
    const char* user = std::getenv("USER");
    if (user != nullptr && *user != '\0') {
        name = user;
        return true;
    }
    return false;
}

} // namespace

void SpiSetArguments(const std::vector<std::string>& arguments) {
    g_arguments = arguments;
    g_argumentsKnown = true;
}

const std::vector<std::string>& SpiArguments() {
    return Arguments();
}

void SpiResetArguments() {
    g_arguments.clear();
    g_argumentsKnown = false;
}

bool MatchOption(const std::string& argument, const std::string& option) {
    std::string_view rest(argument);
    if (!rest.empty() && (rest.front() == '-' || rest.front() == '/')) {
        rest.remove_prefix(1);
    }
    return pfsetup::EqualsIgnoreCase(rest, option);
}

int GetCommandLineOption(const std::string& option, std::string& value) {
    const std::vector<std::string>& arguments = Arguments();
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (MatchOption(arguments[i], option)) {
            value = i + 1 < arguments.size() ? arguments[i + 1] : std::string();
            return 0;
        }
    }
    return -1;
}

void AddSessionOption(const std::string& value) {
    std::vector<std::string>& arguments = Arguments();
    arguments.push_back("-mpssession");
    arguments.push_back(value);
}

int SpiProject::GetDirectiveValue(const std::string& name, std::string& value) {
    if (!g_sessionNameRunning && currentProgram != nullptr &&
        pfsetup::EqualsIgnoreCase(currentProgram->name, "Global") &&
        pfsetup::EqualsIgnoreCase(name, "session_name")) {
        return GetSessionName(value);
    }
    if (FindDirective(name) != 0) {
        return 1;
    }
    InitValueIteration();
    return GetNextValue(value);
}

int SpiProject::GetSessionName(std::string& value) {
    pfsetup::ClearLastError();
    if (GetCommandLineOption("mpssession", value) == 0) {
        return 0;
    }
    if (FindProgram("Global") != 0) {
        pfsetup::SetLastError(
            pfsetup::Failure(pfsetup::ErrorKind::NotFound, fileName,
                             "no session name: no -mpssession argument and no \"Global\" section"));
        return -1;
    }
    int found = 0;
    {
        const SessionNameRunning running;
        found = GetDirectiveValue("session_name", value);
    }
    if (found != 0) {
        std::minstd_rand generator(static_cast<std::minstd_rand::result_type>(std::time(nullptr)));
        value += std::to_string(generator());
    }
    std::string user;
    if (UserName(user)) {
        value = user + "_" + value;
    }
    AddSessionOption(value);
    return 0;
}
