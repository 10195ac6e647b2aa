// Bytes of a file on disk.
#ifndef TERVAN_TOOLS_SDIFF_SDFILESOURCE_H
#define TERVAN_TOOLS_SDIFF_SDFILESOURCE_H

#include <cstdio>

#include "sdiff/SdByteSource.h"

class SdFileSource : public SdByteSource {
 public:
  // Ends the run with an error when the file cannot be opened for reading.
  explicit SdFileSource(const std::string& path);
  ~SdFileSource() override;

 protected:
  size_t ReadRaw(char* buf, size_t n) override;

 private:
  std::FILE* fp_ = nullptr;
};

#endif
