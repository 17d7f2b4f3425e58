// A vector whose storage is shared between copies until one of them writes: copying it
// copies a pointer. Reading through a const reference never copies; any access through a
// non-const one (operator[], begin, data, push_back ...) first makes the storage this
// vector's own, copying it when another vector still shares it.
//
// A level's faces are kept this way, so that copying a mesh to change its name, type,
// hitzone or rotation copies no faces, and so that the history can tell levels whose faces
// an edit left alone by their storage alone (SharesWith).
#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

namespace tamsel {

template <typename T>
class SharedVector {
  using Vector = std::vector<T>;

 public:
  using value_type = T;
  using size_type = std::size_t;
  using iterator = typename Vector::iterator;
  using const_iterator = typename Vector::const_iterator;

  SharedVector() = default;
  SharedVector(Vector items) { Assign(std::move(items)); }  // NOLINT: implicit on purpose
  SharedVector(std::initializer_list<T> items) : SharedVector(Vector(items)) {}
  SharedVector& operator=(Vector items) {
    Assign(std::move(items));
    return *this;
  }

  // Reading.
  const Vector& Read() const { return data_ ? *data_ : Empty(); }
  operator const Vector&() const { return Read(); }  // NOLINT: reads as a vector
  size_type size() const { return data_ ? data_->size() : 0; }
  bool empty() const { return size() == 0; }
  size_type capacity() const { return data_ ? data_->capacity() : 0; }
  const T& operator[](size_type i) const { return (*data_)[i]; }
  const T& at(size_type i) const { return Read().at(i); }
  const T& front() const { return data_->front(); }
  const T& back() const { return data_->back(); }
  const T* data() const { return Read().data(); }
  const_iterator begin() const { return Read().begin(); }
  const_iterator end() const { return Read().end(); }
  const_iterator cbegin() const { return Read().begin(); }
  const_iterator cend() const { return Read().end(); }
  // Whether the two hold the very same storage (and so the same elements).
  bool SharesWith(const SharedVector& other) const { return data_ == other.data_; }
  friend bool operator==(const SharedVector& a, const SharedVector& b) {
    return a.data_ == b.data_ || a.Read() == b.Read();
  }

  // Writing: the storage is made this vector's own first.
  Vector& Edit() {
    if (!data_)
      data_ = std::make_shared<Vector>();
    else if (data_.use_count() > 1)
      data_ = std::make_shared<Vector>(std::as_const(*data_));
    return *data_;
  }
  T& operator[](size_type i) { return Edit()[i]; }
  T& front() { return Edit().front(); }
  T& back() { return Edit().back(); }
  T* data() { return Edit().data(); }
  iterator begin() { return Edit().begin(); }
  iterator end() { return Edit().end(); }
  void push_back(T item) { Edit().push_back(std::move(item)); }
  template <typename... Args>
  T& emplace_back(Args&&... args) {
    return Edit().emplace_back(std::forward<Args>(args)...);
  }
  void pop_back() { Edit().pop_back(); }
  void resize(size_type n) { Edit().resize(n); }
  void reserve(size_type n) { Edit().reserve(n); }
  void shrink_to_fit() { Edit().shrink_to_fit(); }
  void clear() { data_.reset(); }
  // Iterators may point into the storage as read: their offsets carry over to the copy.
  iterator erase(const_iterator at) { return erase(at, at + 1); }
  iterator erase(const_iterator first, const_iterator last) {
    const auto from = first - Read().begin(), to = last - Read().begin();
    Vector& v = Edit();
    return v.erase(v.begin() + from, v.begin() + to);
  }
  template <typename... Args>
  iterator insert(const_iterator at, Args&&... args) {
    const auto offset = at - Read().begin();
    Vector& v = Edit();
    return v.insert(v.begin() + offset, std::forward<Args>(args)...);
  }

 private:
  static const Vector& Empty() {
    static const Vector none;
    return none;
  }
  void Assign(Vector items) {
    if (items.empty() && items.capacity() == 0)
      data_.reset();
    else
      data_ = std::make_shared<Vector>(std::move(items));
  }

  std::shared_ptr<Vector> data_;
};

}  // namespace tamsel
