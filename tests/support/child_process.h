// Runs a piece of a test in a forked child, for what must not reach the
// test's own process (another user, a private mount namespace, an abort).
// The child answers through a pipe.
#pragma once

#include <functional>
#include <string>

namespace zavo::test {

struct ChildResult {
    bool started = false; // false: no pipe or no fork
    std::string out;      // what the body returned
    int status = 0;       // as waitpid() gives it
    bool exitedCleanly() const;
};

// Runs `body` in a child that is killed after 30 s (a hanging child fails
// its row); an exception in it answers "exception: WHAT".
ChildResult runInChild(const std::function<std::string()>& body);

} // namespace zavo::test
