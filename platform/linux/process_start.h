// Starting a program from an argument vector, never through a shell, so that no text of a
// device or user is ever read as shell syntax. The program runs in a session of its own and
// may outlive the caller.
#pragma once

#include <string>
#include <vector>

namespace ofu::platform::linux_exec {

// Result codes as WinExec gives them.
inline constexpr unsigned kStarted = 33;

// Starts argv[0] (searched in PATH when it has no slash) with the environment of this process,
// in `workingFolder` when not empty. Its standard streams are inherited, no other descriptor.
// The child is reaped by a thread of its own, so it leaves no zombie when it ends. Returns kStarted,
// 2 when the program does not exist, 3 when a folder on its path does not, 11 when it is not
// executable or not a program, 0 on other failures.
unsigned StartProgram(const std::vector<std::string>& argv, const std::string& workingFolder = {});

}  // namespace ofu::platform::linux_exec
