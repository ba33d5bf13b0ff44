#pragma once
// Finding installed files: the stand-in for the maker's common library (kfx*, qrvGetInstallRoot)
// and the library's remembered install and site project file paths.
//
// Installed files are searched in the directories of QRV_SEARCH_PATH (colon-separated), read
// when the search context is made, and then in the installation root. The root is the
// package's data directory found relative to the running binary
// (<dir of the executable>/../share/pfsetup), else the configured install data directory,
// else the build tree's data directory, so a build tree and an installed tree both work.

#include <string>

// Relative paths of the install and site project files.
extern const char* const SpiInstallProjectFile; // "qrvsetup/projmgr/qrv.cpm"
extern const char* const SpiSiteProjectFile;    // "qrvsetup/projmgr/site.cpm"

// Error codes of the kfx calls; 0 is success.
enum KfxError : int {
    KfxOk = 0,
    KfxBadArgument = 1,
    KfxNoSearchPath = 2,
    KfxBadContext = 3,
    KfxNotFound = 4,
};

// Makes a search context over the current search directories: 0 and a non-zero context, or
// an error code (KfxNoSearchPath when there is no directory to search at all).
int kfxInitialize(unsigned long* context);
// 0 and the full path of the first directory holding `relativePath`, or an error code.
int kfxSearch(unsigned long context, const char* relativePath, std::string& fullPath);
// The text of an error code, to follow a comma in a message.
std::string kfxGetErrorMsg(int code);
// The installation root; false when none is found.
bool qrvGetInstallRoot(std::string& root);

// 0 and the path; 1 not found (recorded); -1 the search cannot be set up (recorded).
int FindInstalledFile(const std::string& relativePath, std::string& path);
// The remembered path, else FindInstalledFile's result (a found path is remembered; a failed
// search is tried again next time).
int GetInstallProjectFilePath(std::string& path);
int GetSiteProjectFilePath(std::string& path);
// Whether `path` is the site project file the search finds (the same file, by any path).
bool IsSiteProjectFile(const std::string& path);
// Whether `path` is a file of the installation, which nothing writes or opens as a project:
// the install project file of any directory the search goes through (QRV_SEARCH_PATH, then
// the installation root), known by what it is (device and inode, so also through symbolic and
// hard links) and not by how the path spells it; or any other file in the "qrvsetup" folder of
// such a directory, its site project file excepted. `why` then says which, naming it.
bool IsInstallationFile(const std::string& path, std::string& why);
// Whether `path` is the install project file of any such directory, by what it is.
bool IsInstallProjectFile(const std::string& path);
