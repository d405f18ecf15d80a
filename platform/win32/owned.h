// One owner for each handle the system hands out (a file, a process, a token, memory it
// allocated): released exactly once, when the owner goes, on every way out. Both null and
// INVALID_HANDLE_VALUE mean "none", since the system's calls fail with one or the other.
#pragma once

#include <windows.h>

#include <type_traits>

namespace win32 {

template <typename T, auto Release>
class Owned {
public:
    Owned() = default;
    explicit Owned(T value) : value_(value) {}
    ~Owned() { reset(); }
    Owned(Owned&& other) noexcept : value_(other.release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    T get() const { return value_; }
    explicit operator bool() const { return held(value_); }
    // For a call that writes the handle out: whatever was held is released first.
    T* put() {
        reset();
        return &value_;
    }
    T release() {
        const T value = value_;
        value_ = T{};
        return value;
    }
    // Releases now and says whether that succeeded: for handles whose close can fail, such as a
    // written file's, whose CloseHandle can report a write the system had put off. True when
    // nothing was held. Only for a release that returns BOOL, nonzero on success.
    bool close() {
        static_assert(std::is_same_v<decltype(Release(T{})), BOOL>, "close() needs a release returning BOOL");
        const T value = release();
        return !held(value) || Release(value) != FALSE;
    }
    void reset(T value = T{}) {
        if (held(value_)) Release(value_);
        value_ = value;
    }

private:
    static bool held(T value) { return value != T{} && value != reinterpret_cast<T>(INVALID_HANDLE_VALUE); }
    T value_{};
};

using OwnedHandle = Owned<HANDLE, &CloseHandle>;
// Memory the system allocated for the caller (security descriptors, FormatMessage's buffers).
template <typename T>
using OwnedLocal = Owned<T, &LocalFree>;

}  // namespace win32
