// A sequential source of bytes: a file or a decompressor stacked on another source.
//
// Read serves first the bytes handed back with Unread (the format detection peeks at
// the first bytes of a stream), then the source's own bytes.
#ifndef TERVAN_TOOLS_SDIFF_BYTESOURCE_H
#define TERVAN_TOOLS_SDIFF_BYTESOURCE_H

#include <cstddef>
#include <string>

class ByteSource {
 public:
  explicit ByteSource(std::string name) : name_(std::move(name)) {}
  virtual ~ByteSource() = default;
  ByteSource(const ByteSource&) = delete;
  ByteSource& operator=(const ByteSource&) = delete;

  // Up to n bytes into buf; 0 only at the end of the data.
  size_t Read(char* buf, size_t n);
  // Reads up to n bytes (fewer only at the end) and hands them back for the next Read.
  std::string Peek(size_t n);
  // Name of the input file, for messages.
  const std::string& Name() const { return name_; }

 protected:
  // The source's own bytes: up to n into buf, 0 at the end.
  virtual size_t ReadRaw(char* buf, size_t n) = 0;

 private:
  std::string name_;
  std::string pushback_;
  size_t pushbackPos_ = 0;
};

#endif
