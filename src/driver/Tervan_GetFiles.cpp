#include "driver/Tervan_GetFiles.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>

#include "core/FiniteNumPut.h"
#include "core/ParseArgument.h"
#include "core/ProgramError.h"
#include "core/ProgramVersion.h"
#include "core/StandardStreams.h"
#include "driver/Tervan_Help.h"

std::ofstream coutRedirect;
std::ofstream cerrRedirect;

namespace {

// Absolute path without ".", ".." and links of the folders that exist; empty when
// it cannot be formed.
std::filesystem::path Normalised(const std::string& name) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(name, ec);
  if (ec) return {};
  p = std::filesystem::weakly_canonical(p, ec);
  return ec ? std::filesystem::path() : p;
}

}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
  namespace fs = std::filesystem;
  if (a.empty() || b.empty()) return false;
  if (a == b) return true;
  // Spellings of one path ("R.txt", "./R.txt", "dir/../R.txt"), also before the
  // file exists.
  fs::path pa = Normalised(a), pb = Normalised(b);
  if (!pa.empty() && pa == pb) return true;
  // Links of one existing file.
  std::error_code ec;
  return fs::equivalent(a, b, ec) && !ec;
}

namespace {

const char* const Prog = "Tervan";
const char* const Detail = "Tervan::GetFiles():         ";

// Verbose detail line of the parser.
void Say(const TervanC& tc, const std::string& text) {
  if (tc.verbose) std::cerr << Detail << text << std::endl;
}

// The argument's key (the characters behind the dash) is key in lower case or key
// in upper case; mixed spellings do not match.
bool Key(const char* arg, const char* key) {
  std::size_t n = std::strlen(key);
  if (std::strncmp(arg + 1, key, n) == 0) return true;
  std::string upper(key);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return std::strncmp(arg + 1, upper.c_str(), n) == 0;
}

// Character at index i, or '\0' when the argument is shorter.
char At(const char* arg, std::size_t i) {
  for (std::size_t k = 0; k < i; ++k)
    if (arg[k] == '\0') return '\0';
  return arg[i];
}

char Lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool IsVerboseArg(const char* arg) {
  return arg[0] == '-' && Lower(At(arg, 1)) == 'v';
}
bool IsHelpArg(const char* arg) {
  return ContainsAny(arg, {"Help", "HELP", "help"});
}
bool IsRedirectArg(const char* arg) {
  return arg[0] == '-' && (Key(arg, "wo") || Key(arg, "we"));
}

template <typename T>
std::string Text(const T& value) {
  std::ostringstream os;
  os << value;
  return os.str();
}

// ---------------------------------------------------------------------------
// Redirections of standard output and standard error.

std::streambuf* savedCout = nullptr;
std::streambuf* savedCerr = nullptr;

// At exit the standard streams get their own buffers back before the files close.
void RestoreStandardStreams() {
  std::cout.flush();
  std::cerr.flush();
  if (savedCout) std::cout.rdbuf(savedCout);
  if (savedCerr) std::cerr.rdbuf(savedCerr);
  StandardStreams::Reset();
  coutRedirect.close();
  cerrRedirect.close();
}

// A redirection file must not be one of the files named by the other options: it
// would be truncated before being read.
void RefuseInputAsRedirection(int argc, char** argv, const char* name, const char* which) {
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (arg[0] != '-' || IsRedirectArg(arg)) continue;
    for (std::size_t pos = 2; pos <= 4 && At(arg, pos - 1) != '\0'; ++pos)
      if (SameFile(arg + pos, name))
        ProgramError(Prog, std::string(which) + " REDIRECTION FILE IS AN INPUT FILE - WILL NOT " +
                               "OVERWRITE IT!");
  }
}

void Redirect(std::ostream& stream, std::ofstream& file, const char* name, const char* which,
              std::streambuf*& saved) {
  file.open(name, std::ios::out | std::ios::trunc);
  if (!file.is_open())
    ProgramError(Prog, std::string(which) + " REDIRECTION FILE CAN NOT BE OPENED!");
  if (savedCout == nullptr && savedCerr == nullptr) std::atexit(RestoreStandardStreams);
  saved = stream.rdbuf(file.rdbuf());
  if (&stream == &std::cout)
    StandardStreams::SetCoutFile(name);
  else
    StandardStreams::SetCerrFile(name);
}

// First pass: verbose mode and the redirection file names. Verbose mode is known
// before the names are read, so that the named files are shown on the terminal
// wherever "-v" stands, before the streams go to the files.
void ReadRedirections(TervanC& tc, int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (IsVerboseArg(argv[i])) tc.verbose = true;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (arg[0] != '-') continue;
    if (Key(arg, "wo"))
      GetFileName(Prog, arg, 3, tc.CoutFile, tc.isCoutFile, tc.verbose && At(arg, 3) != '\0',
                  Detail, "COUT redirection file: ");
    else if (Key(arg, "we"))
      GetFileName(Prog, arg, 3, tc.CerrFile, tc.isCerrFile, tc.verbose && At(arg, 3) != '\0',
                  Detail, "CERR redirection file: ");
  }
}

void CheckRedirections(TervanC& tc) {
  if (tc.isCerrFile && tc.CerrFile[0] == '\0') {
    ProgramWarning(Prog, "CERR REDIRECTION FILE SET WITHOUT FILENAME: CERR GOES TO TERMINAL!");
    tc.isCerrFile = false;
  }
  if (tc.isCoutFile && tc.CoutFile[0] == '\0') {
    ProgramWarning(Prog, "COUT REDIRECTION FILE SET WITHOUT FILENAME: COUT GOES TO TERMINAL!");
    tc.isCoutFile = false;
  }
  if (tc.isCoutFile && tc.isCerrFile && SameFile(tc.CoutFile, tc.CerrFile)) {
    ProgramWarning(Prog,
                   "COUT AND CERR REDIRECTION FILE SET EQUALLY: APPENDING .CERR TO CERR FILENAME!");
    const char* suffix = ".CERR";
    if (std::strlen(tc.CerrFile) + std::strlen(suffix) > FileNameSize - 1)
      ProgramError(Prog, "VALUE OF OPTION -we IS TOO LONG TO APPEND .CERR!");
    std::strcat(tc.CerrFile, suffix);
  }
}

void OpenRedirections(TervanC& tc, int argc, char** argv) {
  if (tc.isCerrFile) {
    RefuseInputAsRedirection(argc, argv, tc.CerrFile, "CERR");
    Redirect(std::cerr, cerrRedirect, tc.CerrFile, "CERR", savedCerr);
  }
  if (tc.isCoutFile) {
    RefuseInputAsRedirection(argc, argv, tc.CoutFile, "COUT");
    Redirect(std::cout, coutRedirect, tc.CoutFile, "COUT", savedCout);
  }
}

// ---------------------------------------------------------------------------
// Options.

// An option whose value is a file name.
struct FileOption {
  const char* key;  // lower-case key behind the dash
  std::size_t pos;  // index of the value's first character
  char (TervanC::*name)[FileNameSize];
  bool TervanC::*flag;
  const char* label;  // verbose label
};

void TakeFile(TervanC& tc, const char* arg, const FileOption& opt) {
  GetFileName(Prog, arg, opt.pos, tc.*opt.name, tc.*opt.flag, tc.verbose, Detail, opt.label);
}

// Rows whose key and value position leave no room for doubt, in the order of testing.
const FileOption SimpleFiles[] = {
    {"sx", 3, &TervanC::scrxfile, &TervanC::isSCrx, "Satellite problem file: "},
    {"pv", 3, &TervanC::atxfile, &TervanC::isAtx, "ANTEX - antenna phase variation file name: "},
    {"ct", 3, &TervanC::rctrackfile, &TervanC::isRCodTrc,
     "Receiver Code Tracking type file name: "},
    {"gf", 3, &TervanC::glnfreqch, &TervanC::isGLNfrch, "GLONASS frequency channel file: "},
    {"ac", 3, &TervanC::aprcrdfile, &TervanC::isAprCrd, "Apriori coordinate file name: "},
    {"sp", 3, &TervanC::skyplotfile, &TervanC::isSkyPlot, "Output file for sky plot: "},
    {"cf", 3, &TervanC::clkfile, &TervanC::isClkFile, "Clock correction output file: "},
    {"od", 3, &TervanC::estdcbfile, &TervanC::isOutDCBFile, "Estimated DCB values output file: "},
    {"bq", 3, &TervanC::otidefile, &TervanC::isOTide, "Ocean tide loading file (BLQ format): "},
    {"fp", 3, &TervanC::resfile, &TervanC::isresfile, "Residual output file: "},
    // Neighbouring days' precise orbits and clocks: "b" before, "n" next.
    {"bp", 3, &TervanC::sp3prevfile, &TervanC::isPEphPrev, "Previous day precise ephemeris file: "},
    {"np", 3, &TervanC::sp3nextfile, &TervanC::isPEphNext, "Next day precise ephemeris file: "},
    {"bc", 3, &TervanC::pclkprevfile, &TervanC::isPclkPrev,
     "Previous day precise satellite clock file: "},
    {"nc", 3, &TervanC::pclknextfile, &TervanC::isPclkNext,
     "Next day precise satellite clock file: "},
};

const FileOption EphemerisFiles[] = {
    {"g", 3, &TervanC::gnavfile, &TervanC::isGPSnav, "GPS navigation file: "},
    {"r", 3, &TervanC::rnavfile, &TervanC::isGLNnav, "GLONASS navigation file: "},
    {"e", 3, &TervanC::enavfile, &TervanC::isGALnav, "GALILEO navigation file: "},
    {"p", 3, &TervanC::sp3file, &TervanC::isPEph, "MULTI-GNSS precise ephemeris file: "},
    {"c", 3, &TervanC::pclkfile, &TervanC::isPclk, "MULTI-GNSS precise satellite clock file: "},
    {"o", 3, &TervanC::ptidefile, &TervanC::isPTide, "Earth rotation parameters: "},
};

const FileOption IonosphereFiles[] = {
    {"k", 3, &TervanC::ionkfile, &TervanC::isKlob, "Klobuchar ionosphere file name: "},
    {"i", 3, &TervanC::ionxfile, &TervanC::isIonx, "IONEX ionosphere file name: "},
    {"m", 3, &TervanC::myionfile, &TervanC::isMyion, "MyIono (Lustra.exe) ionosphere file name: "},
};

const FileOption CodeBiasFiles[] = {
    {"1", 4, &TervanC::dcbp1p2file, &TervanC::isP1P2, "Differential Code Bias (DCB) file - P1P2: "},
    {"2", 4, &TervanC::dcbp1c1file, &TervanC::isP1C1, "Differential Code Bias (DCB) file - P1C1: "},
    {"3", 4, &TervanC::dcbp2c2file, &TervanC::isP2C2, "Differential Code Bias (DCB) file - P2C2: "},
    {"m", 4, &TervanC::mydbcfile, &TervanC::isMyDCB,
     "Differential Code Bias (DCB) file - Lustra result: "},
};

// The file of a family ("-e?", "-i?", "-cb?") chosen by the letter at index,
// tested in either case; nullptr when the letter names none.
template <std::size_t N>
const FileOption* Family(const FileOption (&family)[N], const char* arg, std::size_t index) {
  char letter = Lower(At(arg, index));
  for (const FileOption& opt : family)
    if (letter != '\0' && letter == opt.key[0]) return &opt;
  return nullptr;
}

const FileOption* SimpleFile(const char* arg) {
  for (const FileOption& opt : SimpleFiles)
    if (Key(arg, opt.key)) return &opt;
  return nullptr;
}

// A number of an option that takes one; a value that is not a number ends the run.
template <typename T>
T Number(const char* arg, std::size_t pos, T (*parse)(const char*, std::size_t, bool*, bool*)) {
  bool ok = false, fits = true;
  T value = parse(arg, pos, &ok, &fits);
  const std::string option(arg, std::min(pos, std::strlen(arg)));
  if (!ok) ProgramError(Prog, "VALUE OF OPTION " + option + " IS NOT A NUMBER!");
  if (!fits) ProgramError(Prog, OutOfRangeText<T>(arg + option.size(), option));
  return value;
}

// Hours, minutes and seconds of an option part that starts at text.
long double Duration(const char* text, std::size_t pos, const char* option) {
  bool fits = true;
  long double t = ParseHMS(text, pos, nullptr, &fits);
  if (!fits) ProgramError(Prog, OutOfRangeText<int>(text + pos, option));
  return t;
}

void ParseSystems(TervanC& tc, const char* arg) {
  const char* value = arg + 3;
  std::string line = "Selection of satellite systems to use:";
  if (ContainsAny(value, {"G", "g"})) tc.isGPS = true, line += " GPS";
  if (ContainsAny(value, {"R", "r"})) tc.isGLN = true, line += " GLONASS";
  if (ContainsAny(value, {"E", "e"})) tc.isGAL = true, line += " GALILEO";
  Say(tc, line);
}

void ParseCodeBiasEstimation(TervanC& tc, const char* arg) {
  const char* value = arg + 3;
  std::string line = "Estimation of DCB biases:";
  if (std::strstr(value, "GPS")) tc.isGPSxdcb = true, line += " GPS";
  if (std::strstr(value, "GLN")) tc.isGLNxdcb = true, line += " GLONASS";
  if (std::strstr(value, "GAL")) tc.isGALxdcb = true, line += " GALILEO";
  Say(tc, line);
}

// Index of the first upper-case marker in arg, else of the first lower-case one.
const char* Marker(const char* arg, char lower) {
  const char* upper = std::strchr(arg, std::toupper(static_cast<unsigned char>(lower)));
  return upper ? upper : std::strchr(arg, lower);
}

bool NamesBase(const char* arg) {
  return ContainsAny(arg, {"BASE", "Base", "base"});
}
bool NamesRover(const char* arg) {
  return ContainsAny(arg, {"ROVER", "Rover", "rover"});
}

void ParseTropoInterval(TervanC& tc, const char* arg) {
  tc.ifEstTropo = true;
  tc.TropoInterval = Duration(arg, 3, "-ti");
  Say(tc, "Tropospheric delay estimation time interval: " + Text(tc.TropoInterval) + " s!");
  if (const char* d = Marker(arg + 3, 'd')) {
    tc.TropoShift = Duration(d, 1, "-ti");
    Say(tc, "Tropospheric delay estimation time shift: " + Text(tc.TropoShift) + " s!");
  }
  if (NamesBase(arg)) {
    tc.ifEstTropoB = true;
    Say(tc, "Tropospheric delay estimation for: BASE station!");
  }
  if (NamesRover(arg)) {
    tc.ifEstTropoR = true;
    Say(tc, "Tropospheric delay estimation for: ROVER station!");
  }
}

void ParseTropoGradients(TervanC& tc, const char* arg) {
  tc.ifEstTropoGrad = true;
  Say(tc, "Tropospheric gradient parameters estimation: YES");
  if (const char* i = Marker(arg + 3, 'i')) {
    bool fits = true;
    tc.nTropoGradInt = ParseInteger(i, 1, nullptr, &fits);
    if (!fits) ProgramError(Prog, OutOfRangeText<int>(i + 1, "-tgi"));
  }
  if (tc.nTropoGradInt == 0)
    Say(tc, "Number of troposphere gradient intervals: Determined with ZTD unknowns");
  else
    Say(tc, "Number of troposphere gradient intervals: " + Text(tc.nTropoGradInt));
  if (NamesBase(arg)) {
    tc.ifEstTropoGradB = true;
    Say(tc, "Tropospheric gradient parameters estimation for: BASE station!");
  }
  if (NamesRover(arg)) {
    tc.ifEstTropoGradR = true;
    Say(tc, "Tropospheric gradient parameters estimation for: ROVER station!");
  }
}

struct TropoWord {
  const char* words[3];
  short code;
  const char* name;
};

// Tested in this order: "GPT2" before "GPT".
const TropoWord TropoModels[] = {
    {{"SAAST", "Saast", "saast"}, 0, "SAASTAMOINEN"},
    {{"HOPF", "Hopf", "hopf"}, 1, "HOPFILED"},
    {{"VIENNA", "Vienna", "vienna"}, 4, "VIENNA MODEL"},
    {{"GPT2", "Gpt2", "gpt2"}, 3, "GPT2 MODEL"},
    {{"GPT", "Gpt", "gpt"}, 2, "GPT MODEL"},
};

const TropoWord TropoMappings[] = {
    {{"NIELL", "Niell", "niell"}, 0, "NIELL"}, {{"CHAO", "Chao", "chao"}, 1, "CHAO"},
    {{"DAVIS", "Davis", "davis"}, 2, "DAVIS"}, {{"MARINI", "Marini", "marini"}, 3, "MARINI"},
    {{"UNB3", "Unb3", "unb3"}, 4, "UNB3"},     {{"VMF1", "Vmf1", "vmf1"}, 5, "VMF1"},
    {{"GLPT2", "Glpt2", "glpt2"}, 6, "GPT2"},
};

template <std::size_t N>
const TropoWord* FindTropoWord(const TropoWord (&table)[N], const char* value) {
  for (const TropoWord& w : table)
    if (ContainsAny(value, {w.words[0], w.words[1], w.words[2]})) return &w;
  return nullptr;
}

void ParseTropoModel(TervanC& tc, const char* arg) {
  const char* value = arg + 3;
  if (const TropoWord* model = FindTropoWord(TropoModels, value)) {
    tc.TrpModel = model->code;
    Say(tc, std::string("Troposphere model: ") + model->name + "!");
  }
  const TropoWord* mapping = FindTropoWord(TropoMappings, value);
  if (mapping == nullptr)
    ProgramError(Prog,
                 "TROPOSPHERE MODEL NOT SET CORRECTLY [ use "
                 "-tm[SAAST|HOPF|VIENNA|GPT|GPT2],[NIELL|CHAO|DAVIS|MARINI|UNB3|VMF1|GLPT2] ]!");
  tc.TrpMappFun = mapping->code;
  Say(tc, std::string("Troposphere mapping function: ") + mapping->name + "!");
  tc.isTrpModel = true;
}

void ParseObservations(TervanC& tc, const char* arg) {
  ObservationList list{tc.ifC1, tc.ifP1, tc.ifP2, tc.ifPc3, tc.ifPp3, tc.ifL3, tc.ifL1, tc.ifL2};
  ParseObservationList(arg, 2, list);
  tc.ifC1 = list.C1, tc.ifP1 = list.P1, tc.ifP2 = list.P2, tc.ifPc3 = list.Pc3;
  tc.ifPp3 = list.Pp3, tc.ifL3 = list.L3, tc.ifL1 = list.L1, tc.ifL2 = list.L2;
  std::string line = "Observation types: ";
  const std::pair<bool, const char*> types[] = {
      {tc.ifC1, " C1"},      {tc.ifP1, " P1"}, {tc.ifP2, " P2"}, {tc.ifPc3, " P3[C1]"},
      {tc.ifPp3, " P3[P1]"}, {tc.ifL3, " L3"}, {tc.ifL1, " L1"}, {tc.ifL2, " L2"}};
  for (const auto& t : types)
    if (t.first) line += t.second;
  Say(tc, line + "!");
}

void ParseEstimation(TervanC& tc, const char* arg) {
  ParseEstimationType(arg, 2, tc.ifEstSta, tc.ifEstKin);
  std::string line = "Estimation type: ";
  if (tc.ifEstSta) line += " STATIC";
  if (tc.ifEstKin) line += " KINEMATIC";
  Say(tc, line);
}

void ParseWeighting(TervanC& tc, const char* arg) {
  if (!ContainsAny(arg, {"cosz", "COSZ"}))
    ProgramError(Prog, "WEIGHTING OF OBSERVATIONS NOT SET CORRECTLY [ use -p[COSZ] ]!");
  tc.obsP = 1;
  Say(tc, "Weighting of observations: YES (COS(Z) model)!");
}

// Options of the families "-e", "-i", "-cb" and "-gp"; true when arg is one of them.
bool ParseFamily(TervanC& tc, const char* arg) {
  if (Lower(arg[1]) == 'e') {
    const FileOption* opt = Family(EphemerisFiles, arg, 2);
    if (opt == nullptr)
      ProgramError(Prog,
                   "EPHEMERIS/PRECISE CLOCKS/ERP FILE NOT SET CORRECTLY [ use "
                   "-e[p|g|r|e|c|o]FILENAME ]!");
    TakeFile(tc, arg, *opt);
  } else if (Lower(arg[1]) == 'i') {
    if (const FileOption* opt = Family(IonosphereFiles, arg, 2))
      TakeFile(tc, arg, *opt);
    else
      ProgramWarning(Prog, "IONOSPHERE FILE NOT SET CORRECTLY [ use -i[k|i|m]FILENAME ]!");
  } else if (Key(arg, "cb")) {
    if (const FileOption* opt = Family(CodeBiasFiles, arg, 3))
      TakeFile(tc, arg, *opt);
    else
      ProgramWarning(
          Prog,
          "DIFFERENTIAL CODE BIAS (DCB) FILE NOT SET CORRECTLY [ use -cb[1|2|3,m]FILENAME ]!");
  } else if (Key(arg, "gp")) {
    char kind = At(arg, 3);
    if (kind == 'k')
      TakeFile(tc, arg,
               {"gpk", 4, &TervanC::gnuplotKin, &TervanC::isGNUPlotKin,
                "GNUPlot input file with kinematic coordinates: "});
    else if (kind == 's')
      TakeFile(tc, arg,
               {"gps", 4, &TervanC::gnuplotStat, &TervanC::isGNUPlotStat,
                "GNUPlot input file with static coordinates: "});
    else
      ProgramError(Prog, "GNUPLOT FILE NOT SET CORRECTLY [ use -gp[k|s]FILENAME ]!");
  } else {
    return false;
  }
  return true;
}

// Switches and options with a single value; true when arg is one of them.
bool ParseSetting(TervanC& tc, const char* arg) {
  if (Key(arg, "cs")) {
    ParseSystems(tc, arg);
  } else if (Key(arg, "cx")) {
    ParseCodeBiasEstimation(tc, arg);
  } else if (Key(arg, "ca")) {
    tc.CorrAmbig = true;
    Say(tc, "Try to correct improper cycle slips determination!");
  } else if (Key(arg, "ti")) {
    ParseTropoInterval(tc, arg);
  } else if (Key(arg, "tg")) {
    ParseTropoGradients(tc, arg);
  } else if (Key(arg, "af")) {
    tc.isFixAmb = true;
    Say(tc, "Integer ambiguity resolution after the static solution!");
  } else if (Key(arg, "ar")) {
    tc.AmbRatioThres = Number(arg, 3, ParseDouble);
    Say(tc, "Ambiguity ratio test threshold: " + Text(tc.AmbRatioThres) + "!");
  } else if (Key(arg, "kf")) {
    tc.isKinFloat = true;
    Say(tc, "Kinematic solution: float parameters adjusted again with the epoch positions!");
  } else if (Key(arg, "ts")) {
    tc.TropoSigma = Number(arg, 3, ParseFloat);
    tc.ifTropoSigma = true;
    Say(tc, "A-priori troposphere constraint sigma: " + Text(tc.TropoSigma) + "!");
  } else {
    return false;
  }
  return true;
}

bool ParseOutputFile(TervanC& tc, const char* arg) {
  if (Lower(arg[1]) != 'o' || (At(arg, 2) != 't' && At(arg, 2) != 'T')) return false;
  // "-ot" names the troposphere file, "-oT" the epoch troposphere file.
  if (arg[2] == 't')
    TakeFile(tc, arg,
             {"ot", 3, &TervanC::esttropfile, &TervanC::isOutTropFile,
              "Estimated troposphere delays output file: "});
  else
    TakeFile(tc, arg,
             {"oT", 3, &TervanC::esttropephfile, &TervanC::isOutTropEphFile,
              "Estimated epoch troposphere delays output file: "});
  return true;
}

bool ParseLimit(TervanC& tc, const char* arg) {
  if (Key(arg, "me")) {
    tc.MinElevation = Number(arg, 3, ParseFloat);
    tc.isMinElev = true;
    Say(tc, "Minimum elevation angle: " + Text(tc.MinElevation) + "!");
  } else if (Key(arg, "bt")) {
    tc.ThresBlunder = Number(arg, 3, ParseFloat);
    tc.isThresBlunder = true;
    Say(tc, "Threshold for phase/code outlier detection (residual vector v): " +
                Text(tc.ThresBlunder) + "!");
  } else if (Key(arg, "ft")) {
    tc.MaxfDiff = Number(arg, 3, ParseFloat);
    tc.isMaxfDiff = true;
    Say(tc, "Threshold for blunder detection (misclosure vector f): " + Text(tc.MaxfDiff) + "!");
  } else if (Key(arg, "st")) {
    tc.isSolidTide = true;
    Say(tc, "Use Solid Earth Tide model!");
  } else if (Key(arg, "wu")) {
    tc.isPhaseWindUp = true;
    Say(tc, "Use Phase Wind-Up model for phase observations!");
  } else if (Key(arg, "cc")) {
    tc.isEcclipsing = true;
    Say(tc, "Remove phase observations for ecclipsing satellites!");
  } else {
    return false;
  }
  return true;
}

bool ParseIteration(TervanC& tc, const char* arg) {
  if (Key(arg, "mi")) {
    tc.MaxIter = Number(arg, 3, ParseInteger);
    Say(tc, "Maximum number of iteration: " + Text(tc.MaxIter) + "!");
  } else if (Key(arg, "mt")) {
    tc.IterThres = Number(arg, 3, ParseDouble);
    Say(tc, "Iteration process threshold: " + Text(tc.IterThres) + "!");
  } else {
    return false;
  }
  return true;
}

// One option of the main pass, the rows tested in their fixed order.
void ParseOption(TervanC& tc, const char* arg) {
  const FileOption* simple = SimpleFile(arg);
  if (Lower(arg[1]) == 'r') {
    TakeFile(tc, arg,
             {"r", 2, &TervanC::sdfile, &TervanC::isSDfile, "SINGLE DIFFERENCES file name: "});
  } else if (simple != nullptr) {
    TakeFile(tc, arg, *simple);
  } else if (ParseFamily(tc, arg) || ParseSetting(tc, arg) || ParseOutputFile(tc, arg)) {
  } else if (Lower(arg[1]) == 'l') {
    ParseObservations(tc, arg);
  } else if (Key(arg, "tm")) {
    ParseTropoModel(tc, arg);
  } else if (Key(arg, "g2")) {
    GetFileName(Prog, arg, 3, tc.gpt2file, tc.isGPT2file, tc.verbose,
                "Morvik::GetFiles():         ",
                "GPT2 troposphere model (delay and/or mapping function) data: ");
  } else if (Lower(arg[1]) == 'x') {
    ParseEstimation(tc, arg);
  } else if (Lower(arg[1]) == 'p') {
    ParseWeighting(tc, arg);
  } else if (ParseLimit(tc, arg) || ParseIteration(tc, arg)) {
  } else if (IsHelpArg(arg)) {
    tc.isHelp = true;
  } else if (!IsVerboseArg(arg) && !IsRedirectArg(arg)) {
    ProgramWarning(Prog, std::string("UNKNOWN PARAMETHER: ") + arg);
  }
}

// No arguments, or only "-v", or only a help argument (with or without "-v").
bool OnlyHelpAsked(int argc, char** argv) {
  if (argc <= 1) return true;
  if (argc == 2) return IsVerboseArg(argv[1]) || IsHelpArg(argv[1]);
  if (argc == 3)
    return (IsHelpArg(argv[1]) && IsVerboseArg(argv[2])) ||
           (IsVerboseArg(argv[1]) && IsHelpArg(argv[2]));
  return false;
}

// "--version" (its second character is no "v", so it is no verbose switch).
bool AsksVersion(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "--VERSION") == 0)
      return true;
  return false;
}

}  // namespace

void ParseArgumetns(TervanC& tc, int argc, char** argv) {
  // The version answers alone: no redirection, report, check or help follows.
  if (AsksVersion(argc, argv)) {
    std::cout << VersionLine("tervan") << std::endl;
    tc.RunProg = false;
    return;
  }
  ReadRedirections(tc, argc, argv);
  CheckRedirections(tc);
  OpenRedirections(tc, argc, argv);
  tc.StartProg();
  if (tc.verbose) std::cerr << "Tervan::GetFiles(): PARSING INPUT PARAMETERS!" << std::endl;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (arg[0] != '-')
      ProgramWarning(Prog, std::string(" - PARAMETHER MANDATORY ->  ") + arg);
    else
      ParseOption(tc, arg);
  }
  tc.RunProg = !OnlyHelpAsked(argc, argv);
  if (!tc.RunProg) PrintHelp(std::cerr);
  // No "nan" or "inf" ever reaches the report: such a number ends the run with an error
  // naming the observation file (and the epoch, where a stage writes epoch by epoch).
  FiniteNumPut::Guard(std::cout, "THE REPORT");
  FiniteNumPut::SetInput(std::string("SINGLE DIFFERENCES FILE ") + tc.sdfile);
}
