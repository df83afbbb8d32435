// A kernel object handle closed with its owner; not copied.
#pragma once

#include "win32_api.h"

namespace zavo::platform {

class UniqueHandle {
public:
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    ~UniqueHandle() { CloseHandle(handle_); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

} // namespace zavo::platform
