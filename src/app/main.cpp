// pfsetup: the settings of the part-building tool from a shell.

#include "app/settings_view.h"
#include "pfsetup.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <iostream>

int main(int argc, char** argv) {
    CLI::App app{"pfsetup: the setup options of the part-building tool"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("pfsetup ") + PFSETUP_VERSION_STRING);

    std::string project;
    bool json = false;
    CLI::App* show = app.add_subcommand("show", "Print the effective settings of a project");
    show->add_option("PROJECT", project, "User project file (.cpm); the defaults without it");
    show->add_flag("--json", json, "Print JSON for scripts");

    CLI11_PARSE(app, argc, argv);

    Pfsetup_initialize();
    CPFCoreSetupAPI& store = *Pfsetup_store();
    if (!project.empty())
        Pfsetup_main()->InitialiseSetupForLibFlow(project);
    std::string log;
    const bool failed = store.GetLogError(log) != 0;
    if (failed) {
        std::cerr << "pfsetup:" << log << "\n";
        if (!SpiLastMessage().empty())
            std::cerr << "pfsetup: " << SpiLastMessage() << "\n";
        return 2;
    }
    std::cout << (json ? pfsetup::app::RenderSettingsJson(store, nullptr)
                       : pfsetup::app::RenderSettingsText(store, nullptr));
    return 0;
}
