// Decompressed bytes of a Unix compress (.Z) stream: LZW with codes of 9 to 16 bits,
// written least significant bit first in groups of 8 codes of the current width.
#ifndef TERVAN_TOOLS_SDIFF_LZWSOURCE_H
#define TERVAN_TOOLS_SDIFF_LZWSOURCE_H

#include <cstdint>
#include <memory>
#include <vector>

#include "sdiff/ByteSource.h"

class LzwSource : public ByteSource {
 public:
  // Reads and checks the 3-byte header; ends the run on a bad one.
  explicit LzwSource(std::unique_ptr<ByteSource> in);

 protected:
  size_t ReadRaw(char* buf, size_t n) override;

 private:
  static constexpr int kClear = 256;
  // Next code of the current width into code; false at the end of the data.
  bool NextCode(uint32_t& code);
  // Moves to a new width, skipping the unused slots of the current group of 8 codes.
  void ChangeWidth(int width);
  // Whole bytes from the compressed file into the bit buffer; false at its end.
  bool FillBits(int need);
  // Decodes the next code into the output stack; false at the end of the data.
  bool DecodeNext();

  std::unique_ptr<ByteSource> in_;
  std::vector<char> inbuf_;
  size_t inPos_ = 0, inLen_ = 0;
  uint64_t bits_ = 0;
  int nbits_ = 0;

  int maxbits_ = 16;
  bool blockMode_ = true;
  int width_ = 9;
  long codesAtWidth_ = 0;
  uint32_t free_ = 257;
  int32_t prev_ = -1;
  std::vector<uint16_t> prefix_;
  std::vector<unsigned char> suffix_;
  std::vector<unsigned char> stack_;  // decoded string, last byte first
  bool done_ = false;
};

#endif
