// The one owner of a system resource: frees it when it goes, moves but never copies.
#pragma once

#include <utility>

// Traits give the resource's type (`Value`), the value that owns nothing (`empty()`) and how
// to give a value back (`free(Value)`, only ever called with a value that is not empty).
// Traits may carry state the free needs (the window a device context came from); it moves
// with the value.
template <class Traits>
class UniqueResource : private Traits {
public:
    using Value = typename Traits::Value;

    UniqueResource() noexcept : value_(Traits::empty()) {}
    explicit UniqueResource(Value value, Traits traits = Traits()) noexcept
        : Traits(std::move(traits)), value_(value) {}
    UniqueResource(UniqueResource&& other) noexcept
        : Traits(std::move(static_cast<Traits&>(other))), value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) {
            Value taken = other.release();
            reset(taken);
            static_cast<Traits&>(*this) = std::move(static_cast<Traits&>(other));
        }
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    ~UniqueResource() { reset(); }

    Value get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::empty(); }

    // Gives up ownership: the caller frees what it gets.
    Value release() noexcept {
        Value value = value_;
        value_ = Traits::empty();
        return value;
    }

    // Frees what is held (if anything) and takes `value` instead.
    void reset(Value value = Traits::empty()) noexcept {
        Value old = value_;
        value_ = value;
        if (old != Traits::empty() && old != value) Traits::free(old);
    }

protected:
    const Traits& traits() const noexcept { return *this; }
    Traits& traits() noexcept { return *this; }

private:
    Value value_;
};
