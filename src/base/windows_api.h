// The Windows API for the platform layer, without the parts and macros that clash with this
// program's own names.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// Macros of windows.h named like this program's file functions.
#undef DeleteFile
#undef CopyFile
#undef ReplaceFile
#endif
