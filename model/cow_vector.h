// A vector whose elements are shared between copies until one copy writes to them: copying
// the vector copies pointers, and Edit(i) copies element i first when another copy still
// holds it. The undo history keeps copies of the model this way, so that a step costs what
// it changed, not the size of the craft.
//
// Reading never copies: operator[], front, back and iteration give const references even
// on a non-const vector. Writing is explicit (Edit), so no read can copy an element by
// accident, and no write can reach an element that a copy still shares.
#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

namespace tamsel {

template <typename T>
class CowVector {
  using Slots = std::vector<std::shared_ptr<T>>;

 public:
  using value_type = T;
  using size_type = std::size_t;

  // Random access over const elements.
  class const_iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = T;
    using difference_type = std::ptrdiff_t;
    using pointer = const T*;
    using reference = const T&;

    const_iterator() = default;
    explicit const_iterator(typename Slots::const_iterator at) : at_(at) {}
    reference operator*() const { return **at_; }
    pointer operator->() const { return at_->get(); }
    reference operator[](difference_type n) const { return *at_[n]; }
    const_iterator& operator++() { return ++at_, *this; }
    const_iterator operator++(int) { return const_iterator(at_++); }
    const_iterator& operator--() { return --at_, *this; }
    const_iterator operator--(int) { return const_iterator(at_--); }
    const_iterator& operator+=(difference_type n) { return at_ += n, *this; }
    const_iterator& operator-=(difference_type n) { return at_ -= n, *this; }
    friend const_iterator operator+(const_iterator i, difference_type n) { return i += n; }
    friend const_iterator operator+(difference_type n, const_iterator i) { return i += n; }
    friend const_iterator operator-(const_iterator i, difference_type n) { return i -= n; }
    friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
      return a.at_ - b.at_;
    }
    friend bool operator==(const const_iterator&, const const_iterator&) = default;
    friend auto operator<=>(const const_iterator&, const const_iterator&) = default;

   private:
    typename Slots::const_iterator at_;
  };
  using iterator = const_iterator;

  // Iterates for writing: each element is made the vector's own as it is reached.
  class EditRange {
   public:
    class iterator {
     public:
      iterator(CowVector* v, std::size_t i) : v_(v), i_(i) {}
      T& operator*() const { return v_->Edit(i_); }
      iterator& operator++() { return ++i_, *this; }
      bool operator!=(const iterator& o) const { return i_ != o.i_; }

     private:
      CowVector* v_;
      std::size_t i_;
    };
    explicit EditRange(CowVector* v) : v_(v) {}
    iterator begin() const { return {v_, 0}; }
    iterator end() const { return {v_, v_->size()}; }

   private:
    CowVector* v_;
  };

  CowVector() = default;
  CowVector(std::vector<T> items) { Assign(std::move(items)); }  // NOLINT: implicit on purpose
  CowVector& operator=(std::vector<T> items) {
    slots_.clear();
    Assign(std::move(items));
    return *this;
  }

  size_type size() const { return slots_.size(); }
  bool empty() const { return slots_.empty(); }
  const T& operator[](size_type i) const { return *slots_[i]; }
  const T& front() const { return *slots_.front(); }
  const T& back() const { return *slots_.back(); }
  const_iterator begin() const { return const_iterator(slots_.begin()); }
  const_iterator end() const { return const_iterator(slots_.end()); }

  // Element i for writing, copied first when another vector shares it.
  T& Edit(size_type i) {
    std::shared_ptr<T>& slot = slots_[i];
    if (slot.use_count() > 1) slot = std::make_shared<T>(std::as_const(*slot));
    return *slot;
  }
  // Element i replaced by `item`, without copying the element it replaces.
  void Set(size_type i, T item) { slots_[i] = std::make_shared<T>(std::move(item)); }
  // Every element for writing, in order: for (T& x : v.EditAll()).
  EditRange EditAll() { return EditRange(this); }

  void push_back(T item) { slots_.push_back(std::make_shared<T>(std::move(item))); }
  void insert(size_type at, T item) {
    slots_.insert(slots_.begin() + static_cast<std::ptrdiff_t>(at),
                  std::make_shared<T>(std::move(item)));
  }
  void erase(size_type at) { slots_.erase(slots_.begin() + static_cast<std::ptrdiff_t>(at)); }
  // Element `from` moved to position `to`, the others keeping their order, none copied.
  void MoveTo(size_type from, size_type to) {
    const auto at = [this](size_type i) { return slots_.begin() + static_cast<std::ptrdiff_t>(i); };
    if (from < to)
      std::rotate(at(from), at(from + 1), at(to + 1));
    else if (to < from)
      std::rotate(at(to), at(from), at(from + 1));
  }
  void clear() { slots_.clear(); }
  void reserve(size_type n) { slots_.reserve(n); }
  void resize(size_type n) {
    const size_type old = size();
    slots_.resize(n);
    for (size_type i = old; i < n; ++i) slots_[i] = std::make_shared<T>();
  }
  // Keeps the elements whose flag is set, in order, without copying any of them.
  template <typename Keep>
  void KeepIf(Keep keep) {
    Slots kept;
    for (size_type i = 0; i < size(); ++i)
      if (keep(i)) kept.push_back(std::move(slots_[i]));
    slots_ = std::move(kept);
  }
  // Whether two vectors hold the very same element at i (no copy has been written since).
  bool SharesWith(const CowVector& other, size_type i) const {
    return i < size() && i < other.size() && slots_[i] == other.slots_[i];
  }
  // Element i becomes other's element i again (the same object, not a copy).
  void ShareFrom(const CowVector& other, size_type i) { slots_[i] = other.slots_[i]; }
  // Whether element i is held by this vector alone.
  bool IsOwn(size_type i) const { return slots_[i].use_count() == 1; }
  // Which element object sits at i: equal identities are the very same element.
  const void* Identity(size_type i) const { return slots_[i].get(); }
  // Element i, held: while a holder keeps it, Edit copies it first, so the holder's element
  // never changes and its identity is never reused for another.
  std::shared_ptr<const T> Share(size_type i) const { return slots_[i]; }

 private:
  void Assign(std::vector<T> items) {
    slots_.reserve(items.size());
    for (T& item : items) slots_.push_back(std::make_shared<T>(std::move(item)));
  }

  Slots slots_;
};

}  // namespace tamsel
