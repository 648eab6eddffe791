// The COM pointer against an object that counts its references: copies add one, owners going
// release theirs, and taking over or giving up a reference leaves the count as it was.
#include <windows.h>
#include <gtest/gtest.h>

#include <utility>

#include "win32/ComPtr.h"

namespace tessaline::win32 {
namespace {

// An object with IUnknown only that counts its references and records when the last one went
// (it lives on the test's stack, so nothing is deleted).
class Counted final : public IUnknown {
 public:
  explicit Counted(bool& destroyed) : destroyed_(destroyed) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown) {
      *object = static_cast<IUnknown*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) destroyed_ = true;
    return left;
  }
  ULONG References() const { return references_; }

 private:
  bool& destroyed_;
  ULONG references_ = 1;
};

TEST(ComPtr, CopiesShareTheObjectAndTheLastOwnerReleasesIt) {
  bool destroyed = false;
  Counted counted(destroyed);
  Counted* object = &counted;
  {
    ComPtr<Counted> first;
    first.Attach(object);  // takes over the reference the object was made with
    EXPECT_EQ(object->References(), 1u);
    {
      const ComPtr<Counted> copy = first;
      EXPECT_EQ(object->References(), 2u);
      ComPtr<Counted> moved = std::move(first);
      EXPECT_EQ(object->References(), 2u);
      EXPECT_EQ(first.Get(), nullptr);
      first = moved;
      EXPECT_EQ(object->References(), 3u);
    }
    EXPECT_EQ(object->References(), 1u);
    EXPECT_FALSE(destroyed);
  }
  EXPECT_TRUE(destroyed);
}

TEST(ComPtr, ResetForgetsThePointerBeforeTheObjectGoes) {
  bool destroyed = false;
  Counted counted(destroyed);
  ComPtr<Counted> owner;
  owner.Attach(&counted);
  owner.Reset();
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(owner.Get(), nullptr);
}

TEST(ComPtr, DetachGivesTheReferenceToTheCaller) {
  bool destroyed = false;
  Counted counted(destroyed);
  Counted* raw = nullptr;
  {
    ComPtr<Counted> owner;
    owner.Attach(&counted);
    raw = owner.Detach();
  }
  EXPECT_FALSE(destroyed);
  EXPECT_EQ(raw->References(), 1u);
  raw->Release();
  EXPECT_TRUE(destroyed);
}

TEST(ComPtr, ACallThatMakesAnObjectWritesThroughTheAddressAndAsAsksForAnotherInterface) {
  bool destroyed = false;
  Counted counted(destroyed);
  ComPtr<Counted> owner;
  owner.Attach(&counted);
  {
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(owner->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(unknown.Put())),
              S_OK);
    EXPECT_EQ(owner->References(), 2u);
    ComPtr<IStream> stream;
    EXPECT_EQ(unknown.As(stream), E_NOINTERFACE);
    EXPECT_EQ(stream.Get(), nullptr);
    ComPtr<IUnknown> again;
    EXPECT_EQ(unknown.As(again), S_OK);
    EXPECT_EQ(owner->References(), 3u);
  }
  EXPECT_EQ(owner->References(), 1u);
  EXPECT_FALSE(destroyed);
}

}  // namespace
}  // namespace tessaline::win32
