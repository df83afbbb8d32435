// The Linux drive list and start folder: the places from a mount table, the
// folder a start from the menu opens on, and both for real in a private
// mount namespace with media, snap, memory and kernel mounts.
#include "core/folder_lists.h"
#include "platform/linux/places.h"
#include "platform/linux/spawn_launch.h"
#include "support/child_process.h"
#include "support/scratch_folder.h"

#include <QTest>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace lists = zavo::platform::folder_lists;
namespace fs = std::filesystem;
using Paths = std::vector<std::string>;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Paths)
Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(lists::Account)

namespace {

// A mount table line of `type` from `source` at `mountPoint` (escaped as the
// kernel writes it).
std::string line(const std::string& mountPoint, const std::string& type,
                 const std::string& source) {
    return "36 35 98:0 / " + mountPoint + " rw,noatime master:1 - " + type + " " + source + " rw\n";
}

std::string joined(const Paths& paths) {
    std::string out;
    for (const std::string& p : paths)
        out += p + "|";
    return out;
}

bool run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

} // namespace

class TestPlaces : public QObject {
    Q_OBJECT
private slots:
    void fromMountTable_data() {
        QTest::addColumn<lists::Account>("account");
        QTest::addColumn<std::string>("table");
        QTest::addColumn<Paths>("places");

        const std::string system =
            "22 28 0:21 / /proc rw,relatime - proc proc rw\n"
            "23 28 0:22 / /sys rw,relatime - sysfs sysfs rw\n"
            "28 1 254:0 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n" +
            line("/home", "ext4", "/dev/sda3") + line("/boot/efi", "vfat", "/dev/sda1") +
            line("/run", "tmpfs", "tmpfs") + line("/run/user/1000", "tmpfs", "tmpfs") +
            line("/run/user/1000/gvfs", "fuse.gvfsd-fuse", "gvfsd-fuse") +
            line("/run/user/1000/doc", "fuse.portal", "portal") +
            line("/snap/core20/1974", "squashfs", "/dev/loop3") +
            line("/snap/firefox/3358", "squashfs", "/dev/loop4") +
            line("/var/snap/firefox/common/host-hunspell", "ext4", "/dev/sda2");
        QTest::newRow("a desktop with sticks, a disk in /mnt and snaps")
            << lists::Account{"/home/alice", "alice"}
            << system + line("/media/alice/ラベル", "vfat", "/dev/sdb1") +
                   line("/media/alice/My\\040Stick", "fuseblk", "/dev/sdc1") +
                   line("/run/media/alice/USB", "exfat", "/dev/sdd1") +
                   line("/mnt/data", "ext4", "/dev/sdb2") +
                   line("/mnt/sandboxing/env/python", "tmpfs", "tools") +
                   line("/mnt/ram", "ramfs", "ramfs") +
                   line("/media/alice/disk.iso", "iso9660", "/dev/loop5") +
                   line("/media/alice/.hidden", "ext4", "/dev/sde1") +
                   line("/media/bob/BobsStick", "vfat", "/dev/sdf1") +
                   line("/run/media/bob/Other", "vfat", "/dev/sdg1") +
                   line("/media/alice", "tmpfs", "tmpfs")
            << Paths{"/home/alice",         "/",         "/media/alice/My Stick",
                     "/media/alice/ラベル", "/mnt/data", "/run/media/alice/USB"};
        QTest::newRow("root, with /mnt itself mounted")
            << lists::Account{"/root", "root"}
            << system + line("/mnt", "ext4", "/dev/sdb1") +
                   line("/media/root/STICK", "vfat", "/dev/sdc1") +
                   line("/media/rootless/X", "vfat", "/dev/sdd1")
            << Paths{"/root", "/", "/media/root/STICK", "/mnt"};
        QTest::newRow("home is the root; the same medium mounted twice")
            << lists::Account{"/", "nobody"}
            << line("/media/nobody/A", "vfat", "/dev/sdb1") +
                   line("/media/nobody/A", "vfat", "/dev/sdb1")
            << Paths{"/", "/media/nobody/A"};
        QTest::newRow("no home, no user; damaged lines")
            << lists::Account{}
            << "\n36 35 98:0 / /mnt/a rw\n36 35 / /mnt/b - ext4\n" +
                   line("/media//X", "vfat", "/dev/sdb1")
            << Paths{"/"};
    }

    void fromMountTable() {
        QFETCH(lists::Account, account);
        QFETCH(std::string, table);
        QFETCH(Paths, places);
        QCOMPARE(QString::fromStdString(joined(lists::placesOf(table, account))),
                 QString::fromStdString(joined(places)));
    }

    void startFolder_data() {
        QTest::addColumn<QString>("working");
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("start");
        QTest::newRow("the menu's configuration folder")
            << u"/home/alice/.config/zavo_launcher"_s << u"/home/alice"_s << u"/home/alice"_s;
        QTest::newRow("any hidden folder of the home folder")
            << u"/home/alice/.local/bin"_s << u"/home/alice"_s << u"/home/alice"_s;
        QTest::newRow("an ordinary folder of the home folder")
            << u"/home/alice/bin"_s << u"/home/alice"_s << u"/home/alice/bin"_s;
        QTest::newRow("hidden deeper down")
            << u"/home/alice/work/.git"_s << u"/home/alice"_s << u"/home/alice/work/.git"_s;
        QTest::newRow("the home folder itself")
            << u"/home/alice"_s << u"/home/alice"_s << u"/home/alice"_s;
        QTest::newRow("beside the home folder")
            << u"/home/alice2/.config"_s << u"/home/alice"_s << u"/home/alice2/.config"_s;
        QTest::newRow("outside the home folder")
            << u"/tmp/.x/y"_s << u"/home/alice"_s << u"/tmp/.x/y"_s;
        QTest::newRow("no home folder")
            << u"/home/alice/.config"_s << u""_s << u"/home/alice/.config"_s;
        QTest::newRow("home is the root") << u"/.config"_s << u"/"_s << u"/.config"_s;
    }

    void startFolder() {
        QFETCH(QString, working);
        QFETCH(QString, home);
        QFETCH(QString, start);
        QCOMPARE(
            QString::fromStdString(lists::startFolderOf(working.toStdString(), home.toStdString())),
            start);
    }

    // A root of its own on a tmpfs, with the system's programs, the password
    // database and /proc bound in, and the mounts a desktop has: a medium under
    // /media/USER named in Japanese, one under /run/media/USER with a blank, a
    // snap on a loop device, memory file systems under /run and /mnt and another
    // user's medium. Everything goes with the child's mount namespace.
    void inPrivateMountNamespace() {
        const zavo::test::ScratchFolder scratch("zavo-places-");
        const fs::path base = scratch.path();
        // The sticks' files lie on the build tree's disk: a folder under /tmp
        // would be a memory file system where /tmp is one (Debian 13), and those
        // are rightly left out of the places.
        const fs::path stick = fs::absolute("zavo-places-stick-" + std::to_string(::getpid()));
        fs::create_directories(stick);
        const std::string out =
            zavo::test::runInChild([&]() -> std::string {
                if (::unshare(CLONE_NEWNS) != 0)
                    return std::string("skip: no mount namespace: ") + std::strerror(errno);
                if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
                    return std::string("skip: mounts not private: ") + std::strerror(errno);
                const fs::path root = base / "root";
                fs::create_directories(root);
                if (::mount("zavo-root", root.c_str(), "tmpfs", 0, "size=1m") != 0)
                    return std::string("skip: no tmpfs: ") + std::strerror(errno);
                const std::string user = lists::account().user;
                const auto bind = [&](const fs::path& from, const std::string& to) {
                    fs::create_directories(root / to);
                    return ::mount(from.c_str(), (root / to).c_str(), nullptr, MS_BIND | MS_REC,
                                   nullptr) == 0;
                };
                const auto memory = [&](const std::string& at) {
                    fs::create_directories(root / at);
                    return ::mount("zavo-mem", (root / at).c_str(), "tmpfs", 0, "size=64k") == 0;
                };
                for (const char* top : {"bin", "lib", "lib64", "sbin"}) {
                    const fs::path host = fs::path("/") / top;
                    if (fs::is_symlink(host))
                        fs::create_symlink(fs::read_symlink(host), root / top);
                    else if (fs::is_directory(host) && !bind(host, top))
                        return std::string("skip: cannot bind ") + top;
                }
                fs::create_directories(root / "proc");
                bool ok = bind("/usr", "usr") && bind("/etc", "etc") &&
                          ::mount("proc", (root / "proc").c_str(), "proc", 0, nullptr) == 0 &&
                          memory("run") && memory("run/user/0") && memory("mnt/ram") &&
                          bind(stick, "media/" + user + "/ラベル") &&
                          bind(stick, "run/media/" + user + "/USB スティック") &&
                          bind(stick, "media/someone-else/Stick");
                // The snap: an image on a loop device, as snapd mounts it; a bind
                // mount in the same place where loop devices are not to be had.
                const fs::path image = base / "snap.img";
                fs::create_directories(root / "snap/core/1974");
                if (!run("truncate -s 1M '" + image.string() + "' && mke2fs -q -F '" +
                         image.string() + "' && mount -o loop,ro '" + image.string() + "' '" +
                         (root / "snap/core/1974").string() + "'"))
                    ok = ok && bind(stick, "snap/core/1974");
                if (!ok)
                    return std::string("skip: cannot mount: ") + std::strerror(errno);
                const std::string home = lists::account().home;
                if (home.empty() || home == "/")
                    return "skip: no home folder in the password database";
                // The home folder: the menu's configuration folder, a user's own
                // program folders, and other hidden folders.
                for (const char* folder : {".config/zavo_launcher", ".local/bin", ".cache", "bin"})
                    fs::create_directories(root / home.substr(1) / folder);
                if (::chroot(root.c_str()) != 0 || ::chdir("/") != 0)
                    return std::string("skip: no chroot: ") + std::strerror(errno);

                std::string report = "places: " + joined(lists::driveRoots()) + "\n";
                report += "home: " + joined(lists::subfolders(home).value_or(Paths{"-"})) + "\n";
                report +=
                    "local: " + joined(lists::subfolders(home + "/.local").value_or(Paths{"-"})) +
                    "\n";
                // Started from the menu, in the configuration folder.
                fs::current_path(home + "/.config/zavo_launcher");
                report += "start: " + lists::startFolder() + "\n";
                const std::string script = home + "/bin/where";
                std::ofstream(script) << "#!/bin/sh\npwd -P > /where.tmp && mv /where.tmp /where\n";
                fs::permissions(script, fs::perms::owner_all);
                std::string error;
                if (!zavo::platform::spawnDetached(script, error))
                    return report + "spawn: " + error + "\n";
                while (!fs::exists("/where"))
                    ::usleep(10000); // ends when the test's own time limit does
                std::ifstream where("/where");
                std::string started;
                std::getline(where, started);
                report += "program in: " + started + "\n";
                // settei.ini is opened by a relative name: it stays where it is.
                report += "working: " + fs::current_path().string() + "\n";
                return report;
            }).out;
        fs::remove_all(stick);
        if (out.starts_with("skip: "))
            QSKIP(out.c_str());
        const std::string home = lists::account().home;
        const std::string user = lists::account().user;
        const std::string expected =
            "places: " + home + "|/|/media/" + user + "/ラベル|/run/media/" + user +
            "/USB スティック|\n" + "home: .local|bin|\n" + "local: bin|\n" + "start: " + home +
            "\n" + "program in: " + home + "\n" + "working: " + home + "/.config/zavo_launcher\n";
        QCOMPARE(QString::fromStdString(out), QString::fromStdString(expected));
    }
};

QTEST_GUILESS_MAIN(TestPlaces)
#include "test_places.moc"
