#pragma once
// The settings tree inside the project file: one program section, SETUP_TREE, one directive per
// node in pre-order, named by the node's path from its root, with the node kind as first value
// and each set parameter as "N=text":
//
//   PFG/Symbol/GridSize 'value' '1=0.050000'
//
// Parsing opens the project as always (install, site and user merged), so the install file's
// skeleton supplies the nodes the settings writer expects; comment lines name no node. Writing
// changes only the lines of nodes that changed, where they stand, and adds new ones at the
// section's end, through a selective save that keeps every other line of the user's file. A
// directive without values takes out the installed node of its path: the writer writes one for
// every installed node the tree no longer has. A path holds at most kTreeDepthLimit names; a
// deeper one fails the parse (and the write).

#include "persist/tree/ar_tree.h"
#include "projfile/file_io.h"

#include <functional>
#include <string>

class SpiProject;
class CPFCoreSetupAPI;

namespace pfsetup {
struct SettingKey;
}

namespace pfsetup {
constexpr const char* kTreeSection = "SETUP_TREE";
}

class STSetupFile {
public:
    STSetupFile(std::string fileName, bool userFile);
    void setReadMode(int mode) { readMode_ = mode; }
    // Reads the tree and registers its roots ("PFG", "PropertyFile"); a project that cannot be
    // opened fails the status and registers nothing.
    ARStatus& parse(ARStatus& status);
    // The same from the file already opened as `project`; `source` is the identity the roots
    // are registered with (TreeSourceIdentity), the file's own when not given.
    ARStatus& parse(ARStatus& status, const SpiProject& project,
                    const pfsetup::FileIdentity* source = nullptr);

private:
    std::string fileName_;
    int readMode_ = 0;
};

class STSetupWriter : public ARTreeVisitor {
public:
    // Further edits made to the opened project before the one save (the settings section).
    using ProjectEditor = std::function<void(SpiProject&)>;

    STSetupWriter(std::string fileName, ARStatus& status);
    void setProjectEditor(ProjectEditor editor) { editor_ = std::move(editor); }
    // Writes through `project`, the file already opened, instead of opening it again.
    void setProject(SpiProject* project) { project_ = project; }
    // Saves the project into `text` instead of the file (a project held in memory; needs
    // setProject).
    void setOutput(std::string* text) { text_ = text; }
    // Writes every registered root into the file; failures go to the status.
    void visit(ARTreeNode& node) override;

private:
    std::string fileName_;
    ARStatus& status_;
    ProjectEditor editor_;
    SpiProject* project_ = nullptr;
    std::string* text_ = nullptr;
};

class STUtil {
public:
    // "Invisible" 0, "Name" 1, "Value" 2, "Both" 3 (letter case ignored); another text 0.
    static int getVisibilityFromText(const std::string& text, int domain);
};

namespace pfsetup {

// The identity the project file of the registered roots (ARObjFind::rootsSource) had when they
// were parsed from it or last written to it: a file changed since holds another tree.
FileIdentity& TreeSourceIdentity();

// What the settings writer puts into the tree: the name of a pin type's node (the type without
// its underscores), and the text of the leaf of a single setting (`row.treeNode`).
std::string PinTypeNodeName(const std::string& pinType);
std::string TreeLeafValue(const SettingKey& row, CPFCoreSetupAPI& store);

// The roots described by the project's SETUP_TREE section (a missing parent is made as a
// plain node); none when the section is absent. A path deeper than the tree holds gives no
// roots and `problem` ("FILE:LINE: ...").
std::vector<std::unique_ptr<ARTreeNode>> BuildTreeRoots(const SpiProject& project,
                                                        std::string& problem);
// Makes the project's SETUP_TREE section describe the given roots, changing only the lines of
// nodes that differ from what it holds; false with `problem` when a node lies deeper than the
// tree holds (the project unchanged).
bool PutTreeIntoProject(SpiProject& project, const std::vector<ARTreeNode*>& roots,
                        std::string& problem);

} // namespace pfsetup
