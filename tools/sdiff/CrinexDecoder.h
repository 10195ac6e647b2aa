// Compact RINEX (Hatanaka) 1.0 and 3.x decoder: turns the lines of a CRINEX file into
// the lines of the RINEX observation file it encodes, one epoch record at a time.
//
// Observation values are kept as integers in units of the last printed digit and
// rebuilt from their differences along each satellite's data arc, so the RINEX text
// comes back exactly as it was compressed.
#ifndef TERVAN_TOOLS_SDIFF_CRINEXDECODER_H
#define TERVAN_TOOLS_SDIFF_CRINEXDECODER_H

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "sdiff/LineSource.h"

class CrinexDecoder : public LineSource {
 public:
  // Reads the CRINEX and RINEX headers; ends the run when they are not valid.
  explicit CrinexDecoder(std::unique_ptr<LineSource> in);

  // The text-difference rule of epoch lines and flag strings: a blank keeps the old
  // character, '&' gives a blank, any other character replaces it; the result is as
  // long as the longer of the two.
  static std::string ApplyDiff(const std::string& old, const std::string& diff);
  // An integer in units of 10^-decimals as fixed-point text right-justified in width
  // (no zero before the point: -920 with 3 decimals is "-.920").
  static std::string FormatFixed(int64_t v, int decimals, int width);
  bool Truncated() const override { return in_->Truncated(); }

 protected:
  bool NextRaw(std::string& line) override;

 private:
  // Arc of one numeric field: the last value and its differences up to the order.
  struct Arc {
    bool open = false;
    int order = 0;
    int m = 0;
    std::vector<int64_t> d;
  };
  struct SatState {
    std::string flags;
    std::vector<Arc> arcs;
  };

  [[noreturn]] void Fail(const std::string& what) const;
  void ReadHeader();
  void UpdateTypeCounts(const std::string& line);
  std::string NextBodyLine(const char* what);
  bool DecodeBlock();
  void CopyEvent(const std::string& epoch, long count);
  // Applies a numeric token to an arc; false when the field is empty.
  bool ApplyToken(const std::string& token, Arc& arc, int64_t& value) const;
  int TypeCount(const std::string& sat) const;
  // Decodes one data line into the satellite's n 16-column fields.
  void DecodeSatellite(const std::string& sat, const std::string& line, bool fresh,
                       std::vector<std::string>& fields);
  void WriteEpoch(const std::string& epoch, const std::vector<std::string>& sats, bool hasClock,
                  int64_t clock);

  std::unique_ptr<LineSource> in_;
  int version_ = 1;  // 1: CRINEX 1 (RINEX 2), 3: CRINEX 3 (RINEX 3 and 4)
  int typeCount1_ = -1;
  int typeCount3_[128];
  std::string prevEpoch_;
  bool havePrev_ = false;
  std::unordered_map<std::string, SatState> sats_;
  std::unordered_set<std::string> prevSats_;
  Arc clock_;
  std::string extension_;
  std::deque<std::string> out_;
  std::vector<char> present_;    // values present in the satellite line being decoded
  std::vector<int64_t> values_;  // and the values
};

#endif
