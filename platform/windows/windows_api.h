// The Windows headers as this layer includes them, for its .cpp files and its tests only.
// The headers define a name for each A/W pair of calls (GetUserName, CopyFile, ...); some of
// them are the names of our own interface methods, so they are undefined here and the
// A-suffixed calls are always named explicitly.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

// winsock2.h and ws2tcpip.h, not the old winsock.h: the IP_* option numbers differ.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <wininet.h>
#include <winnetwk.h>

#undef CopyFile
#undef GetDriveType
#undef GetUserName
#undef RemoveDirectory
#undef ShellExecute
