// pfsetup: the settings of the part-building tool from a shell.

#include "app/commands.h"
#include "app/dialog_launch.h"
#include "app/tool.h"
#include "base/error_record.h"
#include "projfile/file_io.h"
#include "projfile/file_lock.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace pfsetup::app;

// Help without the parser's type names ("TEXT", "UINT:INT in [0 - 3]"): a named option shows
// its own placeholder, a positional its name alone.
class PlainFormatter : public CLI::Formatter {
public:
    std::string make_option_opts(const CLI::Option* option) const override {
        if (!option->get_option_text().empty())
            return " " + option->get_option_text();
        return "";
    }
};

// The operands of get, set and unset: PROJECT first, unless --site names the file. kOk, or the
// status after telling what is wrong.
int SplitOperands(bool site, std::vector<std::string> operands, size_t count, Target& target,
                  std::vector<std::string>& rest) {
    if (site) {
        if (int status = FindSiteFile(target.project))
            return status;
        target.site = true;
    } else if (!operands.empty()) {
        target.project = operands.front();
        operands.erase(operands.begin());
    }
    if (count == 1 ? operands.size() != 1 : operands.size() < count) {
        Error(target.project, count == 1 ? "give one KEY" : "give each KEY with its VALUE");
        return kBadInput;
    }
    rest = std::move(operands);
    return kOk;
}

bool IsCommand(const CLI::App& app, const std::string& name) {
    for (const CLI::App* command : app.get_subcommands({}))
        if (command->get_name() == name)
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"pfsetup: the setup options of the part-building tool: symbol, pin, property, "
                 "format and pin-name defaults kept in layered project files (.cpm)."};
    app.name("pfsetup");
    app.formatter(std::make_shared<PlainFormatter>());
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("pfsetup ") + PFSETUP_VERSION_STRING);
    app.footer("Exit status: 0 success, 1 a problem in the request or a file's content, "
               "2 a file that cannot be read or written, or output that failed. More: man "
               "pfsetup.\n");

    std::string project, key, file, second;
    bool force = false, json = false, site = false, names = false;
    ShowOptions showOptions;
    std::vector<std::string> operands, projects;
    std::function<int()> run;
    // --wait of the commands that write: how long to wait for another writer's lock, read as
    // strictly as PFSETUP_LOCK_TIMEOUT.
    std::string wait;
    std::vector<CLI::Option*> waits;
    const auto addWait = [&wait, &waits](CLI::App* command) {
        waits.push_back(command
                            ->add_option("--wait", wait,
                                         "Seconds to wait while another program writes the file "
                                         "(default 5, or PFSETUP_LOCK_TIMEOUT)")
                            ->option_text("SECONDS"));
    };

    auto* init = app.add_subcommand("init", "Create a new user project file (header only)");
    init->add_option("PROJECT", project, "Project file to create")->required();
    init->add_flag("--force", force, "Replace an existing file");
    addWait(init);
    init->callback([&] { run = [&] { return InitCommand(project, force); }; });

    auto* show = app.add_subcommand("show", "Print the effective settings (install, site, user)");
    show->add_option("PROJECT", project, "User project file; the installed defaults without it");
    show->add_flag("--json", showOptions.json, "JSON for scripts (see docs/json.md)");
    show->add_flag("--origin", showOptions.origin,
                   "Add the file, line and level each setting comes from");
    show->add_flag("--changed", showOptions.changed,
                   "Only the settings that differ from the install and site files");
    show->add_flag("--site", site, "The site project file instead of a project");
    show->callback([&] {
        run = [&] {
            Target target{project, false};
            if (site) {
                if (!project.empty()) {
                    Error("", "give either PROJECT or --site");
                    return static_cast<int>(kBadInput);
                }
                if (int status = FindSiteFile(target.project))
                    return status;
                target.site = true;
            }
            return ShowCommand(target, showOptions);
        };
    });

    auto* get = app.add_subcommand("get", "Print one setting by its key (e.g. Symbol_GridSize)");
    get->add_option("PROJECT KEY", operands, "User project file and setting key")->required();
    get->add_flag("--site", site, "Read the site project file instead of a project");
    get->callback([&] {
        run = [&] {
            Target target;
            std::vector<std::string> rest;
            if (int status = SplitOperands(site, operands, 1, target, rest))
                return status;
            return GetCommand(target, rest[0]);
        };
    });

    auto* set = app.add_subcommand(
        "set", "Check and change settings (KEY VALUE [KEY VALUE]...), and save the project");
    set->add_option("PROJECT KEY VALUE", operands,
                    "User project file, then setting keys each followed by its new value in the "
                    "form `get` prints; settings that depend on each other are checked together")
        ->required();
    set->add_flag("--site", site, "Change the site project file instead of a project");
    addWait(set);
    set->callback([&] {
        run = [&] {
            Target target;
            std::vector<std::string> rest;
            if (int status = SplitOperands(site, operands, 2, target, rest))
                return status;
            return SetCommand(target, rest);
        };
    });

    auto* unset = app.add_subcommand("unset", "Remove the file's own entry of a setting");
    unset->add_option("PROJECT KEY", operands, "User project file and setting key")->required();
    unset->add_flag("--site", site, "Change the site project file instead of a project");
    addWait(unset);
    unset->callback([&] {
        run = [&] {
            Target target;
            std::vector<std::string> rest;
            if (int status = SplitOperands(site, operands, 1, target, rest))
                return status;
            return UnsetCommand(target, rest[0]);
        };
    });

    auto* diff = app.add_subcommand(
        "diff", "Print the settings that differ between two projects or templates");
    diff->add_option("FIRST", project, "Project file or template")->required();
    diff->add_option("SECOND", second, "Project file or template")->required();
    diff->callback([&] { run = [&] { return DiffCommand(project, second); }; });

    auto* keys = app.add_subcommand("keys", "Describe the setting keys the files may hold");
    keys->add_option("KEY", key, "One key to describe");
    keys->add_flag("--json", json, "JSON for scripts (see docs/json.md)");
    keys->add_flag("--names", names, "Only the keys, one a line");
    keys->callback([&] { run = [&] { return KeysCommand(key, json, names); }; });

    auto* templates = app.add_subcommand("template", "Save, apply or convert part templates");
    templates->require_subcommand(1);
    auto* save = templates->add_subcommand("save", "Save the project's settings as a template");
    save->add_option("PROJECT", project, "User project file")->required();
    save->add_option("FILE", file, "Template file (.tpl) to write")->required();
    addWait(save);
    save->callback([&] { run = [&] { return TemplateSaveCommand(project, file); }; });
    auto* load = templates->add_subcommand("load", "Apply a template's settings to the project");
    load->add_option("PROJECT", project, "User project file")->required();
    load->add_option("FILE", file, "Template file (.tpl)")->required();
    addWait(load);
    load->callback([&] { run = [&] { return TemplateLoadCommand(project, file); }; });
    auto* convert =
        templates->add_subcommand("convert", "Rename a template's old PFG section to PFG142");
    convert->add_option("FILE", file, "Template file (.tpl), rewritten in place")->required();
    addWait(convert);
    convert->callback([&] { run = [&] { return TemplateConvertCommand(file); }; });

    auto* pin = app.add_subcommand("pin", "How the project reads and splits pin names");
    pin->add_option("--project", project, "User project file; the installed defaults without it")
        ->option_text("PROJECT");
    pin->add_option("NAME", operands, "Pin names")->required();
    pin->add_flag("--json", json, "JSON for scripts");
    pin->callback([&] { run = [&] { return PinCommand(project, operands, json); }; });

    auto* check = app.add_subcommand("check", "Report every problem of project files");
    check->add_option("PROJECT", projects, "User project files")->required();
    check->callback([&] { run = [&] { return CheckCommand(projects); }; });

    auto* tree = app.add_subcommand("tree", "Print the project's settings tree");
    tree->add_option("PROJECT", project, "User project file")->required();
    tree->callback([&] { run = [&] { return TreeCommand(project); }; });

    DialogRequest dialogRequest;
    auto* dialog = app.add_subcommand("dialog", "Show the setup dialog on a project");
    AddDialogOptions(*dialog, dialogRequest);
    addWait(dialog);
    dialog->callback([&] { run = [&] { return RunDialogProgram(dialogRequest); }; });

    if (argc > 1 && argv[1][0] != '-' && !IsCommand(app, argv[1])) {
        Error("", std::string("unknown command '") + argv[1] + "'; `pfsetup --help` lists them");
        return kBadInput;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0)
            return app.exit(e); // --help, --version
        std::string where = "pfsetup";
        for (const CLI::App* at = &app; !at->get_subcommands().empty();) {
            at = at->get_subcommands().front();
            where += " " + at->get_name();
        }
        std::string text = e.what();
        if (text.size() > 1 && text[0] >= 'A' && text[0] <= 'Z' &&
            !(text[1] >= 'A' && text[1] <= 'Z'))
            text[0] = static_cast<char>(text[0] - 'A' + 'a');
        if (e.get_name() == "RequiredError" && where == "pfsetup")
            text = "a command is required";
        Error("", text + " (`" + where + " --help` tells more)");
        return kBadInput;
    }
    pfsetup::ErrorRecord problem = pfsetup::EnvironmentLimitsProblem();
    double seconds = 0;
    const bool waitGiven = std::any_of(waits.begin(), waits.end(),
                                       [](const CLI::Option* option) { return option->count(); });
    if (!problem.Failed() && waitGiven && !pfsetup::ParseSeconds("--wait", wait, seconds, problem))
        seconds = 0;
    if (problem.Failed()) {
        Error("", pfsetup::DescribeError(problem));
        return kBadInput;
    }
    if (waitGiven) {
        pfsetup::SetLockTimeout(seconds);
        // The dialogs run as a program of their own, which reads the environment.
        ::setenv("PFSETUP_LOCK_TIMEOUT", wait.c_str(), 1);
    }
    const int status = run ? run() : kBadInput;
    // Output that cannot be written fails the command, as in GNU tools: a script must not take a
    // cut-off listing for success.
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return Report(pfsetup::SystemError(pfsetup::ErrorKind::Access, "", "write error", errno));
    return status;
}
