// Program-wide state shared by the windows: the one slot-record working
// buffer every read and write of settei.ini passes through, and the routine
// that asks the system to shut down.
#pragma once

#include "services.h"
#include "slot_file.h"
#include "slot_record.h"

#include <cstdint>
#include <string>

namespace zavo::core {

class Module1 {
public:
    explicit Module1(platform::Services& services, std::string slotFileName = kSlotFileName)
        : services(services), settei(services, std::move(slotFileName)) {}

    platform::Services& services;
    SlotFile settei;
    SlotRecord slot; // the working buffer

    // Mode 1 shutdown, 2 reboot, 3 forced shutdown, 4 forced reboot; any
    // other mode returns false without asking the system.
    bool exit_windows(std::int16_t mode);
};

} // namespace zavo::core
