// pfsetup: the settings of the part-building tool from a shell.

#include "app/commands.h"
#include "app/dialog_launch.h"
#include "app/tool.h"

#include <CLI/CLI.hpp>

int main(int argc, char** argv) {
    using namespace pfsetup::app;
    CLI::App app{"pfsetup: the setup options of the part-building tool: symbol, pin, property, "
                 "format and pin-name defaults kept in layered project files (.cpm)."};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("pfsetup ") + PFSETUP_VERSION_STRING);
    app.footer("Exit status: 0 success, 1 a problem in the request or a file's content, "
               "2 a file that cannot be read or written.");

    std::string project, key, file;
    bool force = false, json = false, origin = false;
    std::vector<std::string> names, projects;
    std::function<int()> run;

    auto* init = app.add_subcommand("init", "Create a new user project file (header only)");
    init->add_option("PROJECT", project, "Project file to create")->required();
    init->add_flag("--force", force, "Replace an existing file");
    init->callback([&] { run = [&] { return InitCommand(project, force); }; });

    auto* show = app.add_subcommand("show", "Print the effective settings (install, site, user)");
    show->add_option("PROJECT", project, "User project file; the installed defaults without it");
    show->add_flag("--json", json, "JSON for scripts");
    show->add_flag("--origin", origin, "Add the file, line and level of every settings entry");
    show->callback([&] { run = [&] { return ShowCommand(project, json, origin); }; });

    auto* get = app.add_subcommand("get", "Print one setting by its key (e.g. Symbol_GridSize)");
    get->add_option("PROJECT", project, "User project file")->required();
    get->add_option("KEY", key, "Setting key")->required();
    get->callback([&] { run = [&] { return GetCommand(project, key); }; });

    std::vector<std::string> pairs;
    auto* set = app.add_subcommand(
        "set", "Check and change settings (KEY VALUE [KEY VALUE]...), and save the project");
    set->add_option("PROJECT", project, "User project file")->required();
    set->add_option("KEY VALUE", pairs,
                    "Setting keys, each followed by its new value in the form `get` prints; "
                    "settings that depend on each other are checked together")
        ->required();
    set->callback([&] { run = [&] { return SetCommand(project, pairs); }; });

    auto* unset = app.add_subcommand("unset", "Remove the project's own entry of a setting");
    unset->add_option("PROJECT", project, "User project file")->required();
    unset->add_option("KEY", key, "Setting key")->required();
    unset->callback([&] { run = [&] { return UnsetCommand(project, key); }; });

    auto* templates = app.add_subcommand("template", "Save, apply or convert part templates");
    templates->require_subcommand(1);
    auto* save = templates->add_subcommand("save", "Save the project's settings as a template");
    save->add_option("PROJECT", project, "User project file")->required();
    save->add_option("FILE", file, "Template file (.tpl) to write")->required();
    save->callback([&] { run = [&] { return TemplateSaveCommand(project, file); }; });
    auto* load = templates->add_subcommand("load", "Apply a template's settings to the project");
    load->add_option("PROJECT", project, "User project file")->required();
    load->add_option("FILE", file, "Template file (.tpl)")->required();
    load->callback([&] { run = [&] { return TemplateLoadCommand(project, file); }; });
    auto* convert =
        templates->add_subcommand("convert", "Rename a template's old PFG section to PFG142");
    convert->add_option("FILE", file, "Template file (.tpl), rewritten in place")->required();
    convert->callback([&] { run = [&] { return TemplateConvertCommand(file); }; });

    auto* pin = app.add_subcommand("pin", "How the project reads and splits pin names");
    pin->add_option("--project", project, "User project file; the installed defaults without it");
    pin->add_option("NAME", names, "Pin names")->required();
    pin->add_flag("--json", json, "JSON for scripts");
    pin->callback([&] { run = [&] { return PinCommand(project, names, json); }; });

    auto* check = app.add_subcommand("check", "Report every problem of project files");
    check->add_option("PROJECT", projects, "User project files")->required();
    check->callback([&] { run = [&] { return CheckCommand(projects); }; });

    auto* tree = app.add_subcommand("tree", "Print the project's settings tree");
    tree->add_option("PROJECT", project, "User project file")->required();
    tree->callback([&] { run = [&] { return TreeCommand(project); }; });

    DialogRequest dialogRequest;
    auto* dialog = app.add_subcommand("dialog", "Show the setup dialog on a project");
    AddDialogOptions(*dialog, dialogRequest);
    dialog->callback([&] { run = [&] { return RunDialogProgram(dialogRequest); }; });

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e);
        return status == 0 ? kOk : kBadInput;
    }
    return run ? run() : kBadInput;
}
