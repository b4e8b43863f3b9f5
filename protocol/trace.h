// The trace lines the commands write to the process's console ("codepage=850" and so on).
#pragma once

#include <functional>
#include <string_view>

namespace ofu {

// Writes "<name>=<value>\n" to the trace sink (standard error unless replaced). Control
// characters of the value are written as '?'.
void WriteTrace(std::string_view name, std::string_view value);

// Replaces the sink that receives each whole line; an empty function restores standard error.
void SetTraceSink(std::function<void(std::string_view line)> sink);

}  // namespace ofu
