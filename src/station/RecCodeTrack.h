// Receiver code-tracking classes from a receiver list: which code a receiver
// type tracks on each frequency. Classes: 0 = P1/P2 (the default), 1 = C1/P2,
// 2 = C1/X2.
#ifndef TERVAN_STATION_RECCODETRACK_H
#define TERVAN_STATION_RECCODETRACK_H

#include <string>

class RecCodeTrack {
 public:
  RecCodeTrack();

  // Stores the name; a list that does not exist ends the run.
  void SetFile(const char* name);
  const char* GetFile() const { return file; }

  // Code-tracking class of a receiver type (0 with a warning when the list
  // does not tell).
  int GetRecCodeTrack(const char* receiver);
  // 1 when some line of the list contains the receiver type, else 0.
  int CheckRecName(const char* receiver);
  int GetRecType(const char* receiver) { return CheckRecName(receiver); }

 private:
  char file[512];  // as long as the names the command line takes
};

#endif
