#include "platform/linux/linux_programs.h"

#include "platform/linux/desktop_open.h"
#include "platform/linux/process_start.h"
#include "platform/linux/windows_command_line.h"
#include "base/ascii_case.h"

#include <vector>

namespace ofu::platform {
namespace {

constexpr std::intptr_t kShellStarted = 42;

bool IsExplorer(std::string_view program) {
    return EqualsIgnoringAsciiCase(program, "explorer") || EqualsIgnoringAsciiCase(program, "explorer.exe");
}

// Each argument opened as explorer opens it: a URL by its scheme's handler, a path by its
// type's. Started when any of them started.
unsigned OpenWithExplorer(const std::vector<std::string>& arguments) {
    bool started = false;
    for (const std::string& argument : arguments)
        started = desktop::OpenUrlOrPath(argument).outcome == desktop::OpenOutcome::Started || started;
    return started ? linux_exec::kStarted : kExecFileNotFound;
}

}  // namespace

unsigned LinuxPrograms::WinExec(std::string_view commandLine, int) {
    windows_cmd::CommandLine line = windows_cmd::SplitCommandLine(commandLine);
    if (line.program.empty()) return kExecFileNotFound;
    if (IsExplorer(line.program)) return OpenWithExplorer(line.arguments);
    std::vector<std::string> argv;
    argv.reserve(line.arguments.size() + 1);
    argv.push_back(std::move(line.program));
    for (std::string& argument : line.arguments) argv.push_back(std::move(argument));
    return linux_exec::StartProgram(argv);
}

std::intptr_t LinuxPrograms::ShellExecute(std::string_view operation, std::string_view file, std::string_view,
                                          std::string_view directory, int) {
    if (!operation.empty() && !EqualsIgnoringAsciiCase(operation, "open")) return kShellNoAssociation;
    if (file.empty()) return kExecFileNotFound;
    std::string path(file);
    const std::string folder(directory);
    if (path.front() != '/' && !folder.empty()) path = folder + "/" + path;
    const desktop::OpenResult result = desktop::OpenLocalFile(path, folder);
    switch (result.outcome) {
        case desktop::OpenOutcome::Started: return kShellStarted;
        case desktop::OpenOutcome::Missing: return kExecFileNotFound;
        case desktop::OpenOutcome::NoHandler: return kShellNoAssociation;
        case desktop::OpenOutcome::NotStarted: return static_cast<std::intptr_t>(result.startCode);
    }
    return kExecOutOfResources;
}

}  // namespace ofu::platform
