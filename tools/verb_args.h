#pragma once

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "archive/vrcollection.h"

namespace vesk::tool {

// A wrong command line: the verb prints the message and its usage and
// returns 1.
class EUsage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Command-line arguments of a verb: positional ones and options that take a
// value ("-o FILE", "--content DIR"). "--help" and "-h" set help.
struct TVerbArgs {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
    bool help = false;

    // valueOptions lists the options that take a value; any other option is
    // an error.
    TVerbArgs(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions);
    std::string Option(const std::string& name) const;  // "" when absent
};

// Runs a verb's body: prints usage for --help, and for EUsage the message and
// the usage with exit code 1.
int RunVerb(const char* verb, const char* usage, const std::vector<std::string>& args,
            const std::vector<std::string>& valueOptions, int (*body)(const TVerbArgs&));

// Opens an archive for the tool: a "vf" archive file (with its ".ext" side
// directory or volumes), or any file that carries one appended after a
// "vk" trailer (a built game). Raises EVeskError when it holds none.
std::unique_ptr<TVrFileCollection> OpenArchiveForTool(const std::string& path);

}  // namespace vesk::tool
