#pragma once

#include <cstddef>
#include <vector>

namespace tessaline {

// A flat array of fixed-width values, either the process's own or a view of bytes held elsewhere
// (the search-aids file, mapped and used in place; engine/SearchAidsFile.h). A view is read-only
// until Own() copies it.
template <class T>
class FlatArray {
 public:
  FlatArray() = default;
  FlatArray(const FlatArray& other) { *this = other; }
  FlatArray& operator=(const FlatArray& other) {
    if (this == &other) return *this;
    if (other.viewed_) {
      View(other.data_, other.size_);
    } else {
      Assign(other.data_, other.data_ + other.size_);
    }
    return *this;
  }
  T operator[](size_t i) const { return data_[i]; }
  const T* data() const { return data_; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + size_; }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  template <class Iterator>
  void Assign(Iterator first, Iterator last) {
    owned_.assign(first, last);
    Point();
  }
  void Fill(size_t count, T value) {
    owned_.assign(count, value);
    Point();
  }
  void View(const T* values, size_t count) {
    std::vector<T>().swap(owned_);
    data_ = values;
    size_ = count;
    viewed_ = true;
  }
  // The values as the process's own, writable (a view is copied first).
  T* Own() {
    if (viewed_) Assign(data_, data_ + size_);
    return owned_.data();
  }
  void Clear() {
    std::vector<T>().swap(owned_);
    Point();
  }
  bool Viewed() const { return viewed_; }
  // Bytes of the process's own memory (none for a view).
  size_t OwnedBytes() const { return owned_.size() * sizeof(T); }
  size_t Bytes() const { return size_ * sizeof(T); }

 private:
  void Point() {
    data_ = owned_.data();
    size_ = owned_.size();
    viewed_ = false;
  }
  std::vector<T> owned_;
  const T* data_ = nullptr;
  size_t size_ = 0;
  bool viewed_ = false;
};

}  // namespace tessaline
