#include "platform/linux/default_handler.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace ofu::platform::desktop {
namespace {

constexpr std::string_view kHttp = "x-scheme-handler/http";

class MemoryFiles final : public DesktopFiles {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> executables;

    std::optional<std::string> ReadText(const std::string& path) const override {
        const auto it = files.find(path);
        if (it == files.end()) return std::nullopt;
        return it->second;
    }
    bool IsFolder(const std::string& path) const override {
        const auto it = files.lower_bound(path + "/");
        return it != files.end() && it->first.rfind(path + "/", 0) == 0;
    }
    bool IsExecutableFile(const std::string& path) const override { return executables.count(path) != 0; }
};

class FindingTheDefaultApp : public ::testing::Test {
protected:
    FindingTheDefaultApp() {
        env.configHome = "/home/u/.config";
        env.configDirs = {"/etc/xdg"};
        env.dataHome = "/home/u/.local/share";
        env.dataDirs = {"/usr/local/share", "/usr/share"};
        env.programPath = {"/usr/bin"};
    }

    // A working application named `id` whose program is /usr/bin/PROGRAM.
    void AddApp(const std::string& folder, const std::string& file, const std::string& program,
                const std::string& extra = "") {
        fs.files[folder + "/" + file] = "[Desktop Entry]\nType=Application\nName=" + program + "\nExec=" + program +
                                        " %u\n" + extra;
        fs.executables.insert("/usr/bin/" + program);
    }
    void SetDefault(const std::string& listPath, const std::string& ids) {
        fs.files[listPath] += "[Default Applications]\nx-scheme-handler/http=" + ids + "\n";
    }
    std::string Found(std::string_view type = kHttp) {
        const auto app = FindDefaultApp(type, env, fs);
        return app ? app->id : "(none)";
    }

    const std::string systemApps = "/usr/share/applications";
    const std::string userApps = "/home/u/.local/share/applications";
    DesktopEnvironment env;
    MemoryFiles fs;
};

TEST_F(FindingTheDefaultApp, TakesTheMostImportantListThatNamesOne) {
    for (const char* id : {"data-dirs", "data-home", "config-dirs", "config-home"})
        AddApp(systemApps, std::string(id) + ".desktop", id);
    SetDefault(systemApps + "/mimeapps.list", "data-dirs.desktop");
    EXPECT_EQ(Found(), "data-dirs.desktop");
    SetDefault(userApps + "/mimeapps.list", "data-home.desktop");
    EXPECT_EQ(Found(), "data-home.desktop");
    SetDefault("/etc/xdg/mimeapps.list", "config-dirs.desktop");
    EXPECT_EQ(Found(), "config-dirs.desktop");
    SetDefault("/home/u/.config/mimeapps.list", "config-home.desktop");
    EXPECT_EQ(Found(), "config-home.desktop");
}

TEST_F(FindingTheDefaultApp, PrefersTheCurrentDesktopsOwnList) {
    AddApp(systemApps, "plain.desktop", "plain");
    AddApp(systemApps, "gnome.desktop", "gnomeapp");
    SetDefault("/home/u/.config/mimeapps.list", "plain.desktop");
    SetDefault("/home/u/.config/gnome-mimeapps.list", "gnome.desktop");
    EXPECT_EQ(Found(), "plain.desktop");
    env.desktopNames = {"ubuntu", "gnome"};
    EXPECT_EQ(Found(), "gnome.desktop");
}

TEST_F(FindingTheDefaultApp, SkipsIdsThatCannotStart) {
    AddApp(systemApps, "hidden.desktop", "hidden", "Hidden=true\n");
    AddApp(systemApps, "notry.desktop", "notry", "TryExec=/opt/absent\n");
    fs.files[systemApps + "/noprog.desktop"] = "[Desktop Entry]\nType=Application\nExec=absent-program %u\n";
    fs.files[systemApps + "/link.desktop"] = "[Desktop Entry]\nType=Link\nURL=http://x\n";
    AddApp(systemApps, "quiet.desktop", "quiet", "NoDisplay=true\n");
    SetDefault("/home/u/.config/mimeapps.list",
               "missing.desktop;hidden.desktop;notry.desktop;noprog.desktop;link.desktop;../x.desktop;quiet.desktop;");
    EXPECT_EQ(Found(), "quiet.desktop");
}

TEST_F(FindingTheDefaultApp, LetsTheUsersCopyOfAnIdDecide) {
    AddApp(systemApps, "web.desktop", "web");
    AddApp(userApps, "web.desktop", "web", "Hidden=true\n");
    AddApp(systemApps, "other.desktop", "other");
    SetDefault("/etc/xdg/mimeapps.list", "web.desktop;other.desktop");
    EXPECT_EQ(Found(), "other.desktop");
}

TEST_F(FindingTheDefaultApp, FindsVendorIdsInSubFolders) {
    AddApp(systemApps + "/vendor", "five.desktop", "five");
    SetDefault("/etc/xdg/mimeapps.list", "vendor-five.desktop");
    const auto app = FindDefaultApp(kHttp, env, fs);
    ASSERT_TRUE(app);
    EXPECT_EQ(app->path, systemApps + "/vendor/five.desktop");
}

TEST_F(FindingTheDefaultApp, FallsBackToAddedAssociationsThenTheCache) {
    for (const char* id : {"added", "removed", "cached"}) AddApp(systemApps, std::string(id) + ".desktop", id);
    fs.files[systemApps + "/mimeinfo.cache"] = "[MIME Cache]\nx-scheme-handler/http=removed.desktop;cached.desktop;\n";
    EXPECT_EQ(Found(), "removed.desktop");
    fs.files["/home/u/.config/mimeapps.list"] = "[Removed Associations]\nx-scheme-handler/http=removed.desktop\n";
    EXPECT_EQ(Found(), "cached.desktop");
    fs.files["/etc/xdg/mimeapps.list"] = "[Added Associations]\nX-Scheme-Handler/HTTP=removed.desktop;added.desktop\n";
    EXPECT_EQ(Found(), "added.desktop");
}

TEST_F(FindingTheDefaultApp, TriesParentTypesForContentNearestFirst) {
    AddApp(systemApps, "text.desktop", "text");
    AddApp(systemApps, "c.desktop", "c");
    fs.files["/etc/xdg/mimeapps.list"] = "[Default Applications]\ntext/plain=text.desktop\ntext/x-c=c.desktop\n";
    fs.files["/usr/share/mime/subclasses"] = "text/x-csrc text/x-c\ntext/x-c text/plain\n";
    EXPECT_EQ(FindAppForContentType("text/x-csrc", env, fs)->id, "c.desktop");
    EXPECT_EQ(FindAppForContentType("text/x-ofu-log", env, fs)->id, "text.desktop");
    EXPECT_FALSE(FindAppForContentType("application/x-ofu-widget", env, fs));
}

TEST(ReadingTheDesktopEnvironment, UsesDefaultsForUnsetOrRelativeFoldersAndListsInOrder) {
    const std::map<std::string, std::string> values{{"XDG_CONFIG_HOME", "relative/config"},
                                                    {"XDG_CONFIG_DIRS", "rel:/etc/site"},
                                                    {"XDG_DATA_DIRS", ""},
                                                    {"XDG_CURRENT_DESKTOP", "ubuntu:GNOME:../x"}};
    const DesktopEnvironment env = DesktopEnvironmentFrom(
        [&](const char* name) -> std::optional<std::string> {
            const auto it = values.find(name);
            return it == values.end() ? std::nullopt : std::optional<std::string>(it->second);
        },
        "/home/u");
    EXPECT_EQ(env.programPath, (std::vector<std::string>{"/bin", "/usr/bin"}));
    const std::vector<std::string> lists = MimeAppsListPaths(env);
    ASSERT_EQ(lists.size(), 15u);  // 5 folders, 2 desktops; "../x" is no desktop name
    EXPECT_EQ(std::vector<std::string>(lists.begin(), lists.begin() + 4),
              (std::vector<std::string>{"/home/u/.config/ubuntu-mimeapps.list", "/home/u/.config/gnome-mimeapps.list",
                                        "/home/u/.config/mimeapps.list", "/etc/site/ubuntu-mimeapps.list"}));
    EXPECT_EQ(lists[8], "/home/u/.local/share/applications/mimeapps.list");
    EXPECT_EQ(lists[14], "/usr/share/applications/mimeapps.list");
}

}  // namespace
}  // namespace ofu::platform::desktop
