// exit_windows: the mode table, against the recording services.
#include "core/module1.h"
#include "platform/fake/recording_services.h"

#include <doctest/doctest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace zavo;

TEST_CASE("exit_windows turns modes 1 to 4 into ExitWindowsEx flags, others into no call") {
    struct Row {
        int mode;
        bool accepted;
        std::vector<std::string> calls;
        bool result;
    };
    const Row rows[] = {
        {0, true, {}, false},
        {1, true, {"exit 1 0"}, true},
        {2, true, {"exit 2 0"}, true},
        {3, true, {"exit 5 0"}, true},
        {4, true, {"exit 6 0"}, true},
        {5, true, {}, false},
        {-1, true, {}, false},
        {257, true, {}, false}, // would be 1 if cut to a byte
        {1, false, {"exit 1 0"}, false},
        {4, false, {"exit 6 0"}, false},
    };
    for (const Row& row : rows) {
        CAPTURE(row.mode);
        CAPTURE(row.accepted);
        platform::RecordingServices services;
        services.exitAccepted = row.accepted;
        core::Module1 module1(services, "unused.ini");
        CHECK(module1.exit_windows(static_cast<std::int16_t>(row.mode)) == row.result);
        CHECK(services.calls == row.calls);
    }
}
