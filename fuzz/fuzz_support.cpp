#include "fuzz_support.h"

#include "support/scratch_folder.h"

#include <cstdio>
#include <cstdlib>

namespace zavo::fuzz {
namespace {
platform::RecordingServices& runServices() {
    static platform::RecordingServices services;
    services.calls.clear();
    return services;
}
} // namespace

#ifdef ZAVO_FUZZ_ON_DISK
namespace {
const std::string& scratchFile() {
    static const test::ScratchFolder folder("zavo-fuzz-");
    static const std::string path = folder.file("settei.ini");
    return path;
}
} // namespace

Settei::Settei(const std::string& bytes) : services(runServices()), name_(scratchFile()) {
    test::writeFile(name_, bytes);
}

std::string Settei::bytes() const {
    return test::readFile(name_);
}
#else
Settei::Settei(const std::string& bytes) : services(runServices()), name_("settei.ini") {
    services.recordFilesInMemory = true;
    services.memoryFiles[name_] = bytes;
}

std::string Settei::bytes() const {
    return services.memoryFiles.at(name_);
}
#endif

void fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
    std::abort();
}

} // namespace zavo::fuzz
