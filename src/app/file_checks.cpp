#include "app/file_checks.h"

#include "app/messages.h"
#include "projfile/file_io.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace pfsetup::app {

ErrorRecord ReadProblem(const std::string& path) {
    if (path.empty()) {
        return Failure(ErrorKind::Value, "", "no file name given");
    }
    struct stat info {};
    int error = 0;
    const bool found = ::stat(path.c_str(), &info) == 0;
    if (!found || (S_ISREG(info.st_mode) && ::access(path.c_str(), R_OK) != 0)) {
        error = errno;
    } else if (S_ISDIR(info.st_mode)) {
        error = EISDIR;
    } else if (!S_ISREG(info.st_mode)) {
        error = kNotRegularFile;
    }
    return error == 0 ? ErrorRecord() : FileErrorRecord(path, error, false);
}

int CheckReadable(const std::string& path) {
    const ErrorRecord problem = ReadProblem(path);
    return problem.Failed() ? Report(problem) : kOk;
}

int CheckWritable(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        return Report(
            FileErrorRecord(path, S_ISDIR(info.st_mode) ? EISDIR : kNotRegularFile, true));
    }
    return kOk;
}

} // namespace pfsetup::app
