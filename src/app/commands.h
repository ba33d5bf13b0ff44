#pragma once
// The tool's commands; each returns its exit status.

#include "app/tool.h"

#include <string>
#include <vector>

namespace pfsetup::app {

struct ShowOptions {
    bool json = false;
    bool origin = false;
    bool changed = false; // only what differs from the install and site files
};

int InitCommand(const std::string& project, bool force);
int ShowCommand(const Target& target, const ShowOptions& options);
int GetCommand(const Target& target, const std::string& key);
// `pairs`: KEY, VALUE, KEY, VALUE...; checked together, written once.
int SetCommand(const Target& target, const std::vector<std::string>& pairs);
int UnsetCommand(const Target& target, const std::string& key);
int DiffCommand(const std::string& first, const std::string& second);
// Every key (`key` empty) or one; `names` lists the keys alone, one a line.
int KeysCommand(const std::string& key, bool json, bool names);
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

// The key as a message names it when no setting has it, with the closest known key; true
// when the key is known.
bool KnownKey(const std::string& file, const std::string& key);

} // namespace pfsetup::app
