// The field codes of a desktop entry's Exec line (%f, %u, %i, %c, %k ...),
// expanded in an argument vector that is already unquoted.
#pragma once

#include <string>
#include <vector>

namespace zavo::platform {

struct ExecFields {
    std::string name;      // %c: the entry's (translated) Name
    std::string icon;      // %i: "--icon" and this, when the entry has an Icon
    std::string entryFile; // %k: where the entry lies
    std::string path;      // %f %F: the one local file handed over, or none
    std::string uri;       // %u %U: the same as a file: URI, or none
};

// Each argument made only of a file or URL code becomes that one value or
// nothing; codes inside an argument are replaced by their text; "%%" is a
// percent sign; deprecated and unknown codes are dropped.
std::vector<std::string> expandExecArgs(const std::vector<std::string>& args,
                                        const ExecFields& fields);

} // namespace zavo::platform
