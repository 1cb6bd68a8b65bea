// The installer's command-line options and their parse.
//
// Each argument is lower-cased, converted to the thread's ANSI code page and
// looked up by exact byte comparison in the option table. An option's value
// is the next argument unchanged (empty when there is none, or when it is
// empty or begins with "\"); that argument is still examined as an option
// itself. Unrecognised arguments are ignored.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

using OptionAction = std::function<void(const std::wstring& value)>;
using OptionTable = std::map<std::string, OptionAction>;

void ParseCommandLine(const std::vector<std::wstring>& arguments, const OptionTable& options);

// The process's own arguments, index 0 being the executable's path.
std::vector<std::wstring> ProcessArguments();
