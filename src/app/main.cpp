// pfsetup: the settings of the part-building tool from a shell.
//
// CLI11 defines the commands and options and writes the help; the operands never pass through
// it, so each reaches its command exactly as typed (CLI11 would split "[a,b]" into a list and
// take a value beginning with '-' for an option). Options may stand anywhere before "--"; every
// word after it is an operand.

#include "app/commands.h"
#include "app/dialog_launch.h"
#include "app/tool.h"
#include "base/ascii_text.h"
#include "base/error_record.h"
#include "projfile/file_io.h"
#include "projfile/file_lock.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <streambuf>
#include <unistd.h>

namespace {

using namespace pfsetup;
using namespace pfsetup::app;

// What each command takes after its name, for its help and for the messages about operands.
struct Usage {
    const char* command;
    const char* synopsis;
};
constexpr Usage kUsages[] = {
    {"init", "[--force] [--wait SECONDS] PROJECT"},
    {"show", "[--json | --list] [--origin] [--changed] [PROJECT | --site]"},
    {"get", "PROJECT KEY | --site KEY"},
    {"set", "[--wait SECONDS] (PROJECT | --site) [--json FILE|-] [KEY VALUE]..."},
    {"unset", "[--wait SECONDS] (PROJECT | --site) KEY"},
    {"diff", "[--json] FIRST SECOND"},
    {"keys", "[--json | --names | --choices] [KEY]"},
    {"template", "save|load|convert ..."},
    {"template save", "[--force] [--wait SECONDS] PROJECT FILE"},
    {"template load", "[--wait SECONDS] PROJECT FILE"},
    {"template convert", "[--wait SECONDS] FILE"},
    {"pin", "[--project PROJECT] [--json] NAME..."},
    {"check", "PROJECT..."},
    {"tree", "PROJECT"},
    {"dialog", "[--interpretation] [--mode N] [--template FILE] [--screenshot FILE [--page N]] "
               "[--wait SECONDS] [PROJECT]"},
    {"help", "[COMMAND]"},
};

std::string CommandPath(const CLI::App* app) {
    std::string path;
    for (; app && app->get_parent(); app = app->get_parent()) {
        path = app->get_name() + (path.empty() ? "" : " " + path);
    }
    return path;
}

std::string UsageLine(const std::string& command) {
    for (const Usage& usage : kUsages) {
        if (command == usage.command) {
            return "pfsetup " + command + " " + usage.synopsis;
        }
    }
    return "pfsetup COMMAND [OPTIONS] [OPERANDS]";
}

// Help without the parser's type names ("TEXT", "UINT:INT in [0 - 3]"): a named option shows
// its own placeholder, a positional its name alone, and the usage line says what the command
// takes.
class PlainFormatter : public CLI::Formatter {
public:
    PlainFormatter() {
        label("Subcommands", "Commands");
        label("Positionals", "Operands");
    }
    std::string make_option_opts(const CLI::Option* option) const override {
        if (!option->get_option_text().empty()) {
            return " " + option->get_option_text();
        }
        return "";
    }
    std::string make_usage(const CLI::App* app, std::string) const override {
        const std::string path = CommandPath(app);
        return "Usage: " + (path.empty() ? UsageLine("") : UsageLine(path)) + "\n";
    }
};

// A problem with the words of the command line: kBadInput after telling it, with the usage.
int UsageError(const std::string& command, const std::string& problem) {
    ErrorRecord record = Failure(ErrorKind::Value, "", command + ": " + problem);
    record.allowed = "usage: " + UsageLine(command);
    return Report(record);
}

// Checks the number of operands: `names` in order, the last taking any number more when
// `more` (then at least `least` in all).
int ExpectOperands(const std::string& command, const std::vector<std::string>& operands,
                   std::vector<const char*> names, size_t least, bool more = false) {
    if (operands.size() < least) {
        return UsageError(command, std::string(names[operands.size()]) + " is missing");
    }
    if (!more && operands.size() > names.size()) {
        return UsageError(command, "extra operand " + Quoted(operands[names.size()]));
    }
    return kOk;
}

// The file of get, set and unset: PROJECT, the first operand, unless --site names the file.
int TakeTarget(const std::string& command, bool site, std::vector<std::string>& operands,
               Target& target) {
    if (site) {
        return FindSiteFile(target, command == "set");
    }
    if (operands.empty()) {
        return UsageError(command, "PROJECT is missing");
    }
    if (operands.front().empty()) {
        // Not the installed defaults: an unset shell variable is the likely cause.
        return UsageError(command, "PROJECT is empty");
    }
    target.project = operands.front();
    operands.erase(operands.begin());
    return kOk;
}

std::vector<std::string> Names(const std::vector<CLI::App*>& commands) {
    std::vector<std::string> names;
    for (const CLI::App* command : commands) {
        names.push_back(command->get_name());
    }
    return names;
}

int UnknownWord(const std::string& what, const std::string& word,
                const std::vector<std::string>& known, const std::string& listing) {
    const std::string closest = ClosestWord(word, known);
    ErrorRecord record = Failure(ErrorKind::Value, "", word + ": not " + what);
    record.allowed = closest.empty() ? listing + " lists them" : "did you mean " + closest + "?";
    return Report(record);
}

// The values of options, checked in the tool's words before CLI11 converts them: --wait by
// the one reader of times, the dialog's choices by their numbers.
struct ChoiceOption {
    const char* name;
    const char* choices; // the digits allowed
    const char* allowed;
};
constexpr ChoiceOption kChoiceOptions[] = {
    {"--mode", "0123", "0 setup, 1 edit template, 2 new template, 3 open template"},
    {"--page", "01234", "0 Property, 1 Pin, 2 Symbol, 3 Format, 4 Pin Name Interpretation"},
};

int CheckOptionValue(const std::string& name, const std::string& value) {
    double seconds = 0;
    ErrorRecord problem;
    if (name == "--wait" && !ParseSeconds(name, value, seconds, problem)) {
        return Report(problem);
    }
    for (const ChoiceOption& option : kChoiceOptions) {
        if (name != option.name ||
            (value.size() == 1 && value[0] != '\0' && std::strchr(option.choices, value[0]))) {
            continue;
        }
        ErrorRecord record = Failure(ErrorKind::Value, "", "not one of the choices");
        record.key = name;
        record.value = value;
        record.allowed = std::string("allowed: ") + option.allowed;
        return Report(record);
    }
    return kOk;
}

// A word that is an operand even before "--": "-" (standard input) and negative numbers.
bool IsOperandWord(const std::string& word) {
    return word.size() < 2 || word[0] != '-' || (word[1] >= '0' && word[1] <= '9') ||
           word[1] == '.';
}

// Splits the words after the command into its options, as CLI11 takes them ("--name=value"
// for an option with a value), and its operands. kOk, or the status after telling what is
// wrong.
int SplitWords(CLI::App& command, const std::vector<std::string>& words,
               std::vector<std::string>& options, std::vector<std::string>& operands) {
    bool onlyOperands = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (onlyOperands || IsOperandWord(word)) {
            operands.push_back(word);
            continue;
        }
        if (word == "--") {
            onlyOperands = true;
            continue;
        }
        const size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        const CLI::Option* option = command.get_option_no_throw(name);
        if (!option || option->get_positional()) {
            std::vector<std::string> known;
            for (const CLI::Option* o : command.get_options()) {
                if (!o->get_positional()) {
                    for (const std::string& n : o->get_lnames()) {
                        known.push_back("--" + n);
                    }
                }
            }
            return UnknownWord("an option of " + CommandPath(&command), name, known,
                               "`pfsetup help " + CommandPath(&command) + "`");
        }
        if (option->get_expected_max() == 0) {
            if (equals != std::string::npos) {
                return UsageError(CommandPath(&command), name + " takes no value");
            }
            options.push_back(word);
            continue;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = word.substr(equals + 1);
        } else if (i + 1 < words.size()) {
            value = words[++i];
        } else {
            return UsageError(CommandPath(&command), name + " needs a value");
        }
        if (const int status = CheckOptionValue(name, value)) {
            return status;
        }
        options.push_back(name + "=" + value);
    }
    return kOk;
}

// Standard output through write(2) from one buffer, so the cause of the first write that
// fails is kept for the message (stdio keeps only an error flag); what follows a failure is
// dropped.
class CheckedOutput : public std::streambuf {
public:
    CheckedOutput() { setp(buffer_, buffer_ + sizeof buffer_); }
    int Error() const { return error_; }
    bool Failed() const { return failed_; }

protected:
    int_type overflow(int_type c) override {
        Drain();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return failed_ ? traits_type::eof() : traits_type::not_eof(c);
    }
    int sync() override {
        Drain();
        return failed_ ? -1 : 0;
    }

private:
    void Drain() {
        for (const char* at = pbase(); at < pptr() && !failed_;) {
            const ssize_t written = ::write(STDOUT_FILENO, at, static_cast<size_t>(pptr() - at));
            if (written >= 0) {
                at += written;
            } else if (errno != EINTR) {
                failed_ = true;
                error_ = errno;
            }
        }
        setp(buffer_, buffer_ + sizeof buffer_);
    }
    char buffer_[65536];
    int error_ = 0;
    bool failed_ = false;
};

CheckedOutput g_output;

// Output that cannot be written fails the command, as in GNU tools: a script must not take a
// cut-off listing for success. Closing stdout reports what a last write did not.
int FinishOutput(int status) {
    std::cout.flush();
    std::cout.rdbuf(nullptr); // nothing more goes out, not even at exit
    int cause = g_output.Error();
    bool failed = g_output.Failed();
    if (::close(STDOUT_FILENO) != 0 && errno != EBADF) {
        failed = true;
        cause = cause ? cause : errno;
    }
    if (!failed) {
        return status;
    }
    std::cerr << "pfsetup: write error" << (cause ? std::string(": ") + std::strerror(cause) : "")
              << "\n";
    return kFileError;
}

int RunGet(bool site, std::vector<std::string>& operands) {
    Target target;
    if (const int status = TakeTarget("get", site, operands, target)) {
        return status;
    }
    if (const int status = ExpectOperands("get", operands, {"KEY"}, 1)) {
        return status;
    }
    return GetCommand(target, operands[0]);
}

int Run(int argc, char** argv) {
    std::cout.rdbuf(&g_output);
    // The commonest question, `pfsetup get PROJECT KEY` without options, needs nothing of the
    // option parser, whose making costs a fresh process about a sixth of the answer.
    if (argc == 4 && std::strcmp(argv[1], "get") == 0 && argv[2][0] != '-' && argv[3][0] != '-') {
        const ErrorRecord limits = EnvironmentLimitsProblem();
        if (limits.Failed()) {
            return FinishOutput(Report(limits));
        }
        std::vector<std::string> operands{argv[2], argv[3]};
        return FinishOutput(RunGet(false, operands));
    }
    CLI::App app{"pfsetup: the setup options of the part-building tool: symbol, pin, property, "
                 "format and pin-name defaults kept in layered project files (.cpm)."};
    app.name("pfsetup");
    app.formatter(std::make_shared<PlainFormatter>());
    app.set_version_flag("--version", std::string("pfsetup ") + PFSETUP_VERSION_STRING);
    app.footer("Exit status: 0 success, 1 a problem in the request or a file's content (for "
               "diff: the files differ), 2 a file that cannot be read or written, or output that "
               "failed. Every word after \"--\" is an operand. More: pfsetup help COMMAND, man "
               "pfsetup.\n");

    bool force = false, json = false, site = false, names = false, choices = false;
    std::string jsonFile, project, wait;
    ShowOptions showOptions;
    std::vector<std::string> operands;
    std::function<int()> run;
    const auto addWait = [&wait](CLI::App* command) {
        command
            ->add_option("--wait", wait,
                         "Seconds to wait while another program writes the file (default 5, or "
                         "PFSETUP_LOCK_TIMEOUT)")
            ->option_text("SECONDS");
    };
    // Operands, for the help alone: the command takes them from `operands`.
    std::string unused;
    const auto operand = [&unused](CLI::App* command, const char* name, const char* text) {
        command->add_option(name, unused, text);
    };
    const auto siteFlag = [&site](CLI::App* command, const char* text) {
        command->add_flag("--site", site, text);
    };

    // Only the command asked for is defined, unless the first word names none (help, a typing
    // slip): defining every command costs a fresh process more than most commands' work.
    const std::string first = argc > 1 ? argv[1] : "";
    const bool named = first != "help" &&
                       std::any_of(std::begin(kUsages), std::end(kUsages),
                                   [&first](const Usage& usage) { return first == usage.command; });
    const auto wanted = [&](const char* name) { return !named || first == name; };

    if (wanted("init")) {
        auto* init = app.add_subcommand("init", "Create a new user project file (header only)");
        operand(init, "PROJECT", "Project file to create");
        init->add_flag("--force", force, "Replace an existing file");
        addWait(init);
        init->callback([&] {
            run = [&] {
                if (const int status = ExpectOperands("init", operands, {"PROJECT"}, 1)) {
                    return status;
                }
                return InitCommand(operands[0], force);
            };
        });
    }

    if (wanted("show")) {
        auto* show =
            app.add_subcommand("show", "Print the effective settings (install, site, user)");
        operand(show, "PROJECT", "User project file; the installed defaults without it");
        show->add_flag("--json", showOptions.json, "JSON for scripts (see docs/json.md)");
        show->add_flag("--list", showOptions.list, "KEY=VALUE lines, the values as set takes them");
        show->add_flag("--origin", showOptions.origin,
                       "Add the file, line and level each setting comes from");
        show->add_flag("--changed", showOptions.changed,
                       "Only the settings that differ from the install and site files");
        siteFlag(show, "The site project file instead of a project");
        show->callback([&] {
            run = [&] {
                if (const int status = ExpectOperands("show", operands, {"PROJECT"}, 0)) {
                    return status;
                }
                if (showOptions.json && showOptions.list) {
                    return UsageError("show", "--json and --list exclude each other");
                }
                Target target{operands.empty() ? "" : operands[0], false};
                if (site) {
                    if (!operands.empty()) {
                        return UsageError("show", "give either PROJECT or --site");
                    }
                    if (int status = FindSiteFile(target, false)) {
                        return status;
                    }
                }
                return ShowCommand(target, showOptions);
            };
        });
    }

    if (wanted("get")) {
        auto* get =
            app.add_subcommand("get", "Print one setting by its key (e.g. Symbol_GridSize)");
        operand(get, "PROJECT", "User project file (not with --site)");
        operand(get, "KEY", "Setting key");
        siteFlag(get, "Read the site project file instead of a project");
        get->callback([&] { run = [&] { return RunGet(site, operands); }; });
    }

    if (wanted("set")) {
        auto* set = app.add_subcommand(
            "set", "Check and change settings (KEY VALUE [KEY VALUE]...), and save the project");
        operand(set, "PROJECT", "User project file (not with --site)");
        operand(set, "KEY VALUE",
                "Setting keys each followed by its new value in the form `get` prints; settings "
                "that depend on each other are checked together");
        siteFlag(set, "Change the site project file instead of a project (created when missing)");
        set->add_option(
               "--json", jsonFile,
               "Apply the settings of a JSON object in the form `show --json` prints, from "
               "FILE or - for standard input")
            ->option_text("FILE|-");
        addWait(set);
        set->callback([&] {
            run = [&] {
                Target target;
                if (const int status = TakeTarget("set", site, operands, target)) {
                    return status;
                }
                if (operands.empty() && jsonFile.empty()) {
                    return UsageError("set", "KEY is missing");
                }
                if (operands.size() % 2 != 0) {
                    return UsageError("set", "KEY " + Quoted(operands.back()) + " has no VALUE");
                }
                return SetCommand(target, operands, jsonFile);
            };
        });
    }

    if (wanted("unset")) {
        auto* unset = app.add_subcommand("unset", "Remove the file's own entry of a setting");
        operand(unset, "PROJECT", "User project file (not with --site)");
        operand(unset, "KEY", "Setting key");
        siteFlag(unset, "Change the site project file instead of a project");
        addWait(unset);
        unset->callback([&] {
            run = [&] {
                Target target;
                if (const int status = TakeTarget("unset", site, operands, target)) {
                    return status;
                }
                if (const int status = ExpectOperands("unset", operands, {"KEY"}, 1)) {
                    return status;
                }
                return UnsetCommand(target, operands[0]);
            };
        });
    }

    if (wanted("diff")) {
        auto* diff = app.add_subcommand(
            "diff",
            "Print the settings that differ between two projects or templates (exit status 1 "
            "when they differ)");
        operand(diff, "FIRST", "Project file or template");
        operand(diff, "SECOND", "Project file or template");
        diff->add_flag("--json", json, "JSON for scripts (see docs/json.md)");
        diff->callback([&] {
            run = [&] {
                if (const int status = ExpectOperands("diff", operands, {"FIRST", "SECOND"}, 2)) {
                    return status;
                }
                return DiffCommand(operands[0], operands[1], json);
            };
        });
    }

    if (wanted("keys")) {
        auto* keys = app.add_subcommand("keys", "Describe the setting keys the files may hold");
        operand(keys, "KEY", "One key to describe");
        keys->add_flag("--json", json, "JSON for scripts (see docs/json.md)");
        keys->add_flag("--names", names, "Only the keys, one a line");
        keys->add_flag("--choices", choices, "Only the values KEY takes when it has a fixed set");
        keys->callback([&] {
            run = [&] {
                if (const int status = ExpectOperands("keys", operands, {"KEY"}, choices ? 1 : 0)) {
                    return status;
                }
                return KeysCommand(operands.empty() ? "" : operands[0], choices ? KeysView::Choices
                                                                        : names ? KeysView::Names
                                                                        : json  ? KeysView::Json
                                                                                : KeysView::Text);
            };
        });
    }

    if (wanted("template")) {
        auto* templates = app.add_subcommand("template", "Save, apply or convert part templates");
        auto* save = templates->add_subcommand("save", "Save the project's settings as a template");
        operand(save, "PROJECT", "User project file");
        operand(save, "FILE", "Template file (.tpl) to write");
        save->add_flag("--force", force, "Replace an existing template");
        addWait(save);
        save->callback([&] {
            run = [&] {
                if (const int status =
                        ExpectOperands("template save", operands, {"PROJECT", "FILE"}, 2)) {
                    return status;
                }
                return TemplateSaveCommand(operands[0], operands[1], force);
            };
        });
        auto* load =
            templates->add_subcommand("load", "Apply a template's settings to the project");
        operand(load, "PROJECT", "User project file");
        operand(load, "FILE", "Template file (.tpl)");
        addWait(load);
        load->callback([&] {
            run = [&] {
                if (const int status =
                        ExpectOperands("template load", operands, {"PROJECT", "FILE"}, 2)) {
                    return status;
                }
                return TemplateLoadCommand(operands[0], operands[1]);
            };
        });
        auto* convert =
            templates->add_subcommand("convert", "Rename a template's old PFG section to PFG142");
        operand(convert, "FILE", "Template file (.tpl), rewritten in place");
        addWait(convert);
        convert->callback([&] {
            run = [&] {
                if (const int status = ExpectOperands("template convert", operands, {"FILE"}, 1)) {
                    return status;
                }
                return TemplateConvertCommand(operands[0]);
            };
        });
    }

    if (wanted("pin")) {
        auto* pin = app.add_subcommand("pin", "How the project reads and splits pin names");
        operand(pin, "NAME", "Pin names");
        pin->add_option("--project", project,
                        "User project file; the installed defaults without it")
            ->option_text("PROJECT");
        pin->add_flag("--json", json, "JSON for scripts (see docs/json.md)");
        pin->callback([&] {
            run = [&] {
                if (const int status = ExpectOperands("pin", operands, {"NAME"}, 1, true)) {
                    return status;
                }
                return PinCommand(project, operands, json);
            };
        });
    }

    if (wanted("check")) {
        auto* check = app.add_subcommand("check", "Report every problem of project files");
        operand(check, "PROJECT", "User project files");
        check->callback([&] {
            run = [&] {
                if (const int status = ExpectOperands("check", operands, {"PROJECT"}, 1, true)) {
                    return status;
                }
                return CheckCommand(operands);
            };
        });
    }

    if (wanted("tree")) {
        auto* tree = app.add_subcommand("tree", "Print the project's settings tree");
        operand(tree, "PROJECT", "User project file");
        tree->callback([&] {
            run = [&] {
                if (const int status = ExpectOperands("tree", operands, {"PROJECT"}, 1)) {
                    return status;
                }
                return TreeCommand(operands[0]);
            };
        });
    }

    DialogRequest dialogRequest;
    if (wanted("dialog")) {
        auto* dialog = app.add_subcommand("dialog", "Show the setup dialog on a project");
        AddDialogOptions(*dialog, dialogRequest);
        addWait(dialog);
        dialog->callback([&] {
            run = [&] {
                if (const int status = ExpectOperands("dialog", operands, {"PROJECT"}, 0)) {
                    return status;
                }
                dialogRequest.project = operands.empty() ? "" : operands[0];
                return RunDialogProgram(dialogRequest);
            };
        });
    }

    app.add_subcommand("help", "Help on a command: pfsetup help COMMAND");
    for (CLI::App* listed : app.get_subcommands({})) {
        listed->group("Commands");
        for (CLI::App* sub : listed->get_subcommands({})) {
            sub->group("Commands");
        }
    }

    // pfsetup [--help | --version] COMMAND [SUBCOMMAND] WORDS...
    std::vector<std::string> words(argv + 1, argv + argc);
    std::vector<std::string> parsed = {"pfsetup"};
    const std::vector<std::string> commands = Names(app.get_subcommands({}));
    size_t at = 0;
    bool help = false;
    if (at < words.size() && words[at] == "help") {
        help = true;
        ++at;
    }
    CLI::App* command = &app;
    // The command and its subcommand: names, never options.
    while (at < words.size() && !command->get_subcommands({}).empty()) {
        const std::string& word = words[at];
        if (!IsOperandWord(word)) {
            break; // --help, --version or a mistake, which CLI11 reports
        }
        CLI::App* found = nullptr;
        for (CLI::App* sub : command->get_subcommands({})) {
            if (sub->get_name() == word && sub->get_name() != "help") {
                found = sub;
            }
        }
        if (!found) {
            const std::string path = CommandPath(command);
            std::vector<std::string> known = Names(command->get_subcommands({}));
            for (std::string& name : known) {
                name = path.empty() ? name : path + " " + name;
            }
            return FinishOutput(
                UnknownWord("a command", path.empty() ? word : path + " " + word, known,
                            "`pfsetup help" + (path.empty() ? "" : " " + path) + "`"));
        }
        command = found;
        parsed.push_back(word);
        ++at;
    }
    if (help) {
        if (at < words.size()) {
            return FinishOutput(UsageError("help", "extra operand " + Quoted(words[at])));
        }
        std::cout << command->help(command == &app ? "" : "pfsetup");
        return FinishOutput(kOk);
    }
    if (command != &app && !command->get_subcommands({}).empty()) {
        if (at < words.size() && (words[at] == "--help" || words[at] == "-h")) {
            std::cout << command->help();
            return FinishOutput(kOk);
        }
        return FinishOutput(UsageError(
            CommandPath(command), "a subcommand is missing; one of " + [&] {
                std::string listed;
                for (const std::string& name : Names(command->get_subcommands({}))) {
                    listed += (listed.empty() ? "" : ", ") + name;
                }
                return listed;
            }()));
    }
    if (command == &app && at >= words.size()) {
        ErrorRecord record = Failure(ErrorKind::Value, "", "a command is required");
        record.allowed = "`pfsetup help` lists them";
        return FinishOutput(Report(record));
    }
    if (command != &app) {
        std::vector<std::string> rest(words.begin() + static_cast<std::ptrdiff_t>(at), words.end());
        std::vector<std::string> options;
        if (const int status = SplitWords(*command, rest, options, operands)) {
            return FinishOutput(status);
        }
        parsed.insert(parsed.end(), options.begin(), options.end());
    } else {
        parsed.insert(parsed.end(), words.begin() + static_cast<std::ptrdiff_t>(at), words.end());
    }

    std::vector<std::string> reversed(parsed.rbegin(), parsed.rend() - 1);
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) { // --help, --version
            return FinishOutput(app.exit(e));
        }
        if (command == &app && !words.empty()) {
            return FinishOutput(UnknownWord("an option of pfsetup", words[0],
                                            {"--help", "--version"}, "`pfsetup help`"));
        }
        std::string text = e.what();
        if (!text.empty()) {
            text[0] = AsciiLower(text[0]);
        }
        return FinishOutput(UsageError(CommandPath(command), text));
    }
    const ErrorRecord limits = EnvironmentLimitsProblem();
    if (limits.Failed()) {
        return FinishOutput(Report(limits));
    }
    if (!wait.empty()) {
        double seconds = 0;
        ErrorRecord checked;
        ParseSeconds("--wait", wait, seconds, checked); // refused above when not a time
        SetLockTimeout(seconds);
        // The dialogs run as a program of their own, which reads the environment.
        ::setenv("PFSETUP_LOCK_TIMEOUT", wait.c_str(), 1);
    }
    return FinishOutput(run ? run() : kBadInput);
}

} // namespace

int main(int argc, char** argv) {
    return pfsetup::app::RunProgram(Run, argc, argv);
}
