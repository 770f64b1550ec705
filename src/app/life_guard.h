// Handlers bound to child controls outlive their parent's destructor: the toolkit destroys
// the children after the parent's own destructor has run, and list controls send
// selection and focus events while they go. A LifeGuard wraps such handlers so that they
// do nothing once the owner has begun to be destroyed; the flag lives in the wrapped
// handlers themselves, so reading it never touches the dead owner.
#pragma once
#include <memory>
#include <utility>

namespace plandown::app {

class LifeGuard {
 public:
  LifeGuard() : alive_(std::make_shared<bool>(true)) {}
  LifeGuard(const LifeGuard&) = delete;
  LifeGuard& operator=(const LifeGuard&) = delete;
  ~LifeGuard() { End(); }

  // Call first thing in the owner's destructor (or when it starts to close for good).
  void End() { *alive_ = false; }
  bool Alive() const { return *alive_; }

  // `handler`, run only while the owner lives. Window-thread use only.
  template <class Handler>
  auto operator()(Handler handler) const {
    return [alive = alive_, handler = std::move(handler)](auto&... args) mutable {
      if (*alive) handler(args...);
    };
  }

 private:
  std::shared_ptr<bool> alive_;
};

}  // namespace plandown::app
