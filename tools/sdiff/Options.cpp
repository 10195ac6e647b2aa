#include "sdiff/Options.h"

#include <cstdlib>

#include "sdiff/Report.h"

namespace {

[[noreturn]] void BadCommandLine(const std::string& text) {
  SdError(text + " (see tervan-sdiff --help)");
}

long double Number(const std::string& name, const std::string& value, long double min) {
  char* end = nullptr;
  long double v = std::strtold(value.c_str(), &end);
  if (value.empty() || *end != '\0' || !(v >= min) || v > 1e9L)
    BadCommandLine("INVALID VALUE '" + value + "' OF OPTION --" + name);
  return v;
}

bool IsValueOption(const std::string& name) {
  for (const char* known : {"base", "rover", "out", "nav", "sp3", "clk", "glonass-channels",
                            "interval", "tag-tolerance"})
    if (name == known) return true;
  return false;
}

}  // namespace

Options Options::Parse(const std::vector<std::string>& args) {
  Options o;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string a = args[i];
    if (a == "-h" || a == "--help") {
      o.help = true;
      continue;
    }
    if (a == "--version") {
      o.version = true;
      continue;
    }
    if (a == "--quiet" || a == "-q") {
      o.quiet = true;
      continue;
    }
    if (a == "-o") a = "--out";
    if (a.compare(0, 2, "--") != 0) BadCommandLine("UNEXPECTED ARGUMENT '" + a + "'");
    std::string name = a.substr(2), value;
    size_t eq = name.find('=');
    if (eq != std::string::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
    }
    if (!IsValueOption(name)) BadCommandLine("UNKNOWN OPTION --" + name);
    if (eq == std::string::npos) {
      if (i + 1 >= args.size()) BadCommandLine("OPTION --" + name + " NEEDS A VALUE");
      value = args[++i];
    }
    if (name == "base") {
      o.base = value;
    } else if (name == "rover") {
      o.rover = value;
    } else if (name == "out") {
      o.out = value;
    } else if (name == "nav") {
      o.nav.push_back(value);
    } else if (name == "sp3") {
      o.sp3.push_back(value);
    } else if (name == "clk") {
      o.clk.push_back(value);
    } else if (name == "glonass-channels") {
      o.glonassChannels = value;
    } else if (name == "interval") {
      long double v = Number(name, value, 1);
      if (v != static_cast<long double>(static_cast<long>(v)))
        BadCommandLine("INVALID VALUE '" + value + "' OF OPTION --interval");
      o.interval = static_cast<long>(v);
    } else if (name == "tag-tolerance") {
      o.tagTolerance = Number(name, value, 0);
      if (o.tagTolerance >= 0.5L)
        BadCommandLine("INVALID VALUE '" + value + "' OF OPTION --tag-tolerance");
    } else {
      BadCommandLine("UNKNOWN OPTION --" + name);
    }
  }
  if (o.help || o.version) return o;
  if (o.base.empty() || o.rover.empty() || o.out.empty())
    BadCommandLine("OPTIONS --base, --rover AND --out ARE REQUIRED");
  if (!o.clk.empty() && o.sp3.empty()) BadCommandLine("OPTION --clk NEEDS --sp3");
  return o;
}

std::string Options::HelpText() {
  return R"(tervan-sdiff: single differences ROVER minus BASE for Tervan from two RINEX
observation files.

Usage: tervan-sdiff --base FILE --rover FILE --out FILE [options]

Input files may be RINEX 2.10/2.11, 3.02-3.05 or 4.0x observation files, plain or
Hatanaka-compressed (CRINEX 1.0/3.0), gzip- (.gz) or Unix-compressed (.Z) in any
combination; the packing is recognised from the content.

Options:
  --base FILE              observation file of the BASE station
  --rover FILE             observation file of the ROVER station
  -o, --out FILE           single-difference file to write
  --nav FILE               RINEX navigation file (2 or 3, mixed allowed); may be
                           given several times
  --sp3 FILE               precise orbit file (SP3), used instead of the orbits of
                           --nav (whose headers still give the Klobuchar model);
                           may be given several times for consecutive days
                           (the day of the data first), joined into one series
  --clk FILE               precise clock file (RINEX clock) to go with --sp3; may
                           be given several times like --sp3
  --interval S             keep only epochs on multiples of S whole seconds
                           [every common epoch]
  --tag-tolerance S        largest offset of an epoch tag from its whole second,
                           seconds [0.001]; receivers that do not steer their
                           clocks may need more (e.g. 0.01)
  --glonass-channels FILE  also write the GLONASS frequency channels of the RINEX
                           headers in the channel file layout Tervan reads
  -q, --quiet              no progress lines on standard error
  -h, --help               this text
  --version                the version and the commit it was built from

Receiver clocks: with --nav or --sp3 a code point positioning per station and
epoch gives the receiver clock offsets of the epoch lines, and positions for a
header whose position is missing or more than 100 m off. Without orbits the
clock offsets are written as 0.

Observation codes: a type is formed from the same RINEX code at both stations;
where the stations share none (receivers of different makes), from one pair of
codes of the same class (C1 with C1, P1 with P1, never C1 with P1) or phases of
the same band across tracking modes. Codes of different modes differ by a
satellite bias: estimate the code biases in Tervan (-cx).

At the end one summary line goes to standard output, with the records and the
codes used per system; a system observed at both stations that gives no record
is reported with the codes of each station. Exit status 0 on success,
1 after an error; a failed run leaves no output file behind.
)";
}
