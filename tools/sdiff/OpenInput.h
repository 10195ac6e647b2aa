// Opening of an observation file whatever its packing: gzip, Unix compress and
// Compact RINEX layers are recognised from the content (never from the file name)
// and removed while the file streams, so the reader always sees RINEX text.
#ifndef TERVAN_TOOLS_SDIFF_OPENINPUT_H
#define TERVAN_TOOLS_SDIFF_OPENINPUT_H

#include <memory>
#include <string>

#include "sdiff/ByteSource.h"
#include "sdiff/LineSource.h"

// Removes gzip and Unix compress layers (at most three) from a byte stream; ends the
// run on other packings (bzip2, xz, zip, ...).
std::unique_ptr<ByteSource> SdUnpack(std::unique_ptr<ByteSource> in);

// The RINEX observation text of a file (plain, CRINEX, gzip, .Z in any stack); ends
// the run with an error when the file is missing or not a RINEX observation file.
std::unique_ptr<LineSource> SdOpenObservationFile(const std::string& path);

#endif
