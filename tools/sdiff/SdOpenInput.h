// Opening of an observation file whatever its packing: gzip, Unix compress and
// Compact RINEX layers are recognised from the content (never from the file name)
// and removed while the file streams, so the reader always sees RINEX text.
#ifndef TERVAN_TOOLS_SDIFF_SDOPENINPUT_H
#define TERVAN_TOOLS_SDIFF_SDOPENINPUT_H

#include <memory>
#include <string>

#include "sdiff/SdByteSource.h"
#include "sdiff/SdLineSource.h"

// Removes gzip and Unix compress layers (at most three) from a byte stream; ends the
// run on other packings (bzip2, xz, zip, ...).
std::unique_ptr<SdByteSource> SdUnpack(std::unique_ptr<SdByteSource> in);

// The RINEX observation text of a file (plain, CRINEX, gzip, .Z in any stack); ends
// the run with an error when the file is missing or not a RINEX observation file.
std::unique_ptr<SdLineSource> SdOpenObservationFile(const std::string& path);

#endif
