#pragma once

// Small owners for GLib's C objects, so that no ref, string or error leaks on
// an early return. Only browser/ uses them.

#include <glib-object.h>

#include <memory>
#include <string>
#include <utility>

namespace vesko {

// Holds one strong reference to a GObject.
template <class T>
class GObjectPtr {
public:
    GObjectPtr() = default;
    // Takes over a reference the caller owns (a *_new() result, say).
    static GObjectPtr adopt(T* object) { return GObjectPtr(object); }
    // Adds a reference of its own; a floating reference is sunk.
    static GObjectPtr retain(T* object)
    {
        if (object)
            g_object_ref_sink(object);
        return GObjectPtr(object);
    }

    GObjectPtr(const GObjectPtr&) = delete;
    GObjectPtr& operator=(const GObjectPtr&) = delete;
    GObjectPtr(GObjectPtr&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    GObjectPtr& operator=(GObjectPtr&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_object = std::exchange(other.m_object, nullptr);
        }
        return *this;
    }
    ~GObjectPtr() { reset(); }

    void reset()
    {
        if (m_object)
            g_object_unref(std::exchange(m_object, nullptr));
    }
    T* get() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

private:
    explicit GObjectPtr(T* object) : m_object(object) {}
    T* m_object = nullptr;
};

struct GFreeDeleter {
    void operator()(void* p) const { g_free(p); }
};
// A g_free'd string.
using GCharPtr = std::unique_ptr<char, GFreeDeleter>;

struct GErrorDeleter {
    void operator()(GError* e) const { g_error_free(e); }
};
using GErrorPtr = std::unique_ptr<GError, GErrorDeleter>;

// A C string that may be null, as std::string.
inline std::string to_string(const char* s) { return s ? std::string(s) : std::string(); }

} // namespace vesko
