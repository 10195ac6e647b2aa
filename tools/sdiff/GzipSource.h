// Decompressed bytes of a gzip stream (one or more members), through zlib.
#ifndef TERVAN_TOOLS_SDIFF_GZIPSOURCE_H
#define TERVAN_TOOLS_SDIFF_GZIPSOURCE_H

#include <zlib.h>

#include <memory>
#include <vector>

#include "sdiff/ByteSource.h"

class GzipSource : public ByteSource {
 public:
  explicit GzipSource(std::unique_ptr<ByteSource> in);
  ~GzipSource() override;

 protected:
  size_t ReadRaw(char* buf, size_t n) override;

 private:
  // Refills the input buffer; false at the end of the compressed data.
  bool Refill();
  // After the end of a member: true when another member follows.
  bool NextMember();

  std::unique_ptr<ByteSource> in_;
  std::vector<unsigned char> inbuf_;
  z_stream zs_{};
  bool done_ = false;
};

#endif
