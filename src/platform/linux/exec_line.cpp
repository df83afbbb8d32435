#include "exec_line.h"

namespace zavo::platform {

std::vector<std::string> expandExecArgs(const std::vector<std::string>& args,
                                        const ExecFields& fields) {
    std::vector<std::string> out;
    for (const std::string& arg : args) {
        if (arg == "%f" || arg == "%F" || arg == "%u" || arg == "%U") {
            const std::string& value = arg[1] == 'f' || arg[1] == 'F' ? fields.path : fields.uri;
            if (!value.empty())
                out.push_back(value);
            continue;
        }
        if (arg == "%i") {
            if (!fields.icon.empty())
                out.insert(out.end(), {"--icon", fields.icon});
            continue;
        }
        std::string text;
        bool onlyCodes = true; // an argument of codes that expand to nothing goes
        for (std::size_t i = 0; i < arg.size(); ++i) {
            if (arg[i] != '%' || i + 1 == arg.size()) {
                text += arg[i];
                onlyCodes = false;
                continue;
            }
            switch (arg[++i]) {
            case '%':
                text += '%';
                onlyCodes = false;
                break;
            case 'c':
                text += fields.name;
                break;
            case 'k':
                text += fields.entryFile;
                break;
            case 'i':
                text += fields.icon;
                break;
            case 'f':
                text += fields.path;
                break;
            case 'u':
                text += fields.uri;
                break;
            default: // %F and %U inside text, deprecated %d %D %n %N %v %m, unknown
                break;
            }
        }
        if (!(onlyCodes && text.empty()))
            out.push_back(std::move(text));
    }
    return out;
}

} // namespace zavo::platform
