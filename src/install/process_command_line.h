// How a work item that runs as a process is started: its command line, or
// for a Windows Installer package the parameters of Msiexec.exe.
#pragma once

#include <string>

#include "install/work_item.h"

// Whether `path` names a Windows Installer package: its extension (as
// PathFindExtensionW finds it) is ".msi" in any letter case.
bool IsMsiPackagePath(const std::wstring& path);

// The command line of a program item: its path in double quotes (a path
// with blanks would otherwise start another program, or none), then a blank
// and the arguments when there are any.
std::wstring ProcessCommandLine(const WorkItem& item);

// The program that installs a Windows Installer package (started by its
// full path in the system folder: a program of that name beside the
// installer, in a Downloads folder say, must never run elevated instead),
// and its parameters for an item: "/i", the quoted path, then the
// arguments when there are any.
inline constexpr wchar_t kMsiexecProgram[] = L"Msiexec.exe";
std::wstring MsiexecPath();
std::wstring MsiexecParameters(const WorkItem& item);
