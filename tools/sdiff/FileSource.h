// Bytes of a file on disk.
#ifndef TERVAN_TOOLS_SDIFF_FILESOURCE_H
#define TERVAN_TOOLS_SDIFF_FILESOURCE_H

#include <cstdio>

#include "sdiff/ByteSource.h"

class FileSource : public ByteSource {
 public:
  // Ends the run with an error when the file cannot be opened for reading.
  explicit FileSource(const std::string& path);
  ~FileSource() override;

 protected:
  size_t ReadRaw(char* buf, size_t n) override;

 private:
  std::FILE* fp_ = nullptr;
};

#endif
