#pragma once

#include <glib-object.h>

#include <memory>
#include <utility>

namespace quillora {

// Owns one reference to a GObject. The factory says where the reference comes from: Adopt takes
// over a reference the caller already owns (a "transfer full" return value), Retain adds one to
// an object someone else owns (a "transfer none" return value, a widget from a builder), Sink
// takes the floating reference of a new widget.
template <typename T>
class GObjectPtr {
public:
    GObjectPtr() = default;

    [[nodiscard]] static GObjectPtr Adopt(T* object) { return GObjectPtr(object); }

    [[nodiscard]] static GObjectPtr Retain(T* object)
    {
        if (object != nullptr) {
            g_object_ref(object);
        }
        return GObjectPtr(object);
    }

    [[nodiscard]] static GObjectPtr Sink(T* floating)
    {
        if (floating != nullptr) {
            g_object_ref_sink(floating);
        }
        return GObjectPtr(floating);
    }

    GObjectPtr(const GObjectPtr& other) : object_(other.object_)
    {
        if (object_ != nullptr) {
            g_object_ref(object_);
        }
    }
    GObjectPtr(GObjectPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    GObjectPtr& operator=(GObjectPtr other) noexcept
    {
        std::swap(object_, other.object_);
        return *this;
    }
    ~GObjectPtr() { reset(); }

    void reset() noexcept
    {
        if (T* object = std::exchange(object_, nullptr)) {
            g_object_unref(object);
        }
    }

    [[nodiscard]] T* get() const noexcept { return object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }

private:
    explicit GObjectPtr(T* object) : object_(object) {}

    T* object_ = nullptr;
};

// Owners for the two other kinds of memory that GLib hands over: strings and errors.
struct GFreeDeleter {
    void operator()(gpointer memory) const noexcept { g_free(memory); }
};
using GCharPtr = std::unique_ptr<gchar, GFreeDeleter>;

struct GErrorDeleter {
    void operator()(GError* error) const noexcept { g_error_free(error); }
};
using GErrorPtr = std::unique_ptr<GError, GErrorDeleter>;

}  // namespace quillora
