#include "persist/tree/st_setup_file.h"

#include "base/ascii_text.h"
#include "base/module_state.h"
#include "projfile/project_parser.h"
#include "projfile/spi_project.h"
#include "setup/number_text.h"
#include "setup/setting_tables.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>
#include <unordered_set>

namespace pfsetup {

namespace {

// Finds or makes the child; a node of another kind is replaced, keeping its children.
ARTreeNode* PlaceNode(ARTreeNode& parent, const std::string& name, const std::string& kind) {
    ARTreeNode* existing = parent.getNamedChild(name);
    if (existing && kind.empty()) {
        return existing;
    }
    std::unique_ptr<ARTreeNode> made = MakeTreeNode(kind.empty() ? "node" : kind, name);
    if (existing) {
        if (std::string(existing->kind()) == made->kind()) {
            return existing;
        }
        for (auto& child : existing->takeChildren()) {
            made->addChild(child.release(), 1, -1);
        }
        for (const auto& param : existing->params()) {
            made->addParam(param.first, param.second);
        }
        parent.deleteChild(existing);
    }
    return parent.addChild(made.release(), 1, -1);
}

using RootsByName = std::unordered_map<std::string, ARTreeNode*>; // by TreeNameKey

std::string DepthProblem(std::size_t depth) {
    return FormatInt(static_cast<long long>(depth)) +
           " names deep; the settings tree holds at most " +
           FormatInt(static_cast<long long>(kTreeDepthLimit));
}

} // namespace

FileIdentity& TreeSourceIdentity() {
    static FileIdentity identity;
    static const ModuleStateReset reset([] { identity = FileIdentity(); });
    return identity;
}

std::vector<std::unique_ptr<ARTreeNode>> BuildTreeRoots(const SpiProject& project,
                                                        std::string& problem) {
    std::vector<std::unique_ptr<ARTreeNode>> roots;
    RootsByName rootsByName;
    const SpiProgram* section = project.Programs().Lookup(kTreeSection);
    if (!section) {
        return roots;
    }
    for (const auto& directive : section->directives) {
        const SpiValueList values = directive->ActiveValues();
        // A node without a kind was taken out at a later level; comment lines name no node.
        if (values.empty() || IsCommentName(directive->Name())) {
            continue;
        }
        const std::string path(directive->Name());
        const std::string kind(*values.begin());
        // Kinds are words, handed on as C strings: one holding a NUL byte is none.
        if (kind.find('\0') != std::string::npos) {
            continue;
        }
        const std::size_t depth =
            static_cast<std::size_t>(std::count(path.begin(), path.end(), '/')) + 1;
        if (depth > kTreeDepthLimit) {
            const SpiOrigin origin = project.Programs().Origin(*directive, directive->level);
            problem = origin.File() + ":" + FormatInt(origin.line) + ": a settings tree path " +
                      DepthProblem(depth);
            SetLastError(Failure(ErrorKind::Syntax, origin.File(),
                                 "a settings tree path " + DepthProblem(depth), origin.line));
            roots.clear();
            return roots;
        }
        size_t start = 0;
        size_t slash = path.find('/');
        const std::string rootName = path.substr(0, slash);
        ARTreeNode*& node = rootsByName[TreeNameKey(rootName)];
        if (!node) {
            roots.push_back(std::make_unique<ARTreeNode>(rootName));
            node = roots.back().get();
        }
        ARTreeNode* current = node;
        while (slash != std::string::npos) {
            start = slash + 1;
            slash = path.find('/', start);
            const bool last = slash == std::string::npos;
            current = PlaceNode(*current, path.substr(start, slash - start), last ? kind : "");
        }
        for (auto value = std::next(values.begin()); value != values.end(); ++value) {
            const std::string param(*value);
            const size_t equals = param.find('=');
            if (equals == std::string::npos || equals == 0) {
                continue;
            }
            bool digits = true;
            for (size_t k = 0; k < equals; ++k) {
                digits = digits && param[k] >= '0' && param[k] <= '9';
            }
            if (digits && equals < 10) {
                current->addParam(ParseInt(param.substr(0, equals)), param.substr(equals + 1));
            }
        }
    }
    return roots;
}

bool PutTreeIntoProject(SpiProject& project, const std::vector<ARTreeNode*>& roots,
                        std::string& problem) {
    for (ARTreeNode* root : roots) {
        std::size_t deepest = 0;
        ForEachTreeNode(*root, [&deepest](ARTreeNode&, std::size_t depth) {
            deepest = std::max(deepest, depth);
        });
        if (deepest > kTreeDepthLimit) {
            problem = "a settings tree node " + root->name() + "/... lies " + DepthProblem(deepest);
            return false;
        }
    }
    // The tree the file holds now: what it has and the roots lack was taken out here.
    std::string unreadable;
    const std::vector<std::unique_ptr<ARTreeNode>> held = BuildTreeRoots(project, unreadable);
    if (project.FindProgram(kTreeSection) != 0) {
        project.AddProgram(kTreeSection);
        project.FindProgram(kTreeSection);
    }
    const SpiProgram* section = project.Programs().Lookup(kTreeSection);
    std::unordered_set<std::string> written; // paths by TreeNameKey
    std::vector<std::string> values;
    // Calls `each(node, path)` for every node below `roots` that a directive can name.
    const auto forEachPath = [](const auto& trees, auto&& each) {
        std::string path;
        std::vector<std::size_t> pathEnds; // the length of the path at each depth
        for (const auto& root : trees) {
            std::size_t skipBelow = 0;
            ForEachTreeNode(*root, [&](ARTreeNode& node, std::size_t depth) {
                if (skipBelow != 0 && depth > skipBelow) {
                    return;
                }
                skipBelow = 0;
                if (node.name().find('/') != std::string::npos) {
                    skipBelow = depth; // such a name would read back as a deeper path
                    return;
                }
                path.resize(depth == 1 ? 0 : pathEnds[depth - 2]);
                if (depth > 1) {
                    path += '/';
                }
                path += node.name();
                pathEnds.resize(depth);
                pathEnds[depth - 1] = path.size();
                if (!path.empty()) { // a root without a name: no directive names it
                    each(node, path);
                }
            });
        }
    };
    // A node changes only its own line, where it stands; a new one is added at the end.
    forEachPath(roots, [&](ARTreeNode& node, const std::string& path) {
        written.insert(TreeNameKey(path));
        values.assign(1, node.kind());
        for (const auto& param : node.params()) {
            values.push_back(FormatInt(param.first) + "=" + param.second);
        }
        if (project.FindDirective(path) != 0) {
            project.AddDirective(path);
            for (const std::string& value : values) {
                project.AddValue(value);
            }
            return;
        }
        const SpiDirective* directive = section->directives.Lookup(path);
        // A line of the user's file alone that spells the path otherwise (one without values
        // reads in upper case) would name the node so when read back: it is written anew, in
        // the node's own spelling. An installed line spells the node already.
        if (directive->Name() != path && !directive->HasLevel(SpiInstallLevel) &&
            !directive->HasLevel(SpiSiteLevel)) {
            project.DeleteDirective(path);
            project.AddDirective(path);
            for (const std::string& value : values) {
                project.AddValue(value);
            }
            return;
        }
        const SpiValueList now = directive->ActiveValues();
        if (!std::equal(now.begin(), now.end(), values.begin(), values.end())) {
            project.SetValues(values);
        }
    });
    // A node the roots no longer hold leaves the user's file; an installed one is taken out
    // by a line holding only its path.
    forEachPath(held, [&](ARTreeNode&, const std::string& path) {
        if (written.count(TreeNameKey(path)) || project.FindDirective(path) != 0) {
            return;
        }
        const SpiDirective* directive = section->directives.Lookup(path);
        if (directive->HasLevel(SpiInstallLevel) || directive->HasLevel(SpiSiteLevel)) {
            project.SetValues({});
        } else {
            project.DeleteDirective(path);
        }
    });
    return true;
}

} // namespace pfsetup

using namespace pfsetup;

STSetupFile::STSetupFile(std::string fileName, bool) : fileName_(std::move(fileName)) {}

ARStatus& STSetupFile::parse(ARStatus& status) {
    SpiProject project;
    if (project.Open(fileName_) != 0) {
        status.fail(SpiLastMessage());
        return status;
    }
    return parse(status, project);
}

ARStatus& STSetupFile::parse(ARStatus& status, const SpiProject& project,
                             const FileIdentity* source) {
    std::string problem;
    std::vector<std::unique_ptr<ARTreeNode>> roots = BuildTreeRoots(project, problem);
    if (!problem.empty()) {
        status.fail(problem);
        return status;
    }
    for (auto& root : roots) {
        ARObjFind::registerRoot(std::move(root));
    }
    ARObjFind::setRootsSource(fileName_);
    TreeSourceIdentity() = source ? *source : IdentityOf(fileName_);
    return status;
}

STSetupWriter::STSetupWriter(std::string fileName, ARStatus& status)
    : fileName_(std::move(fileName)), status_(status) {}

void STSetupWriter::visit(ARTreeNode&) {
    SpiProject opened;
    if (!project_ && opened.Open(fileName_) != 0) {
        status_.fail(SpiLastMessage());
        return;
    }
    SpiProject& project = project_ ? *project_ : opened;
    std::string problem;
    if (!PutTreeIntoProject(project, ARObjFind::roots(), problem)) {
        status_.fail(problem);
        if (!LastError().Failed()) {
            SetLastError(Failure(ErrorKind::Value, fileName_, problem));
        }
        return;
    }
    if (editor_) {
        editor_(project);
    }
    if ((text_ && project_ ? project.SaveText(*text_, 0) : project.Save(fileName_, 0)) != 0) {
        status_.fail(SpiLastMessage());
    }
}

int STUtil::getVisibilityFromText(const std::string& text, int) {
    return VisibilityTreeCode(text);
}
