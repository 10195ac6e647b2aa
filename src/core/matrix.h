// Dense row-major matrix of any element type, the container of every list, table,
// vector and normal-equation matrix of the program. Vectors are n x 1. Every
// element access is bounds-checked; a bad index ends the program with a framed
// MATRIX::ERROR banner (exit status 1).
#ifndef TERVAN_CORE_MATRIX_H
#define TERVAN_CORE_MATRIX_H

#include <algorithm>

#include "core/MError.h"

template <class T>
class matrix {
 public:
  int r = 0;       // number of rows
  int c = 0;       // number of columns
  T* v = nullptr;  // owned row-major array of r*c elements: (i, j) is v[j + i*c]

  matrix() = default;
  explicit matrix(long n) { Allocate(n, 1); }
  matrix(long row, long col) { Allocate(row, col); }
  matrix(long row, long col, T value) {
    Allocate(row, col);
    Fill(value);
  }
  matrix(const matrix& m) {
    Allocate(m.r, m.c);
    std::copy(m.v, m.v + Length(), v);
  }
  matrix(matrix&& m) noexcept : r(m.r), c(m.c), v(m.v) {
    m.r = m.c = 0;
    m.v = nullptr;
  }
  ~matrix() { delete[] v; }

  // Same counts: nothing happens and the contents stay; otherwise a new array
  // (contents are lost, not carried over).
  void Resize(long row, long col) {
    if (row == r && col == c) return;
    Free();
    Allocate(row, col);
  }
  void Resize(long n) { Resize(n, 1); }
  // Reallocates only if the counts differ, then fills every element.
  void Resize(long row, long col, T value) {
    Resize(row, col);
    Fill(value);
  }

  long NRow() const { return r; }
  long NCol() const { return c; }
  long Length() const { return static_cast<long>(r) * c; }

  matrix& operator=(const matrix& m) {
    if (this == &m) return *this;
    Resize(m.r, m.c);
    std::copy(m.v, m.v + Length(), v);
    return *this;
  }
  matrix& operator=(matrix&& m) noexcept {
    if (this == &m) return *this;
    delete[] v;
    r = m.r;
    c = m.c;
    v = m.v;
    m.r = m.c = 0;
    m.v = nullptr;
    return *this;
  }
  matrix& operator=(T value) {
    Fill(value);
    return *this;
  }

  T& operator()(long i, long j) {
    Check(i, j);
    return v[j + i * static_cast<long>(c)];
  }
  const T& operator()(long i, long j) const {
    Check(i, j);
    return v[j + i * static_cast<long>(c)];
  }
  T& operator()(long i) {
    Check(i);
    return v[i];
  }
  const T& operator()(long i) const {
    Check(i);
    return v[i];
  }

  // Row i as an array of c elements: the row index is checked once, the columns are
  // the caller's to keep in range.
  T* Row(long i) {
    Check(i, 0);
    return v + i * static_cast<long>(c);
  }
  const T* Row(long i) const {
    Check(i, 0);
    return v + i * static_cast<long>(c);
  }

  matrix& operator+=(const matrix& m) {
    SameDims(m, "Operator:   +=\nMatrix dims do not agree: ");
    for (long k = 0; k < Length(); k++) v[k] += m.v[k];
    return *this;
  }
  matrix& operator-=(const matrix& m) {
    SameDims(m, "Operator:   -=\nMatrix dims do not agree: ");
    for (long k = 0; k < Length(); k++) v[k] -= m.v[k];
    return *this;
  }
  matrix& operator*=(T s) {
    for (long k = 0; k < Length(); k++) v[k] *= s;
    return *this;
  }
  matrix& operator/=(T s) {
    for (long k = 0; k < Length(); k++) v[k] /= s;
    return *this;
  }
  matrix& operator+=(T s) {
    for (long k = 0; k < Length(); k++) v[k] += s;
    return *this;
  }
  matrix& operator-=(T s) {
    for (long k = 0; k < Length(); k++) v[k] -= s;
    return *this;
  }
  bool operator==(const matrix& m) const {
    return r == m.r && c == m.c && std::equal(v, v + Length(), m.v);
  }
  bool operator!=(const matrix& m) const { return !(*this == m); }

  // This matrix becomes the n x n identity (or value on the diagonal).
  void I(long n, T value = T(1)) {
    Resize(n, n, T(0));
    for (long k = 0; k < n; k++) (*this)(k, k) = value;
  }

 private:
  void Allocate(long row, long col) {
    if (row < 0 || col < 0)
      MError::SizeError("Function:   matrix\nNegative matrix dimensions: ", row, col);
    if (row > 2147483647L || col > 2147483647L)
      MError::SizeError("Function:   matrix\nMatrix dimensions too large: ", row, col);
    r = static_cast<int>(row);
    c = static_cast<int>(col);
    // Elements are value-initialised: numbers start at zero rather than garbage.
    v = Length() > 0 ? new T[Length()]() : nullptr;
  }
  void Free() {
    delete[] v;
    v = nullptr;
    r = c = 0;
  }
  void Fill(T value) { std::fill(v, v + Length(), value); }
  void Check(long i, long j) const {
    if (r == 0 || c == 0) MError::SizeError("Operator:   ()\nMatrix is not set: ", r, c);
    if (i < 0 || i >= r) MError::IndexError("Operator:   ()\nRow index not in range: ", i, r - 1);
    if (j < 0 || j >= c)
      MError::IndexError("Operator:   ()\nColumn index not in range: ", j, c - 1);
  }
  void Check(long i) const {
    if (r == 0 || c == 0) MError::SizeError("Operator:   ()\nMatrix is not set: ", r, c);
    if (i < 0 || i >= Length())
      MError::IndexError("Operator:   ()\nMatrix index not in range: ", i, Length() - 1);
  }
  void SameDims(const matrix& m, const char* message) const {
    if (r != m.r || c != m.c) MError::DimError(message, r, c, m.r, m.c);
  }
};

// Exchanges two values.
template <class T>
void SWAP(T& a, T& b) {
  T t = a;
  a = b;
  b = t;
}

#endif
