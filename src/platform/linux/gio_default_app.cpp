#include "gio_default_app.h"

#include "core/folder_lists.h"
#include "exec_line.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <csignal>
#include <dlfcn.h>
#include <unistd.h>
#include <vector>

namespace zavo::platform {
namespace {

// The GIO, GObject and GLib functions used here, looked up in libgio (whose
// dependencies bring the other two) at the first launch. Nothing links
// against GIO: it and its own dependencies cost the start-up several ms.
#define ZAVO_GIO_FUNCTIONS(X)                                                                      \
    X(g_app_info_get_default_for_type)                                                             \
    X(g_app_info_get_commandline)                                                                  \
    X(g_app_info_get_name)                                                                         \
    X(g_desktop_app_info_get_type)                                                                 \
    X(g_desktop_app_info_get_boolean)                                                              \
    X(g_desktop_app_info_get_string)                                                               \
    X(g_desktop_app_info_get_filename)                                                             \
    X(g_type_check_instance_is_a)                                                                  \
    X(g_object_unref)                                                                              \
    X(g_shell_parse_argv)                                                                          \
    X(g_find_program_in_path)                                                                      \
    X(g_spawn_async)                                                                               \
    X(g_get_home_dir)                                                                              \
    X(g_filename_to_uri)                                                                           \
    X(g_strfreev)                                                                                  \
    X(g_free)                                                                                      \
    X(g_error_free)

struct Gio {
#define ZAVO_GIO_MEMBER(name) decltype(&::name) name = nullptr;
    ZAVO_GIO_FUNCTIONS(ZAVO_GIO_MEMBER)
#undef ZAVO_GIO_MEMBER
};

// Null (with `error` filled) when GIO cannot be loaded; tried once.
const Gio* gio(std::string& error) {
    static std::string failure;
    static const Gio* const loaded = []() -> const Gio* {
        // Never closed: GObject types cannot be unloaded.
        void* lib = ::dlopen("libgio-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!lib) {
            failure = ::dlerror();
            return nullptr;
        }
        static Gio fns;
#define ZAVO_GIO_RESOLVE(name)                                                                     \
    fns.name = reinterpret_cast<decltype(fns.name)>(::dlsym(lib, #name));                          \
    if (!fns.name) {                                                                               \
        failure = "libgio-2.0 lacks " #name;                                                       \
        return nullptr;                                                                            \
    }
        ZAVO_GIO_FUNCTIONS(ZAVO_GIO_RESOLVE)
#undef ZAVO_GIO_RESOLVE
        return &fns;
    }();
    if (!loaded)
        error = failure;
    return loaded;
}

// Owns what GLib allocated.
class Owned {
public:
    Owned(const Gio& g, gchar* text) : g_(g), text_(text) {}
    ~Owned() { g_.g_free(text_); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    std::string str() const { return text_ ? text_ : ""; }
    explicit operator bool() const { return text_ != nullptr; }

private:
    const Gio& g_;
    gchar* text_;
};

std::string takeMessage(const Gio& g, GError* e) {
    std::string text = e ? e->message : "unknown GLib error";
    if (e)
        g.g_error_free(e);
    return text;
}

// The command line of `entry`: its Exec line unquoted, with the field codes
// expanded and a terminal in front where the entry asks for one.
bool commandOf(const Gio& g, GDesktopAppInfo* entry, bool openHomeFolder,
               std::vector<std::string>& argv, std::string& error) {
    auto* app = reinterpret_cast<GAppInfo*>(entry);
    const char* exec = g.g_app_info_get_commandline(app);
    gchar** words = nullptr;
    GError* e = nullptr;
    if (!exec || !g.g_shell_parse_argv(exec, nullptr, &words, &e)) {
        error = exec ? takeMessage(g, e) : "the default application has no Exec line";
        return false;
    }
    std::vector<std::string> args;
    for (gchar** w = words; *w; ++w)
        args.emplace_back(*w);
    g.g_strfreev(words);

    ExecFields fields;
    if (const char* name = g.g_app_info_get_name(app))
        fields.name = name;
    fields.icon = Owned(g, g.g_desktop_app_info_get_string(entry, "Icon")).str();
    if (const char* file = g.g_desktop_app_info_get_filename(entry))
        fields.entryFile = file;
    if (openHomeFolder) {
        fields.path = g.g_get_home_dir();
        const Owned uri(g, g.g_filename_to_uri(fields.path.c_str(), nullptr, &e));
        if (!uri) {
            error = takeMessage(g, e);
            return false;
        }
        fields.uri = uri.str();
    }
    argv = expandExecArgs(args, fields);
    if (argv.empty()) {
        error = "the default application's Exec line names no program";
        return false;
    }
    if (g.g_desktop_app_info_get_boolean(entry, "Terminal")) {
        // Every Debian terminal emulator answers to this name and to -e.
        if (!Owned(g, g.g_find_program_in_path("x-terminal-emulator"))) {
            error = "no terminal emulator (x-terminal-emulator) for " + fields.name;
            return false;
        }
        argv.insert(argv.begin(), {"x-terminal-emulator", "-e"});
    }
    return true;
}

// Runs in the new process before exec: a session of its own, as the programs
// started by their path get, and no signal blocked or ignored because we do.
void inOwnSession(gpointer) {
    ::setsid();
    struct sigaction byDefault = {};
    byDefault.sa_handler = SIG_DFL;
    for (int sig = 1; sig < NSIG; ++sig)
        ::sigaction(sig, &byDefault, nullptr);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
}

// GIO's own launch runs the program through a wrapper (gio-launch-desktop or
// sh) and counts the wrapper's start as success, and hands DBusActivatable
// entries to the bus without waiting for an answer: either way a program that
// cannot start would count as started. So the entry's command line is run
// here, by g_spawn_async, which reports a failed exec before it returns. It
// forks twice, so no child is left for us to reap; the id it reports is the
// program's own.
bool spawn(const Gio& g, GDesktopAppInfo* entry, const std::vector<std::string>& argv,
           std::string& error, pid_t* started) {
    std::vector<gchar*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<gchar*>(a.c_str()));
    args.push_back(nullptr);
    const Owned folder(g, g.g_desktop_app_info_get_string(entry, "Path"));
    // Without a folder of its own the program begins where ours do.
    const std::string workDir = folder.str().empty() ? folder_lists::startFolder() : folder.str();
    GError* e = nullptr;
    GPid pid = 0;
    if (g.g_spawn_async(workDir.empty() ? nullptr : workDir.c_str(), args.data(), nullptr,
                        G_SPAWN_SEARCH_PATH, inOwnSession, nullptr, &pid, &e)) {
        if (started)
            *started = pid;
        return true;
    }
    error = takeMessage(g, e);
    return false;
}

} // namespace

bool launchDefaultApplication(const char* contentType, bool openHomeFolder, std::string& error,
                              pid_t* started) {
    const Gio* g = gio(error);
    if (!g)
        return false;
    // Only entries whose program is installed count: GIO skips the others.
    GAppInfo* app = g->g_app_info_get_default_for_type(contentType, FALSE);
    if (!app) {
        error = std::string("no application is installed for ") + contentType;
        return false;
    }
    bool ok = false;
    std::vector<std::string> argv;
    if (!g->g_type_check_instance_is_a(reinterpret_cast<GTypeInstance*>(app),
                                       g->g_desktop_app_info_get_type())) {
        error = "the default application has no desktop entry";
    } else {
        auto* entry = reinterpret_cast<GDesktopAppInfo*>(app);
        ok = commandOf(*g, entry, openHomeFolder, argv, error) &&
             spawn(*g, entry, argv, error, started);
    }
    g->g_object_unref(app);
    return ok;
}

} // namespace zavo::platform
