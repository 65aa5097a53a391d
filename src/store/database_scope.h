#pragma once

namespace examora {

// Keeps a data-access object's database open for a block of statements and readers: opens it if
// it is closed and, at the end of the scope (also when an exception passes), closes it only if
// this scope opened it. A database the caller holds open stays open. Works with any object that
// has OpenDataBase and CloseDataBase, so classes that keep their data-access base private can
// still be held open by their callers.
class DatabaseScope {
  public:
    template <class Helper>
    explicit DatabaseScope(Helper& helper)
        : helper_(&helper),
          close_([](void* h) { static_cast<Helper*>(h)->CloseDataBase(); }),
          opened_(helper.OpenDataBase()) {}
    ~DatabaseScope() {
        if (opened_) close_(helper_);
    }
    DatabaseScope(const DatabaseScope&) = delete;
    DatabaseScope& operator=(const DatabaseScope&) = delete;

  private:
    void* helper_;
    void (*close_)(void*);
    bool opened_;
};

}  // namespace examora
