#include "sdiff/OpenInput.h"

#include "core/TextFields.h"
#include "sdiff/CrinexDecoder.h"
#include "sdiff/FileSource.h"
#include "sdiff/GzipSource.h"
#include "sdiff/LzwSource.h"
#include "sdiff/Report.h"
#include "sdiff/TextLines.h"

using textfield::LabelAt;

namespace {

bool StartsWith(const std::string& s, const char* magic, size_t n) {
  return s.size() >= n && s.compare(0, n, magic, n) == 0;
}

// Name of a packing that is recognised but not supported, or empty.
std::string Unsupported(const std::string& head) {
  if (StartsWith(head, "\x1f\xa0", 2)) return "SCO LZH";
  if (StartsWith(head, "\x1f\x1e", 2)) return "PACK";
  if (StartsWith(head, "BZh", 3)) return "BZIP2";
  if (StartsWith(head,
                 "\xfd"
                 "7zXZ\x00",
                 6))
    return "XZ";
  if (StartsWith(head, "PK\x03\x04", 4)) return "ZIP";
  if (StartsWith(head, "\x28\xb5\x2f\xfd", 4)) return "ZSTD";
  return "";
}

}  // namespace

std::unique_ptr<ByteSource> SdUnpack(std::unique_ptr<ByteSource> in) {
  for (int layer = 0; layer < 4; ++layer) {
    std::string head = in->Peek(6);
    if (StartsWith(head, "\x1f\x8b", 2)) {
      if (layer == 3) break;
      in = std::make_unique<GzipSource>(std::move(in));
    } else if (StartsWith(head, "\x1f\x9d", 2)) {
      if (layer == 3) break;
      in = std::make_unique<LzwSource>(std::move(in));
    } else {
      std::string kind = Unsupported(head);
      if (!kind.empty())
        SdError("FILE " + in->Name() + " IS " + kind + " COMPRESSED (NOT SUPPORTED)!");
      return in;
    }
  }
  SdError("FILE " + in->Name() + " HAS TOO MANY COMPRESSION LAYERS!");
}

std::unique_ptr<LineSource> SdOpenObservationFile(const std::string& path) {
  auto text = std::make_unique<TextLines>(SdUnpack(std::make_unique<FileSource>(path)));
  std::string first;
  if (!text->Next(first)) SdError("FILE " + path + " IS NOT A RINEX FILE (IT IS EMPTY)!");
  text->Unread(first);
  if (LabelAt(first, 60, "CRINEX VERS")) return std::make_unique<CrinexDecoder>(std::move(text));
  if (LabelAt(first, 60, "RINEX VERSION / TYPE")) return text;
  SdError("FILE " + path + " IS NOT A RINEX FILE!");
}
