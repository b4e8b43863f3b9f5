// The registry keys, WinExec and ShellExecute against a private desktop whose default browser
// and text viewer are the recording stand-in program.
#include "desktop_test_support.h"
#include "platform/linux/linux_programs.h"
#include "platform/linux/linux_registry.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <nlohmann/json.hpp>
#include <thread>

namespace ofu::testing {
namespace {

using platform::RegistryRoot;
using Argv = std::vector<std::string>;

const std::string kBrowserId = "ofu-recorder.desktop";
const std::string kCommandKey = R"(Software\Clients\StartMenuInternet\ofu-recorder.desktop\shell\open\command)";

// Children of this process that have not been reaped yet, running or zombie.
std::size_t UnreapedChildren() {
    std::size_t count = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream children(task.path() / "children");
        for (std::string pid; children >> pid;) ++count;
    }
    return count;
}

bool AllChildrenReaped() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (UnreapedChildren() != 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return UnreapedChildren() == 0;
}

class PrivateDesktop : public ::testing::Test {
protected:
    PrivateDesktop() {
        const std::string root = temp.path.string();
        env.Set("HOME", root + "/home");
        env.Set("XDG_CONFIG_HOME", root + "/home/.config");
        env.Set("XDG_CONFIG_DIRS", root + "/etc/xdg");
        env.Set("XDG_DATA_HOME", root + "/home/.local/share");
        env.Set("XDG_DATA_DIRS", root + "/usr/share");
        env.Unset("XDG_CURRENT_DESKTOP");
        env.Set("OFU_RECORDER_LOG", logPath);
        temp.Write("home/.local/share/applications/" + kBrowserId,
                   "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" OFU_BROWSER_RECORDER
                   " --new-window %u\nMimeType=x-scheme-handler/http;\n");
        temp.Write("usr/share/applications/ofu-viewer.desktop",
                   "[Desktop Entry]\nType=Application\nName=Viewer\nExec=" OFU_BROWSER_RECORDER " --view %f\n");
        temp.Write("home/.config/mimeapps.list", "[Default Applications]\nx-scheme-handler/http=" + kBrowserId +
                                                     "\nx-scheme-handler/https=" + kBrowserId +
                                                     "\ntext/plain=ofu-viewer.desktop\n");
    }

    // The recorder's lines, once `count` of them have arrived (it runs on its own).
    std::vector<nlohmann::json> Recorded(std::size_t count) const {
        std::vector<nlohmann::json> lines;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            lines.clear();
            std::ifstream log(logPath);
            for (std::string line; std::getline(log, line);) lines.push_back(nlohmann::json::parse(line));
            if (lines.size() >= count) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return lines;
    }
    Argv RecordedArgv() const {
        const auto lines = Recorded(1);
        return lines.size() == 1 ? lines[0]["argv"].get<Argv>() : Argv{"(" + std::to_string(lines.size()) + " starts)"};
    }

    TempFolder temp;
    ScopedEnvironment env;
    const std::string logPath = temp.path.string() + "/recorder.jsonl";
    platform::LinuxRegistry registry;
    platform::LinuxPrograms programs;
};

TEST_F(PrivateDesktop, RegistryNamesTheDefaultBrowserAndItsCommandLine) {
    EXPECT_EQ(registry.QueryString(RegistryRoot::LocalMachine, platform::kStartMenuInternetKey, "", 120), kBrowserId);
    EXPECT_EQ(registry.QueryString(RegistryRoot::LocalMachine, R"(SOFTWARE\clients\startmenuinternet)", "", 120),
              kBrowserId);
    EXPECT_EQ(registry.QueryString(RegistryRoot::LocalMachine, kCommandKey, "", 120),
              std::string(OFU_BROWSER_RECORDER) + " --new-window");
}

TEST_F(PrivateDesktop, RegistryAnswersNothingElse) {
    const std::size_t exact = kBrowserId.size() + 1;
    EXPECT_TRUE(registry.QueryString(RegistryRoot::LocalMachine, platform::kStartMenuInternetKey, "", exact));
    EXPECT_FALSE(registry.QueryString(RegistryRoot::LocalMachine, platform::kStartMenuInternetKey, "", exact - 1));
    EXPECT_FALSE(registry.QueryString(RegistryRoot::CurrentUser, platform::kStartMenuInternetKey, "", 120));
    EXPECT_FALSE(registry.QueryString(RegistryRoot::LocalMachine, platform::kStartMenuInternetKey, "Name", 120));
    EXPECT_FALSE(registry.QueryString(RegistryRoot::LocalMachine, R"(Software\Clients\StartMenuInternet\other.desktop\shell\open\command)", "", 120));
    EXPECT_FALSE(registry.QueryString(RegistryRoot::LocalMachine, R"(Software\Clients\StartMenuInternet\\shell\open\command)", "", 120));
    EXPECT_FALSE(registry.QueryString(RegistryRoot::LocalMachine, R"(Software\Microsoft\Windows)", "", 120));
    temp.Write("home/.config/mimeapps.list", "");
    EXPECT_FALSE(registry.QueryString(RegistryRoot::LocalMachine, platform::kStartMenuInternetKey, "", 120));
}

TEST_F(PrivateDesktop, TheBrowserCommandLineStartsTheBrowserWithTheAddressAsItsExecSays) {
    const auto command = registry.QueryString(RegistryRoot::LocalMachine, kCommandKey, "", 120);
    ASSERT_TRUE(command);
    EXPECT_EQ(programs.WinExec(*command + " http://10.77.1.10", platform::kSwHide), 33u);
    const auto lines = Recorded(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["argv"], (Argv{"--new-window", "http://10.77.1.10"}));
    EXPECT_EQ(lines[0]["cwd"], std::filesystem::current_path().string());
    EXPECT_TRUE(AllChildrenReaped());
}

TEST_F(PrivateDesktop, ExplorerOpensAUrlWithTheSchemesHandlerAndNoShell) {
    const std::string url = "https://10.77.1.10/?q=$(touch%20" + temp.path.string() + "/ran)`id`&b=2";
    EXPECT_EQ(programs.WinExec("EXPLORER.EXE " + url, platform::kSwHide), 33u);
    EXPECT_EQ(RecordedArgv(), (Argv{"--new-window", url}));
    EXPECT_FALSE(std::filesystem::exists(temp.path / "ran"));
    EXPECT_EQ(programs.WinExec("explorer ofu-unknown-scheme://x", platform::kSwHide), 2u);
    EXPECT_EQ(programs.WinExec("explorer", platform::kSwHide), 2u);
}

TEST_F(PrivateDesktop, WinExecReportsProgramsThatCannotStartAsWindowsDoes) {
    EXPECT_EQ(programs.WinExec("ofu-no-such-program-7f3a http://10.77.1.10", 0), 2u);
    EXPECT_EQ(programs.WinExec(temp.path.string() + "/absent-program", 0), 2u);
    EXPECT_EQ(programs.WinExec(temp.path.string() + "/no-such-folder/program", 0), 3u);
    EXPECT_EQ(programs.WinExec(" http://10.77.1.10", 0), 2u);
    EXPECT_EQ(programs.WinExec(temp.Write("plain.txt", "text\n", 0644), 0), 11u);
    // Not a program to the kernel; a shell would run it as a script.
    const std::string script = temp.Write("script", "touch " + temp.path.string() + "/ran\n", 0755);
    EXPECT_EQ(programs.WinExec(script, 0), 11u);
    EXPECT_EQ(programs.WinExec('"' + temp.path.string() + '"', 0), 11u);  // a folder
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(std::filesystem::exists(temp.path / "ran"));
}

TEST_F(PrivateDesktop, ShellExecuteOpensADocumentWithItsTypesHandler) {
    const std::string document = temp.Write("docs/readme.txt", "plain words\n");
    EXPECT_EQ(programs.ShellExecute("open", "readme.txt", "", (temp.path / "docs").string(), platform::kSwShow), 42);
    const auto lines = Recorded(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["argv"], (Argv{"--view", document}));
    EXPECT_EQ(lines[0]["cwd"], (temp.path / "docs").string());
}

TEST_F(PrivateDesktop, ShellExecuteFindsTheFileInTheCurrentFolder) {
    const std::string document = temp.Write("widget folder/OSTRELEu_QMR120_Widget.txt", "widget\n");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(temp.path / "widget folder");
    const std::intptr_t result = programs.ShellExecute("open", "OSTRELEu_QMR120_Widget.txt", "", "", platform::kSwShow);
    std::filesystem::current_path(previous);
    EXPECT_EQ(result, 42);
    EXPECT_EQ(RecordedArgv(), (Argv{"--view", document}));
}

TEST_F(PrivateDesktop, ShellExecuteReportsMissingFilesAndTypesWithoutHandler) {
    temp.Write("model.widget", std::string("\0\1\2\3binary", 10));
    const std::string folder = temp.path.string();
    EXPECT_EQ(programs.ShellExecute("open", "absent.widget", "", folder, platform::kSwShow), 2);
    EXPECT_EQ(programs.ShellExecute("open", "model.widget", "", folder, platform::kSwShow), 31);
    EXPECT_EQ(programs.ShellExecute("print", "model.widget", "", folder, platform::kSwShow), 31);
    EXPECT_EQ(programs.ShellExecute("open", "", "", folder, platform::kSwShow), 2);
}

}  // namespace
}  // namespace ofu::testing
