#pragma once
// The tool's commands; each returns its exit status.

#include <string>
#include <vector>

namespace pfsetup::app {

int InitCommand(const std::string& project, bool force);
int ShowCommand(const std::string& project, bool json, bool origin);
int GetCommand(const std::string& project, const std::string& key);
// `pairs`: KEY, VALUE, KEY, VALUE...; checked together, written once.
int SetCommand(const std::string& project, const std::vector<std::string>& pairs);
int UnsetCommand(const std::string& project, const std::string& key);
int TreeCommand(const std::string& project);
int TemplateSaveCommand(const std::string& project, const std::string& file);
int TemplateLoadCommand(const std::string& project, const std::string& file);
int TemplateConvertCommand(const std::string& file);
int PinCommand(const std::string& project, const std::vector<std::string>& names, bool json);
int CheckCommand(const std::vector<std::string>& projects);

struct DialogRequest {
    std::string project;
    bool interpretation = false;
    unsigned mode = 0;
    std::string templateFile; // modes 1 and 3 start from a template
    std::string screenshot;   // a picture instead of a person
    int page = -1;
};
// Exit status 0 after OK, 1 after Cancel. Only in pfsetup-dialog, the program with Qt.
int DialogCommand(const DialogRequest& request);

} // namespace pfsetup::app
