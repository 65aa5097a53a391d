#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <utility>

namespace examora {

// A data-access object that several threads reach: created on first use, exactly once, and lent
// to one caller at a time. Each data-access object owns one connection, and a connection must
// never be used by two threads at once; every use therefore goes through with(), which holds the
// lock for the whole use. A use must not reach the same GuardedLazy again (the lock is not
// recursive), and nothing may keep the reference beyond the use.
template <class T>
class GuardedLazy {
  public:
    using Make = std::function<std::unique_ptr<T>()>;

    GuardedLazy() : make_([] { return std::make_unique<T>(); }) {}
    explicit GuardedLazy(Make make) : make_(std::move(make)) {}
    GuardedLazy(const GuardedLazy&) = delete;
    GuardedLazy& operator=(const GuardedLazy&) = delete;

    // Runs use(T&) under the lock, creating the object first if it does not exist yet, and
    // returns what use returns. An exception from the creation leaves the object absent (the
    // next use tries again); one from use passes to the caller with the lock released.
    template <class Use>
    decltype(auto) with(Use&& use) {
        std::lock_guard lock(mutex_);
        if (!value_) value_ = make_();
        return std::forward<Use>(use)(*value_);
    }

    bool created() const {
        std::lock_guard lock(mutex_);
        return value_ != nullptr;
    }

  private:
    mutable std::mutex mutex_;
    Make make_;
    std::unique_ptr<T> value_;
};

}  // namespace examora
