// The Windows headers as the Win32 backend includes them (its .cpp files and its internal
// headers only; win32_backend.h stays free of them). Every call is named with its W suffix.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>
