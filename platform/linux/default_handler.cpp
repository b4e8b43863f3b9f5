#include "platform/linux/default_handler.h"

#include "platform/linux/mime_apps.h"

#include <algorithm>
#include <deque>

namespace ofu::platform::desktop {
namespace {

// Folders below applications/ that an id like "vendor-sub-app.desktop" may stand for.
constexpr int kMaxIdFolderDepth = 8;
// Enough for any real type's ancestry; stops a looped subclass list.
constexpr std::size_t kMaxContentTypes = 16;

bool Contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

bool IsSafeId(const std::string& id) {
    return !id.empty() && id.front() != '.' && id.front() != '-' && id.find('/') == std::string::npos &&
           id.find('\0') == std::string::npos;
}

// The file below `folder` for the id: the id itself as a file name, or its '-' read as '/'
// where such sub-folders exist.
std::optional<std::string> DesktopFileFor(const std::string& folder, std::string_view rest, const DesktopFiles& files,
                                          int depth, std::string& text) {
    const std::string direct = folder + "/" + std::string(rest);
    if (std::optional<std::string> found = files.ReadText(direct)) {
        text = std::move(*found);
        return direct;
    }
    if (depth >= kMaxIdFolderDepth) return std::nullopt;
    for (std::size_t dash = rest.find('-'); dash != std::string_view::npos; dash = rest.find('-', dash + 1)) {
        if (dash == 0 || dash + 1 >= rest.size()) continue;
        const std::string sub = folder + "/" + std::string(rest.substr(0, dash));
        if (!files.IsFolder(sub)) continue;
        if (auto path = DesktopFileFor(sub, rest.substr(dash + 1), files, depth + 1, text)) return path;
    }
    return std::nullopt;
}

bool Usable(const DesktopApp& app, const DesktopEnvironment& environment, const DesktopFiles& files) {
    const DesktopEntry& entry = app.entry;
    if (entry.type != "Application" || entry.hidden || entry.exec.empty()) return false;
    if (!entry.tryExec.empty() && FindProgram(entry.tryExec, environment, files).empty()) return false;
    const auto command = ExpandExecLine(entry.exec, {entry.icon, entry.name, app.path}, std::nullopt);
    return command && !FindProgram(command->argv.front(), environment, files).empty();
}

// The app that the id names, when it is usable. The first desktop file found for the id
// decides, even when it is not usable (a user's Hidden copy hides the system's).
std::optional<DesktopApp> LoadUsableApp(const std::string& id, const DesktopEnvironment& environment,
                                        const DesktopFiles& files) {
    if (!IsSafeId(id)) return std::nullopt;
    for (const std::string& folder : ApplicationFolders(environment)) {
        std::string text;
        const std::optional<std::string> path = DesktopFileFor(folder, id, files, 0, text);
        if (!path) continue;
        std::optional<DesktopEntry> entry = ParseDesktopEntry(text);
        if (!entry) return std::nullopt;
        DesktopApp app{id, *path, std::move(*entry)};
        if (!Usable(app, environment, files)) return std::nullopt;
        return app;
    }
    return std::nullopt;
}

class Candidates {
public:
    Candidates(const DesktopEnvironment& environment, const DesktopFiles& files)
        : environment_(environment), files_(files) {}

    // The app for the first usable id not tried before.
    std::optional<DesktopApp> FirstUsable(const std::vector<std::string>& ids, const std::vector<std::string>& removed) {
        for (const std::string& id : ids) {
            if (Contains(tried_, id) || Contains(removed, id)) continue;
            tried_.push_back(id);
            if (auto app = LoadUsableApp(id, environment_, files_)) return app;
        }
        return std::nullopt;
    }

private:
    const DesktopEnvironment& environment_;
    const DesktopFiles& files_;
    std::vector<std::string> tried_;
};

}  // namespace

std::string FindProgram(const std::string& name, const DesktopEnvironment& environment, const DesktopFiles& files) {
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos) return files.IsExecutableFile(name) ? name : std::string();
    for (const std::string& folder : environment.programPath) {
        const std::string path = (folder.empty() ? std::string(".") : folder) + "/" + name;
        if (files.IsExecutableFile(path)) return path;
    }
    return {};
}

std::optional<DesktopApp> FindDefaultApp(std::string_view mimeType, const DesktopEnvironment& environment,
                                         const DesktopFiles& files) {
    std::vector<MimeAppsChoices> lists;
    for (const std::string& path : MimeAppsListPaths(environment))
        if (const std::optional<std::string> text = files.ReadText(path)) lists.push_back(ReadMimeAppsList(*text, mimeType));

    Candidates candidates(environment, files);
    for (const MimeAppsChoices& list : lists)
        if (auto app = candidates.FirstUsable(list.defaults, {})) return app;

    // A removal counts for the file that says it and every less important one.
    std::vector<std::string> removed;
    for (const MimeAppsChoices& list : lists) {
        removed.insert(removed.end(), list.removed.begin(), list.removed.end());
        if (auto app = candidates.FirstUsable(list.added, removed)) return app;
    }
    for (const std::string& folder : ApplicationFolders(environment)) {
        const std::optional<std::string> text = files.ReadText(folder + "/mimeinfo.cache");
        if (!text) continue;
        if (auto app = candidates.FirstUsable(ReadMimeInfoCache(*text, mimeType), removed)) return app;
    }
    return std::nullopt;
}

std::optional<DesktopApp> FindAppForContentType(std::string_view mimeType, const DesktopEnvironment& environment,
                                                const DesktopFiles& files) {
    std::vector<std::string> subclassTexts;
    for (const std::string& path : MimeSubclassPaths(environment))
        if (std::optional<std::string> text = files.ReadText(path)) subclassTexts.push_back(std::move(*text));

    std::vector<std::string> seen{std::string(mimeType)};
    std::deque<std::string> queue{std::string(mimeType)};
    while (!queue.empty()) {
        const std::string type = std::move(queue.front());
        queue.pop_front();
        if (auto app = FindDefaultApp(type, environment, files)) return app;
        std::vector<std::string> parents;
        for (const std::string& text : subclassTexts)
            for (std::string& parent : ReadMimeParents(text, type)) parents.push_back(std::move(parent));
        if (type.rfind("text/", 0) == 0) parents.emplace_back("text/plain");
        for (std::string& parent : parents) {
            if (Contains(seen, parent) || seen.size() >= kMaxContentTypes) continue;
            seen.push_back(parent);
            queue.push_back(std::move(parent));
        }
    }
    return std::nullopt;
}

std::optional<std::vector<std::string>> AppCommand(const DesktopApp& app, const std::optional<ExecTarget>& target) {
    const DesktopEntry& entry = app.entry;
    std::optional<ExpandedExec> command = ExpandExecLine(entry.exec, {entry.icon, entry.name, app.path}, target);
    if (!command) return std::nullopt;
    if (target && !command->namesTarget)
        command->argv.push_back(target->localPath.empty() ? target->uri : target->localPath);
    return std::move(command->argv);
}

}  // namespace ofu::platform::desktop
