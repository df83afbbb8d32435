#include "counterparts.h"

#include "core/launch_table.h"

namespace zavo::platform {
namespace {

// MP3 is the one audio type every player on a desktop opens.
constexpr Counterpart kAudioPlayer{"audio/mpeg", false};
constexpr Counterpart kWebBrowser{"x-scheme-handler/http", false};
constexpr Counterpart kFileManager{"inode/directory", true};

constexpr std::size_t kBrowserIndex = 1;
constexpr std::size_t kExplorerIndex = 5;

} // namespace

const Counterpart* counterpartOf(std::string_view command) {
    const auto& fixed = core::kFixedLaunches;
    if (command == fixed[core::kMediaPlayerIndex].command)
        return &kAudioPlayer;
    if (command == fixed[kBrowserIndex].command)
        return &kWebBrowser;
    if (command == fixed[kExplorerIndex].command)
        return &kFileManager;
    return nullptr;
}

} // namespace zavo::platform
