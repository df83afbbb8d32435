// The Linux side of the drive list: the places a file manager offers, and
// the folder a start from the desktop's menu opens on. Kept apart from the
// system's own tables so that any mount table and home folder can be tried.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zavo::platform::folder_lists {

// The user the places belong to, from the password database, read once.
struct Account {
    std::string home; // absolute; empty when unknown
    std::string user;
};
const Account& account();

// The drive list from a mount table in the form of /proc/self/mountinfo:
// the home folder, the root, then the mounted media a file manager shows
// (below /media/USER and /run/media/USER, at or below /mnt), sorted by path.
// Memory, snap (loop), kernel and hidden mounts are never places.
std::vector<std::string> placesOf(std::string_view mountinfo, const Account& account);

// The folder the lists open on and started programs begin in, for the
// working folder `working`: the home folder when `working` lies inside a
// hidden folder of it (~/.config/zavo_launcher, where the menu's start script
// keeps settei.ini), else `working` itself.
std::string startFolderOf(const std::string& working, const std::string& home);

} // namespace zavo::platform::folder_lists
