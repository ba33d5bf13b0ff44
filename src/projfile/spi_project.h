#pragma once
// SpiProject: a project file held in memory, merged from the install project file (level 0),
// the optional site project file (level 1) and the user's own file (level 2), with the cursor
// operations the rest of the system reads and edits it through.
//
// Results: 0 success, -1 failure, 1 not found, 2 end of an iteration, 6 the file already
// exists. Nothing is shown: each message replaces the module-wide SpiLastMessage(). Names
// compare ignoring case. Every edit is made at level 2 and marks what it touches as changed,
// so a selective save writes it.
//
// Calling order: directive operations work on the current program (FindProgram or AddProgram
// succeeded since the last Open or DeleteProgram), value operations on the current directive.
// Called out of order they do nothing: finds give 1, walks give 2.

#include "projfile/installed_files.h"
#include "projfile/project_parser.h"
#include "projfile/session.h"
#include "projfile/spi_messages.h"
#include "projfile/spi_model.h"
#include "projfile/value_expansion.h"

#include <cstdint>
#include <ctime>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

class SpiProject {
public:
    SpiProject() = default;
    SpiProject(const SpiProject&) = delete;
    SpiProject& operator=(const SpiProject&) = delete;

    // Files. Open replaces every program with the merge of the install, site and user files;
    // a site file that cannot be found is no error. Create writes a file holding only the
    // header (6 when it exists and `overwrite` is 0) and leaves the programs alone. Save writes
    // every program (`writeAll` not 0) or only what differs from the install and site files;
    // an empty name is the missing file name. Writes replace the file whole or not at all.
    int Open(const std::string& fileName);
    int Create(const std::string& fileName, int overwrite);
    int Save(const std::string& fileName, int writeAll);
    // A project held in memory: OpenText is Open with `text` as the user's file (`fileName`
    // names it in messages and origins, and no file of that name is read or checked), and
    // SaveText is Save into `text` (the whole text the file would hold, left as it was on
    // failure). The install and site files are read as always.
    int OpenText(const std::string& fileName, std::string_view text);
    int SaveText(std::string& text, int writeAll);

    // Programs.
    int FindProgram(const std::string& name);
    void AddProgram(const std::string& name);
    void DeleteProgram(const std::string& name);
    const std::string* CurrentProgramName() const;

    // Directives of the current program.
    void InitDirectiveIteration();
    int GetNextDirective(std::string& name);
    int FindDirective(const std::string& name);
    void AddDirective(const std::string& name);
    void DeleteDirective(const std::string& name);

    // Values of the current directive's active level. GetNextValue hands out values with
    // environment variables expanded (the stored text keeps them); a value that cannot be
    // expanded comes out as stored.
    void InitValueIteration();
    int GetNextValue(std::string& value);
    void AddValue(const std::string& value);
    // Makes `values` the values of the current directive at the project's level, where the
    // directive stands; none takes the values of the lower levels out.
    void SetValues(const std::vector<std::string>& values);
    // The first value of the named directive of the current program: 0, 1 no such directive,
    // 2 no values. "session_name" in the "Global" program is the process's session name.
    int GetDirectiveValue(const std::string& name, std::string& value);
    // The session name of the process: the -mpssession argument, else made once from the
    // "Global" program's session_name (or a random number) and the user name, and added to the
    // process's arguments. -1 when neither the argument nor a "Global" program exists.
    int GetSessionName(std::string& value);

    // Unmarks the changed directives (and programs left without one) whose active values equal
    // those of the install and site files. 0, or -1 when those files cannot be read.
    int MarkUnchangedEntries();
    // With `keep`, edits touch only their own lines: a save writes every directive whose
    // values were not set since the read as its line stood, and a selective save keeps those
    // lines of the user's file even where they repeat the installed values. Off by default.
    void KeepReadLines(bool keep) { programs.keepReadLines = keep; }

    // The collecting mode: while `problems` is set, every read of this project goes on after
    // a syntax problem and notes it there (the normal mode stops or fails); a file that cannot
    // be read still fails. nullptr goes back to the normal mode.
    void CollectProblems(std::vector<SpiProblem>* problems) { collect_ = problems; }

    // The steps of Open, for callers that merge the installed files alone.
    int ReadInstallFile();
    int ReadSiteFile();
    int ReadInstallAndSiteFiles();
    int ReadUserFile();

    // Read access to the merged model: programs in list order, each with its directives,
    // their active level, per-level values (Programs().ValuesAt) and origins
    // (Programs().Origin).
    const SpiProgramList& Programs() const { return programs; }
    const std::string& FileName() const { return fileName; }
    int Level() const { return level; }
    // Every message recorded during the last Open, oldest first (the last one is also
    // SpiLastMessage()): parse messages that did not fail the read are kept here.
    const std::vector<std::string>& OpenMessages() const { return openMessages_; }

private:
    int ReadFile(const std::string& path, int fileLevel, const char* failedToOpen);
    // `text`, when given, is the user's file.
    int OpenUnguarded(const std::string& fileName, const std::string_view* text);
    // Into the file `fileName`, or into `*text` when given.
    int SaveUnguarded(const std::string& fileName, int writeAll, std::string* text);
    int CreateUnguarded(const std::string& fileName, int overwrite);

    // The current directive, kept as its place in the pool (adding directives may move it).
    SpiDirective* CurrentDirective() { return programs.AtPosition(currentDirective); }

    SpiProgramList programs;
    std::string fileName;
    int level = SpiUserLevel;
    SpiProgram* currentProgram = nullptr;
    std::uint32_t currentDirective = SpiDirectiveList::kNone;
    std::vector<std::string> openMessages_;
    std::vector<SpiProblem>* collect_ = nullptr;
    bool inMemory_ = false; // opened by OpenText: `fileName` names no file
};

// Writes the header every written project file starts with: four comment lines (the second,
// the time of `modified` in local time, only when it is given) and two blank lines.
void WriteHeader(std::ostream& file, const std::string& creator, const std::string& open,
                 const std::string& close, const std::time_t* modified);

// Writes one directive line of a section whose end line is `endMarker` ("END_<NAME>"): the
// name, in quotes where the syntax needs them, then each active value in quotes, double when
// the directive was ever read in double quotes, else single. A text holding that quote but not
// the other is written in the other; a value holding both is written bare. Only a line that
// WritePrograms finds writable reads back as written (a line it is not stops where it is).
void WriteDirectiveLine(std::ostream& file, const SpiDirective& directive,
                        std::string_view endMarker);
