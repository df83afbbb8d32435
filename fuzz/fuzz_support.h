// What the fuzz targets share beyond the tests' support library: settei.ini
// for one input, and a check that aborts with a message (libFuzzer keeps the
// input that made it fire).
#pragma once

#include "platform/fake/recording_services.h"

#include <string>

namespace zavo::fuzz {

// settei.ini for one input, opened through the recording services: bytes in
// memory, so the slot file's reader and writer run at full speed; built
// with ZAVO_FUZZ_ON_DISK, a real file in a scratch folder of the process's
// own, so the platform's file code runs too. One set of services serves the
// whole run (made anew, its empty queues alone cost four allocations an
// input); each input starts with its calls cleared. One Settei at a time.
class Settei {
public:
    explicit Settei(const std::string& bytes);
    platform::RecordingServices& services;
    // The name to open it by.
    const std::string& name() const { return name_; }
    // What it holds now.
    std::string bytes() const;

private:
    std::string name_;
};

[[noreturn]] void fail(const char* what, const char* file, int line);

} // namespace zavo::fuzz

#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond))                                                                               \
            ::zavo::fuzz::fail(#cond, __FILE__, __LINE__);                                         \
    } while (false)
