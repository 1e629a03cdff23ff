// CCommandLine: the one argument parser of cairnctl's commands.
//
// Takes a command's arguments (the command name first), options of the form "--name VALUE"
// and bare flags, and everything else as positional arguments.
#pragma once

#include <ostream>
#include <string>
#include <utility>
#include <vector>

class CFacilityManager;

class CCommandLine {
public:
    // False, after the usage line on `err`, on an unknown option or a missing value.
    bool parse(const std::vector<std::string>& args, const std::vector<std::string>& valued,
               const std::vector<std::string>& flags, std::ostream& err);
    // The value of an option ("" for a flag); null when not given.
    const std::string* value(const std::string& name) const;
    bool has(const std::string& name) const { return value(name) != nullptr; }
    // A panel id as options give it: a whole number from 1 to 128, nothing else.
    static bool panelId(const std::string& text, int& id);
    // The same for a panel `facility` has; false after the message on `err` otherwise.
    static bool facilityPanel(const CFacilityManager& facility, const std::string& text, int& id, std::ostream& err);
    // Every value of an option given more than once, in command-line order.
    std::vector<std::string> values(const std::string& name) const;

    std::vector<std::string> positional;

private:
    std::vector<std::pair<std::string, std::string>> m_options;  // name, value
};
