#include "counterparts.h"

#include "core/launch_table.h"

namespace zavo::platform {
namespace {

// MP3 is the one audio type every player on a desktop opens.
constexpr Counterpart kAudioPlayer{"audio/mpeg", false};
constexpr Counterpart kWebBrowser{"x-scheme-handler/http", false};
constexpr Counterpart kFileManager{"inode/directory", true};

} // namespace

const Counterpart* counterpartOf(std::string_view command) {
    switch (core::stand_in_of(command)) {
    case core::DesktopDefault::AudioPlayer:
        return &kAudioPlayer;
    case core::DesktopDefault::WebBrowser:
        return &kWebBrowser;
    case core::DesktopDefault::FileManager:
        return &kFileManager;
    case core::DesktopDefault::None:
        break;
    }
    return nullptr;
}

} // namespace zavo::platform
