#include "sdiff/Tool.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>

#include "core/ProgramVersion.h"
#include "gnss/TimeConverse.h"
#include "gnss/ymdhms.h"
#include "sdiff/BroadcastOrbits.h"
#include "sdiff/Differ.h"
#include "sdiff/OpenInput.h"
#include "sdiff/Options.h"
#include "sdiff/OrbitCache.h"
#include "sdiff/PreciseOrbits.h"
#include "sdiff/Report.h"
#include "sdiff/StandardDelays.h"
#include "sdiff/StationClocks.h"

namespace {

// Tervan never writes over one of its inputs, nor one output over the other.
void CheckOutputIsNoInput(const Options& o) {
  std::vector<std::string> inputs = {o.base, o.rover};
  for (const auto* files : {&o.nav, &o.sp3, &o.clk})
    inputs.insert(inputs.end(), files->begin(), files->end());
  for (const std::string& out : {o.out, o.glonassChannels}) {
    if (out.empty()) continue;
    for (const std::string& in : inputs) {
      std::error_code ec;
      if (!in.empty() && (in == out || std::filesystem::equivalent(in, out, ec)))
        SdError("OUTPUT FILE " + out + " IS ALSO AN INPUT FILE!");
    }
  }
  std::error_code ec;
  if (!o.glonassChannels.empty() &&
      (o.glonassChannels == o.out || std::filesystem::equivalent(o.glonassChannels, o.out, ec)))
    SdError("OUTPUT FILE " + o.out + " IS ALSO THE GLONASS CHANNEL FILE!");
}

void FillStation(DiffHeader& h, int i, const RinexHeader& r) {
  h.markerName[i] = r.markerName;
  h.markerNumber[i] = r.markerNumber;
  h.receiverType[i] = r.receiverType;
  h.antennaType[i] = r.antennaType.empty() ? std::string("NONE") : r.antennaType;
  h.antennaSerial[i] = r.antennaSerial;
  for (int k = 0; k < 3; ++k) h.xyz[i][k] = r.position[k];
  // RINEX gives up/east/north, the difference file north/east/up.
  h.neu[i][0] = r.deltaHEN[2];
  h.neu[i][1] = r.deltaHEN[1];
  h.neu[i][2] = r.deltaHEN[0];
}

// The file header from the RINEX headers.
DiffHeader HeaderOf(const RinexReader& base, const RinexReader& rover, const Differ& differ) {
  DiffHeader h;
  FillStation(h, 0, base.Header());
  FillStation(h, 1, rover.Header());
  h.types = differ.Types();
  return h;
}

// Without orbits no position can stand in for a missing header position.
void WarnOfMissingPositions(const DiffHeader& h) {
  for (int i = 0; i < 2; ++i)
    if (h.xyz[i][0] == 0.0L && h.xyz[i][1] == 0.0L && h.xyz[i][2] == 0.0L)
      SdWarning(std::string(i == 0 ? "BASE" : "ROVER") + " " + h.markerName[i] +
                ": THE RINEX HEADER HAS NO POSITION AND NO ORBITS ARE GIVEN (--nav OR --sp3); "
                "THE POSITION IS WRITTEN AS 0");
}

void WriteTextFile(const std::string& path, const std::string& text) {
  std::string tmp = path + ".tmp";
  SdAddCleanupFile(tmp);
  std::FILE* f = std::fopen(tmp.c_str(), "wb");
  bool ok = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
  ok = f && std::fclose(f) == 0 && ok;
  if (!ok || std::rename(tmp.c_str(), path.c_str()) != 0)
    SdError("OUTPUT FILE " + path + " CAN NOT BE WRITTEN!");
  SdClearCleanupFiles();
}

void WriteGlonassChannels(const std::string& path, const RinexReader& base,
                          const RinexReader& rover, const mjd& from) {
  std::map<int, int> channels = base.Header().glonassChannels;
  for (const auto& [slot, ch] : rover.Header().glonassChannels) {
    auto it = channels.find(slot);
    if (it != channels.end() && it->second != ch)
      SdWarning("GLONASS SLOT " + std::to_string(slot) + " HAS CHANNEL " +
                std::to_string(it->second) + " AT THE BASE AND " + std::to_string(ch) +
                " AT THE ROVER; THE BASE VALUE IS WRITTEN");
    channels.insert({slot, ch});
  }
  if (channels.empty()) {
    SdWarning("THE RINEX HEADERS HAVE NO GLONASS SLOT / FRQ # RECORDS; " + path +
              " IS NOT WRITTEN");
    return;
  }
  WriteTextFile(path, SdGlonassChannelText(channels, from));
}

// Orbits for the point positioning: precise products, else navigation files.
std::unique_ptr<OrbitSource> OpenOrbits(const Options& o) {
  if (!o.sp3.empty()) return std::make_unique<PreciseOrbits>(o.sp3, o.clk);
  if (!o.nav.empty()) return std::make_unique<BroadcastOrbits>(o.nav);
  return nullptr;
}

const char* SystemName(char sys) {
  return sys == 'G' ? "GPS" : sys == 'R' ? "GLONASS" : "Galileo";
}

std::string Joined(const std::vector<std::string>& words, const char* separator) {
  std::string text;
  for (const std::string& w : words) text += (text.empty() ? "" : separator) + w;
  return text;
}

// Per system that both files hold or that gave records: the records and the codes used.
std::string SystemSummary(const DiffStats& s) {
  std::string text;
  for (char sys : {'G', 'R', 'E'}) {
    auto it = s.systems.find(sys);
    if (it == s.systems.end()) continue;
    const SystemStats& st = it->second;
    if (st.records == 0 && !(st.atBase && st.atRover)) continue;
    std::vector<std::string> codes;
    for (const auto& c : st.codes) codes.push_back(c.second);
    text += std::string(text.empty() ? "" : ", ") + SystemName(sys) + " " +
            std::to_string(st.records) + (st.records == 1 ? " record" : " records");
    if (!codes.empty()) text += " (" + Joined(codes, ", ") + ")";
  }
  return text;
}

// A system observed at both stations that gave no record at all.
void WarnOfLostSystems(const DiffStats& s, const RinexReader& b, const RinexReader& r) {
  auto codes = [](const RinexReader& f, char sys) {
    const std::vector<std::string>& list = f.Header().TypesOf(sys);
    return list.empty() ? std::string("NONE") : Joined(list, " ");
  };
  for (const auto& [sys, st] : s.systems) {
    if (st.records > 0 || !st.atBase || !st.atRover) continue;
    std::string name = SystemName(sys);
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    SdWarning(name + " IS OBSERVED AT BOTH STATIONS BUT GIVES NO RECORD: BASE CODES " +
              codes(b, sys) + ", ROVER CODES " + codes(r, sys));
  }
}

void PrintSummary(const Options& o, const Differ& d, const RinexReader& b, const RinexReader& r) {
  const DiffStats& s = d.Stats();
  // A text of its own, so that a format left on the console stream cannot change the figures.
  std::ostringstream line;
  line << "tervan-sdiff: " << s.epochs << " epochs, " << s.satellites.size() << " satellites, "
       << s.records << " records written to " << o.out << "; dropped epochs: " << s.onlyBase
       << " only at the BASE, " << s.onlyRover << " only at the ROVER, " << s.tagOffset
       << " with a tag offset beyond " << static_cast<double>(o.tagTolerance) << " s, "
       << s.noCommon << " without common satellites, "
       << b.SkippedOutOfOrder() + r.SkippedOutOfOrder() << " out of time order, "
       << b.SkippedTruncated() + r.SkippedTruncated() << " cut off";
  if (o.interval > 0) line << "; " << s.decimated << " left out by the interval";
  const std::string systems = SystemSummary(s);
  if (!systems.empty()) line << "; " << systems;
  std::cout << line.str() << std::endl;
}

}  // namespace

std::string SdGlonassChannelText(const std::map<int, int>& channels, const mjd& from) {
  ymdhms c = mjd2ymdhms(from);
  std::string text = "# GLONASS frequency channels from the RINEX headers\n";
  char buf[96];
  for (const auto& [slot, ch] : channels) {
    // Slot, start of validity (open end: column 32 blank), channel from column 52.
    std::snprintf(buf, sizeof buf, "R%02d       %04u %02u %02u 00 00 00.0%20s%d\n", slot,
                  c.GetYear(), c.GetMonth(), c.GetDay(), "", ch);
    text += buf;
  }
  return text;
}

int SdRun(const std::vector<std::string>& args) {
  Options o = Options::Parse(args);
  if (o.help) {
    std::cout << Options::HelpText();
    return 0;
  }
  if (o.version) {
    std::cout << VersionLine("tervan-sdiff") << '\n';
    return 0;
  }
  CheckOutputIsNoInput(o);
  RinexReader base(SdOpenObservationFile(o.base));
  RinexReader rover(SdOpenObservationFile(o.rover));
  DiffOptions dopt;
  dopt.interval = o.interval;
  dopt.tagTolerance = o.tagTolerance;
  dopt.progress = !o.quiet;
  Differ differ(base, rover, dopt);
  std::unique_ptr<OrbitSource> orbits = OpenOrbits(o);
  StandardDelays delays(o.nav);
  std::unique_ptr<OrbitCache> cache;
  std::unique_ptr<StationClocks> clocks;
  if (orbits) {
    cache = std::make_unique<OrbitCache>(*orbits);
    clocks = std::make_unique<StationClocks>(base.Header(), rover.Header(), *cache, delays);
    differ.SetClockSource(clocks.get());
  } else {
    SdWarning("NO ORBITS GIVEN (--nav OR --sp3): THE RECEIVER CLOCK OFFSETS ARE WRITTEN AS 0");
  }
  // The header positions may still change to the mean point positioning solutions.
  DiffWriter writer(o.out, HeaderOf(base, rover, differ));
  differ.Run(writer);
  if (writer.Epochs() == 0) {
    std::string why = differ.Stats().tagOffset > 0
                          ? " (EPOCH TAGS BEYOND THE TAG TOLERANCE: SEE --tag-tolerance)"
                          : "";
    SdError("FILES " + o.base + " AND " + o.rover + " HAVE NO COMMON EPOCH" + why + "!");
  }
  if (writer.Epochs() == 1)
    SdWarning("THE FILES HAVE ONLY ONE COMMON EPOCH; TERVAN NEEDS AT LEAST TWO");
  if (differ.Stats().tagOffset > 0)
    SdWarning(
        std::to_string(differ.Stats().tagOffset) +
        " COMMON EPOCHS ARE DROPPED: EPOCH TAGS BEYOND THE TAG TOLERANCE (SEE --tag-tolerance)");
  DiffHeader header = HeaderOf(base, rover, differ);
  if (clocks) {
    clocks->HeaderPosition(0, base.Header().markerName, header.xyz[0]);
    clocks->HeaderPosition(1, rover.Header().markerName, header.xyz[1]);
    if (differ.Stats().noClock > 0)
      SdWarning(
          std::to_string(differ.Stats().noClock) +
          " EPOCHS WITHOUT A POINT POSITIONING SOLUTION; THEIR CLOCK OFFSETS ARE WRITTEN AS 0");
  } else {
    WarnOfMissingPositions(header);
  }
  writer.Finish(header);
  WarnOfLostSystems(differ.Stats(), base, rover);
  if (!o.glonassChannels.empty()) {
    // A run whose channel file fails leaves no single-difference file either.
    SdAddCleanupFile(o.out);
    WriteGlonassChannels(o.glonassChannels, base, rover, writer.FirstEpoch());
    SdClearCleanupFiles();
  }
  PrintSummary(o, differ, base, rover);
  return 0;
}
