// An owning pointer to a COM interface: it adds a reference when it is copied and releases its
// reference when it goes, so no code pairs AddRef and Release by hand.
//
// Our own rather than the toolchain's Microsoft::WRL::ComPtr: mingw-w64's Attach adds a
// reference where it should take one over, which would leak every object made by `new`.
//   Get()      lends the pointer;
//   Put()      releases what is held and answers where a call that makes an object writes it;
//   Attach     takes over a reference already counted (an object just made by `new`);
//   Detach     gives the reference to the caller;
//   As         asks the object for another interface.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <cstddef>
#include <utility>

namespace tessaline::win32 {

template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr& other) : pointer_(other.pointer_) {
    if (pointer_) pointer_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(const ComPtr& other) {
    ComPtr(other).Swap(*this);
    return *this;
  }
  ComPtr& operator=(ComPtr&& other) noexcept {
    ComPtr(std::move(other)).Swap(*this);
    return *this;
  }

  Interface* Get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  bool operator==(std::nullptr_t) const { return pointer_ == nullptr; }

  // Releases the reference held; the pointer is forgotten before the object hears of it, since
  // the release may call back.
  void Reset() {
    if (Interface* old = std::exchange(pointer_, nullptr)) old->Release();
  }
  Interface** Put() {
    Reset();
    return &pointer_;
  }
  void Attach(Interface* pointer) {
    Reset();
    pointer_ = pointer;
  }
  [[nodiscard]] Interface* Detach() { return std::exchange(pointer_, nullptr); }

  template <typename Other>
  HRESULT As(ComPtr<Other>& other) const {
    if (!pointer_) return E_POINTER;
    return pointer_->QueryInterface(__uuidof(Other), reinterpret_cast<void**>(other.Put()));
  }

  void Swap(ComPtr& other) noexcept { std::swap(pointer_, other.pointer_); }

 private:
  Interface* pointer_ = nullptr;
};

}  // namespace tessaline::win32
