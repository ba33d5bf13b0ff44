#include "persist/setup_main.h"

#include "base/ascii_text.h"
#include "base/error_record.h"
#include "base/module_state.h"
#include "host/host_services.h"
#include "persist/project_binding.h"
#include "persist/settings_entries.h"
#include "projfile/file_io.h"
#include "projfile/file_lock.h"
#include "projfile/project_parser.h"
#include "projfile/spi_messages.h"
#include "setup/setup_store.h"

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <memory>
#include <sys/stat.h>
#include <vector>

namespace pfsetup {

namespace {

// Earlier objects stay alive after a further Pfsetup_initialize: hosts may still hold them.
struct ModuleObjects {
    std::vector<std::unique_ptr<CPFSetupMain>> mains;
    std::vector<std::unique_ptr<CPFCoreSetupAPI>> stores;
};

ModuleObjects& Module() {
    static ModuleObjects objects;
    static const ModuleStateReset reset([] { objects = ModuleObjects(); });
    return objects;
}

SetupDialogHooks& Hooks() {
    static SetupDialogHooks hooks;
    return hooks;
}

// 0, or the cause of the failure; the file is replaced whole or left as it was.
int RewriteTemplate(const std::string& file, const std::string& text) {
    AtomicFile output(file);
    if (const int cause = output.Begin()) {
        return cause;
    }
    output.Stream().write(text.data(), static_cast<std::streamsize>(text.size()));
    return output.Commit();
}

ErrorRecord NotInitialised() {
    ErrorRecord record;
    record.kind = ErrorKind::Value;
    record.problem = "the module has no store";
    record.allowed = "call Pfsetup_initialize first";
    return record;
}

void ReportNoDialog() {
    const char* text = "The setup dialog is not available in this program.";
    Host().ShowMessage(text, MessageIcon::Stop, MessageButtons::Ok);
    ErrorRecord record = Failure(ErrorKind::Value, "", "the setup dialog is not available");
    record.allowed = "link pfsetup::ui and call InstallSetupDialogs";
    record.text = text;
    SetLastError(std::move(record));
}

} // namespace

void SetSetupDialogHooks(const SetupDialogHooks& hooks) {
    Hooks() = hooks;
}

FileDialogRequest TemplateFileRequest(const std::string& title, unsigned flags) {
    FileDialogRequest request;
    request.title = title;
    request.defaultExtension = "tpl";
    request.initialName = "template";
    request.filter = "Template Files (*.tpl)|*.tpl||";
    request.flags = flags;
    return request;
}

namespace {

constexpr std::string_view kOldSection = "PFG";

// A name on a line the reader takes for the old section's start or end: where it stands in
// the text, and the new line's name that replaces it.
struct Rename {
    std::size_t at;
    std::size_t length;
    const char* with;
    bool operator<(const Rename& other) const { return at < other.at; }
};

// What the reader reads from a template: one line per step (each section under the name a
// load takes it by, the old section's as the new one's; each directive with its values; how
// each step ended), the number of settings a load would take from it, and the old section's
// start and end lines as the reader met them.
struct TemplateReading {
    std::string steps;
    int settings = 0;
    std::vector<Rename> renames;
};

// The offset of each line's start, as the reader splits the text into lines.
std::vector<std::size_t> LineStarts(std::string_view text, std::size_t first) {
    std::vector<std::size_t> starts;
    const char* at = text.data() + first;
    const char* end = text.data() + text.size();
    while (at < end) {
        starts.push_back(static_cast<std::size_t>(at - text.data()));
        NextLine(at, end);
    }
    return starts;
}

// The renaming of `line`, which ended the old section (read by the reader from the text at
// `base`): false when the section ended at another section's start line instead.
bool EndLineRename(std::string_view line, const char* base, Rename& rename) {
    const std::size_t quoted = !line.empty() && (line[0] == '\'' || line[0] == '"') ? 1 : 0;
    const std::string_view name = line.substr(quoted, 7);
    rename = {static_cast<std::size_t>(name.data() - base), name.size(), "END_PFG142"};
    return EqualsIgnoreCase(name, "END_PFG");
}

// The reading of `text`; its steps only `withSteps` (they hold a copy of every value).
TemplateReading ReadTemplate(const std::string& text, bool withSteps) {
    TemplateReading reading;
    std::string unkept;
    std::string& steps = withSteps ? reading.steps : unkept;
    SpiProgramList programs;
    const SpiProgramList::KeptText kept = programs.Keep(text, std::string());
    SpiProjectFile file(kept, std::string());
    const std::string_view whole(kept.data, kept.size);
    const std::vector<std::size_t> lines =
        LineStarts(whole, whole.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0);
    std::string name;
    for (;;) {
        unkept.clear();
        const int header = file.ReadProgramHeader(name);
        steps += "header " + std::to_string(header) + "\n";
        if (header != 0) {
            return reading;
        }
        const bool old = name == kOldSection;
        if (old) {
            // The reader took the line for "START_PFG", blanks and a comment around it.
            const std::size_t start = lines[static_cast<std::size_t>(file.LineNumber() - 1)];
            const char* at = whole.data() + start;
            const std::string_view head =
                TrimmedView(NextLine(at, whole.data() + whole.size())).substr(0, 9);
            reading.renames.push_back(
                {static_cast<std::size_t>(head.data() - whole.data()), 9, "START_PFG142"});
        }
        const bool settings = old || EqualsIgnoreCase(name, kSettingsSection);
        steps += "[" + (old ? std::string(kSettingsSection) : name) + "]\n";
        std::string_view directive;
        int result = 0;
        while ((result = file.ReadDirectiveName(directive)) == 0) {
            unkept.clear();
            const std::string key(directive);
            steps += key;
            std::string_view value;
            int doubleQuoted = 0;
            int values = 0;
            int token = 0;
            while ((token = file.ReadValueToken(value, doubleQuoted)) == 0) {
                if (withSteps) {
                    steps += '\x1f';
                    steps += value;
                }
                ++values;
            }
            steps += "\x1e" + std::to_string(token) + std::to_string(doubleQuoted) + "\n";
            if (settings && values > 0 && ClassifySettingsKey(key) != SettingsKeyKind::Ignored) {
                ++reading.settings;
            }
            if (token == -1) {
                return reading;
            }
        }
        steps += "end " + std::to_string(result) + "\n";
        Rename rename{};
        if (old && result == 5 && EndLineRename(file.CurrentLine(), whole.data(), rename)) {
            reading.renames.push_back(rename);
        }
    }
}

// `text` with `renames` (ascending) made and every line ended by LF.
std::string Renamed(const std::string& text, const std::vector<Rename>& renames) {
    std::string out;
    out.reserve(text.size() + 3 * renames.size() + 1);
    std::size_t next = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (next < renames.size() && renames[next].at == i) {
            out += renames[next].with;
            i += renames[next++].length - 1;
        } else if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            out += text[i];
        }
    }
    if (!out.empty() && out.back() != '\n') {
        out += '\n';
    }
    return out;
}

} // namespace

int ConvertTemplateText(std::string& text, std::string& problem) {
    if (ReadTemplate(text, false).renames.empty()) {
        return 0;
    }
    const TemplateReading before = ReadTemplate(text, true);
    std::vector<Rename> renames = before.renames;
    std::sort(renames.begin(), renames.end());
    std::string converted = Renamed(text, renames);
    // The renamed text must read as the old one did, the old section under its new name.
    const TemplateReading after = ReadTemplate(converted, true);
    if (after.steps != before.steps || !after.renames.empty()) {
        problem = "renaming its section PFG to PFG142 would change what it holds";
        return -1;
    }
    text = std::move(converted);
    return static_cast<int>(renames.size());
}

int ReadTemplateFile(const std::string& file, std::string& text) {
    return ReadWholeFile(file, text);
}

TemplateFile ConvertTemplateFile(const std::string& file) {
    TemplateFile result;
    // Read and rewritten under the file's lock, so no writer's change falls between the two.
    // A template the lock cannot be taken for is still read (and not rewritten).
    ProjectLock lock;
    const int locked = lock.Acquire(file);
    if ((result.readError = ReadTemplateFile(file, result.text)) != 0) {
        return result;
    }
    result.renamed = ConvertTemplateText(result.text, result.refused);
    if (result.renamed > 0) {
        result.writeError = locked != 0 ? locked : RewriteTemplate(file, result.text);
    }
    result.settings = ReadTemplate(result.text, false).settings;
    return result;
}

} // namespace pfsetup

using namespace pfsetup;

void Pfsetup_initialize() {
    Module().mains.push_back(std::make_unique<CPFSetupMain>(0));
    Module().stores.push_back(std::make_unique<CPFCoreSetupAPI>());
}

CPFCoreSetupAPI* Pfsetup_store() {
    return Module().stores.empty() ? nullptr : Module().stores.back().get();
}

CPFSetupMain* Pfsetup_main() {
    return Module().mains.empty() ? nullptr : Module().mains.back().get();
}

CPFSetupMain::CPFSetupMain(unsigned int mode) : m_nSheetMode(mode) {}

void CPFSetupMain::InitialiseSetupForLibFlow(std::string projectFileName) {
    CPFCoreSetupAPI* store = Pfsetup_store();
    if (!store) {
        SetLastError(NotInitialised());
        return;
    }
    store->PutCPMFileName(projectFileName);
    store->PutDefFileName(projectFileName);
    store->ReadSetup();
}

int CPFSetupMain::LoadDataFromFile(const char* path) {
    ClearLastError();
    CPFCoreSetupAPI* store = Pfsetup_store();
    if (!store) {
        SetLastError(NotInitialised());
        return 1;
    }
    std::string templatePath;
    if (!path) {
        const FileDialogRequest request =
            TemplateFileRequest("Load Part Template", HideReadOnly | PathMustExist | FileMustExist);
        if (!Host().OpenFileDialog(request, templatePath)) {
            return 2;
        }
    } else {
        templatePath = path;
    }
    m_strTemplateFile = templatePath;

    std::string defFileName, lastFileName;
    store->GetDefFileName(defFileName);
    store->GetLastReadWriteFileName(lastFileName);
    store->PutDefFileName(templatePath);
    std::string text;
    ClearLastError();
    if (convertFilePfgProgramTo142(templatePath, text)) {
        store->ReadTemplateSetup(text);
    }
    store->PutDefFileName(defFileName);
    store->PutLastReadWriteFileName(lastFileName);

    std::string log;
    if (store->GetLogError(log) && !log.empty()) {
        Host().ShowMessage(log, MessageIcon::Exclamation, MessageButtons::Ok);
    }
    return 1;
}

bool CPFSetupMain::convertFilePfgProgramTo142(const std::string& file, std::string& text) {
    CPFCoreSetupAPI* store = Pfsetup_store();
    TemplateFile converted = ConvertTemplateFile(file);
    // A failure is logged for the person and recorded for the caller; nothing is applied.
    const auto refuse = [&](const std::string& logged, ErrorRecord record) {
        if (store) {
            store->PutLogError(logged);
        }
        record.text = logged.substr(1);
        SetLastError(std::move(record));
        return false;
    };
    if (converted.readError != 0) {
        return refuse("\nUnable to read " + file,
                      FileErrorRecord(file, converted.readError, false));
    }
    ErrorRecord record;
    record.kind = ErrorKind::Value;
    record.file = file;
    if (converted.renamed < 0) {
        record.problem = converted.refused;
        return refuse("\nUnable to read " + file + ": " + converted.refused, record);
    }
    if (converted.settings == 0) {
        // A template that does not read says where; one that reads and holds nothing says so.
        SpiProgramList programs;
        SpiProjectFile reader(programs.Keep(converted.text, file), file);
        if (ReadPrograms(programs, reader, SpiUserLevel) != 0) {
            ErrorRecord syntax = LastError();
            if (store) {
                store->PutLogError("\nUnable to read " + file);
            }
            SetLastError(std::move(syntax));
            return false;
        }
        record.problem = "nothing to apply: the template holds no settings in a " +
                         std::string(kSettingsSection) + " section";
        return refuse("\nNothing to apply: the template " + file + " holds no settings in a " +
                          kSettingsSection + " section",
                      record);
    }
    if (converted.writeError != 0 && store) {
        store->PutLogError("\nThe template " + file +
                           " was loaded with its section names converted; the file was left "
                           "as it was: " +
                           DescribeFileError(converted.writeError));
    }
    text = std::move(converted.text);
    return true;
}

bool CPFSetupMain::DisplaySetup() {
    ClearLastError();
    if (!Hooks().displaySetup) {
        ReportNoDialog();
        return false;
    }
    return Hooks().displaySetup(*this);
}

unsigned int CPFSetupMain::DisplaySetupForInterpretation() {
    ClearLastError();
    if (!Hooks().displaySetupForInterpretation) {
        ReportNoDialog();
        return 2;
    }
    return Hooks().displaySetupForInterpretation(*this);
}
