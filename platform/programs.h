// Starting programs and opening documents, with the results of the Windows calls
// (WinExec and ShellExecuteA).
#pragma once

#include <cstdint>
#include <string_view>

namespace ofu::platform {

inline constexpr int kSwHide = 0;
inline constexpr int kSwShow = 5;

// WinExec results below 32.
inline constexpr unsigned kExecOutOfResources = 0;
inline constexpr unsigned kExecFileNotFound = 2;
inline constexpr unsigned kExecPathNotFound = 3;
inline constexpr unsigned kExecBadFormat = 11;
// ShellExecuteA result when no program is registered for the file's type.
inline constexpr std::intptr_t kShellNoAssociation = 31;

class Programs {
public:
    virtual ~Programs() = default;
    // Starts the program named at the head of `commandLine` (a quoted path or the text up to
    // the first blank) with the rest as its arguments, split by the Windows rules. Above 31
    // when it started; 0, 2, 3 or 11 otherwise.
    virtual unsigned WinExec(std::string_view commandLine, int showMode) = 0;
    // Performs `operation` ("open") on `file` (relative to the current directory unless
    // absolute) with the program registered for its type. Above 32 on success; 2 when the
    // file is missing, 31 when no program handles its type.
    virtual std::intptr_t ShellExecute(std::string_view operation, std::string_view file,
                                       std::string_view parameters, std::string_view directory,
                                       int showMode) = 0;
};

}  // namespace ofu::platform
