#include "projfile/installed_files.h"

#include "base/module_state.h"
#include "projfile/file_io.h"
#include "projfile/spi_messages.h"
#include "projfile/spi_text.h"

#include <cstdlib>
#include <map>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

const char* const SpiInstallProjectFile = "qrvsetup/projmgr/qrv.cpm";
const char* const SpiSiteProjectFile = "qrvsetup/projmgr/site.cpm";

namespace {

// The library's own state: its search context and the paths found with it.
unsigned long g_searchContext = 0;
std::string g_installPath;
std::string g_sitePath;

// The common library's state: the directories each context searches.
unsigned long g_lastContext = 0;
std::map<unsigned long, std::vector<std::string>> g_contexts;

// A reset forgets all of it, so the next lookup reads QRV_SEARCH_PATH again.
const pfsetup::ModuleStateReset g_reset([] {
    g_searchContext = 0;
    g_installPath.clear();
    g_sitePath.clear();
    g_lastContext = 0;
    g_contexts.clear();
});

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

std::string JoinPath(const std::string& dir, const std::string& relative) {
    if (dir.empty() || dir.back() == '/') {
        return dir + relative;
    }
    return dir + "/" + relative;
}

bool HoldsInstallFile(const std::string& dir) {
    return !dir.empty() && IsFile(JoinPath(dir, SpiInstallProjectFile));
}

std::string ExecutableDirectory() {
    std::string buffer(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return std::string();
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(length));
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    const std::size_t slash = buffer.rfind('/');
    return slash == std::string::npos ? std::string() : buffer.substr(0, slash);
}

// "/a/bin/../share/x" -> "/a/share/x", so messages show a plain path.
std::string WithoutDotDot(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t slash = path.find('/', start);
        if (slash == std::string::npos) {
            slash = path.size();
        }
        const std::string part = path.substr(start, slash - start);
        if (part == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = slash + 1;
    }
    std::string joined;
    for (const std::string& part : parts) {
        joined += "/" + part;
    }
    return joined.empty() ? "/" : joined;
}

} // namespace

bool qrvGetInstallRoot(std::string& root) {
    const std::string exeDir = ExecutableDirectory();
    if (!exeDir.empty()) {
        const std::string beside = WithoutDotDot(exeDir + "/../share/pfsetup");
        if (HoldsInstallFile(beside)) {
            root = beside;
            return true;
        }
    }
#ifdef PFSETUP_INSTALL_DATADIR
    if (HoldsInstallFile(PFSETUP_INSTALL_DATADIR)) {
        root = PFSETUP_INSTALL_DATADIR;
        return true;
    }
#endif
#ifdef PFSETUP_BUILD_DATADIR
    if (IsDirectory(PFSETUP_BUILD_DATADIR)) {
        root = PFSETUP_BUILD_DATADIR;
        return true;
    }
#endif
    return false;
}

namespace {

// The directories of QRV_SEARCH_PATH, then the installation root.
std::vector<std::string> SearchDirectories() {
    std::vector<std::string> directories;
    if (const char* searchPath = std::getenv("QRV_SEARCH_PATH")) {
        const std::string list(searchPath);
        std::size_t start = 0;
        while (start <= list.size()) {
            std::size_t colon = list.find(':', start);
            if (colon == std::string::npos) {
                colon = list.size();
            }
            if (colon > start) {
                directories.push_back(list.substr(start, colon - start));
            }
            start = colon + 1;
        }
    }
    std::string root;
    if (qrvGetInstallRoot(root)) {
        directories.push_back(root);
    }
    return directories;
}

bool Same(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

int kfxInitialize(unsigned long* context) {
    if (context == nullptr) {
        return KfxBadArgument;
    }
    std::vector<std::string> directories = SearchDirectories();
    if (directories.empty()) {
        return KfxNoSearchPath;
    }
    *context = ++g_lastContext;
    g_contexts[*context] = std::move(directories);
    return KfxOk;
}

int kfxSearch(unsigned long context, const char* relativePath, std::string& fullPath) {
    if (relativePath == nullptr || *relativePath == '\0') {
        return KfxBadArgument;
    }
    const auto found = g_contexts.find(context);
    if (found == g_contexts.end()) {
        return KfxBadContext;
    }
    for (const std::string& dir : found->second) {
        std::string candidate = JoinPath(dir, relativePath);
        if (IsFile(candidate)) {
            fullPath = std::move(candidate);
            return KfxOk;
        }
    }
    return KfxNotFound;
}

std::string kfxGetErrorMsg(int code) {
    switch (code) {
    case KfxOk:
        return "no error";
    case KfxBadArgument:
        return "invalid argument";
    case KfxNoSearchPath:
        return "no directory to search: QRV_SEARCH_PATH is not set and no installation root "
               "was found";
    case KfxBadContext:
        return "the search context is not initialised";
    case KfxNotFound:
        return "not found in QRV_SEARCH_PATH or the installation root";
    default:
        return pfsetup::Format("unknown error %d", code);
    }
}

int FindInstalledFile(const std::string& relativePath, std::string& path) {
    if (g_searchContext == 0) {
        unsigned long context = 0;
        const int code = kfxInitialize(&context);
        if (code != KfxOk) {
            pfsetup::RecordFailure(
                "SPI_ERROR: " + kfxGetErrorMsg(code),
                pfsetup::Failure(pfsetup::ErrorKind::NotFound, relativePath, kfxGetErrorMsg(code)));
            return -1;
        }
        g_searchContext = context;
    }
    const int code = kfxSearch(g_searchContext, relativePath.c_str(), path);
    if (code != KfxOk) {
        pfsetup::ErrorRecord record =
            pfsetup::Failure(pfsetup::ErrorKind::NotFound, relativePath, kfxGetErrorMsg(code));
        record.allowed = "include the installation directory in QRV_SEARCH_PATH";
        pfsetup::RecordFailure(
            pfsetup::Format("SPI_ERROR: Failed to find \"%s\", %s. Include the installation "
                            "directory in the path.",
                            relativePath.c_str(), kfxGetErrorMsg(code).c_str()),
            std::move(record));
        return 1;
    }
    return 0;
}

namespace {

int GetRememberedPath(std::string& remembered, const char* relativePath, std::string& path) {
    if (!remembered.empty()) {
        path = remembered;
        return 0;
    }
    const int result = FindInstalledFile(relativePath, path);
    if (result == 0) {
        remembered = path;
    }
    return result;
}

} // namespace

int GetInstallProjectFilePath(std::string& path) {
    return GetRememberedPath(g_installPath, SpiInstallProjectFile, path);
}

int GetSiteProjectFilePath(std::string& path) {
    return GetRememberedPath(g_sitePath, SpiSiteProjectFile, path);
}

bool IsSiteProjectFile(const std::string& path) {
    std::string site;
    struct stat a {
    }, b{};
    return !path.empty() && GetSiteProjectFilePath(site) == 0 && ::stat(path.c_str(), &a) == 0 &&
           ::stat(site.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

namespace {

// Whether `path` is a file of the installation (see IsInstallationFile); with `folders` false
// only the install project files count.
bool OfInstallation(const std::string& path, bool folders, std::string& why) {
    if (path.empty()) {
        return false;
    }
    std::string target;
    if (pfsetup::ResolveWriteTarget(path, target) != 0) {
        target = path;
    }
    struct stat file {};
    const bool exists = ::stat(target.c_str(), &file) == 0;
    struct Tree {
        std::string path;
        struct stat info;
    };
    std::vector<Tree> trees;
    for (const std::string& dir : SearchDirectories()) {
        const std::string installed = JoinPath(dir, SpiInstallProjectFile);
        struct stat info {};
        if (exists && ::stat(installed.c_str(), &info) == 0 && Same(info, file)) {
            why = "it is the install project file " + installed + ", which is never written";
            return true;
        }
        Tree tree{JoinPath(dir, "qrvsetup"), {}};
        if (folders && ::stat(tree.path.c_str(), &tree.info) == 0) {
            trees.push_back(std::move(tree));
        }
    }
    // The folders that hold the file, from its own up to the root, against each "qrvsetup".
    std::string up = pfsetup::DirectoryOf(target);
    struct stat at {};
    struct stat below {};
    for (int depth = 0; !trees.empty() && ::stat(up.c_str(), &at) == 0; ++depth, up += "/..") {
        if (depth > 0 && Same(at, below)) {
            break; // the root is its own parent
        }
        below = at;
        for (const Tree& tree : trees) {
            if (Same(at, tree.info)) {
                // Its site project file is the one file there that may be written.
                char* real = ::realpath(pfsetup::DirectoryOf(target).c_str(), nullptr);
                std::string inner = real != nullptr ? real : "";
                std::free(real);
                std::string relative = pfsetup::BaseOf(target);
                for (int level = 0; level < depth; ++level, inner = pfsetup::DirectoryOf(inner)) {
                    relative = pfsetup::BaseOf(inner) + "/" + relative;
                }
                if ("qrvsetup/" + relative == SpiSiteProjectFile) {
                    return false;
                }
                why = "it is in the folder " + tree.path +
                      " of the installation, which is never written";
                return true;
            }
        }
    }
    return false;
}

} // namespace

bool IsInstallationFile(const std::string& path, std::string& why) {
    return OfInstallation(path, true, why);
}

bool IsInstallProjectFile(const std::string& path) {
    std::string why;
    return OfInstallation(path, false, why);
}
