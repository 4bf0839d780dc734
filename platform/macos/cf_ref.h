// Ownership of CoreFoundation references. ARC manages Objective-C objects
// only; every CF object a Copy or Create call hands us is released here.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

#include <utility>

namespace tessary::macos {

template <typename Ref>
class CFRef {
 public:
  CFRef() = default;
  // Takes over a +1 reference (from a Copy or Create call); null is allowed.
  static CFRef adopt(Ref ref) { return CFRef(ref); }
  // Keeps a reference we do not own (a Get call, a constant) alive.
  static CFRef retain(Ref ref) {
    if (ref) CFRetain(ref);
    return CFRef(ref);
  }

  CFRef(const CFRef& other) : ref_(other.ref_) {
    if (ref_) CFRetain(ref_);
  }
  CFRef(CFRef&& other) noexcept : ref_(std::exchange(other.ref_, nullptr)) {}
  CFRef& operator=(CFRef other) noexcept {
    std::swap(ref_, other.ref_);
    return *this;
  }
  ~CFRef() {
    if (ref_) CFRelease(ref_);
  }

  Ref get() const { return ref_; }
  // For out-parameters of Copy calls; the reference must be empty.
  Ref* out() { return &ref_; }
  // Gives up ownership of the reference to the caller.
  Ref release() { return std::exchange(ref_, nullptr); }
  explicit operator bool() const { return ref_ != nullptr; }

 private:
  explicit CFRef(Ref ref) : ref_(ref) {}
  Ref ref_ = nullptr;
};

}  // namespace tessary::macos
