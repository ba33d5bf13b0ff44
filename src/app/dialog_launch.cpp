#include "app/dialog_launch.h"

#include "app/commands.h"
#include "app/tool.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace pfsetup::app {

const char* const kDialogProgram = "pfsetup-dialog";

void AddDialogOptions(CLI::App& command, DialogRequest& request) {
    command
        .add_option("PROJECT", request.project, "User project file; OK writes the settings into it")
        ->type_name("");
    command.add_flag("--interpretation", request.interpretation,
                     "Only the pin-name interpretation page");
    command
        .add_option("--mode", request.mode,
                    "0 setup, 1 edit template, 2 new template, 3 open template")
        ->type_name("N")
        ->check(CLI::Range(0, 3).description(""));
    command
        .add_option("--template", request.templateFile,
                    "Template to start from in modes 1 and 3 (asked for without it)")
        ->type_name("FILE");
    CLI::Option* screenshot = command
                                  .add_option("--screenshot", request.screenshot,
                                              "Write a PNG of the dialog instead of showing it")
                                  ->type_name("FILE");
    command
        .add_option("--page", request.page,
                    "With --screenshot: the page (0 Property, 1 Pin, 2 Symbol, 3 Format, "
                    "4 Pin Name Interpretation)")
        ->type_name("N")
        ->check(CLI::Range(0, 4).description(""))
        ->needs(screenshot);
}

std::vector<std::string> DialogArguments(const DialogRequest& request) {
    // "--option=value", and "--" before the project, keep a value that begins with '-' a value.
    std::vector<std::string> arguments;
    if (request.interpretation) {
        arguments.push_back("--interpretation");
    }
    arguments.push_back("--mode=" + std::to_string(request.mode));
    if (!request.templateFile.empty()) {
        arguments.push_back("--template=" + request.templateFile);
    }
    if (!request.screenshot.empty()) {
        arguments.push_back("--screenshot=" + request.screenshot);
    }
    if (request.page >= 0) {
        arguments.push_back("--page=" + std::to_string(request.page));
    }
    if (!request.project.empty()) {
        arguments.push_back("--");
        arguments.push_back(request.project);
    }
    return arguments;
}

int RunDialogProgram(const DialogRequest& request) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        Error("", "cannot find the setup dialogs: the running program's path is unknown (" +
                      error.message() + ")");
        return kFileError;
    }
    const std::string program = (self.parent_path() / kDialogProgram).string();
    std::vector<std::string> arguments = DialogArguments(request);
    arguments.insert(arguments.begin(), program);
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    std::cout.flush();
    std::fflush(nullptr);
    ::execv(program.c_str(), argv.data());
    const int cause = errno;
    if (cause == ENOENT) {
        Error(program, "the setup dialogs are not installed (they come with the package "
                       "pfsetup-dialogs, or with a build that finds Qt 6 Widgets)");
    } else {
        Error(program, std::string("cannot run the setup dialogs: ") + std::strerror(cause));
    }
    return kFileError;
}

} // namespace pfsetup::app
