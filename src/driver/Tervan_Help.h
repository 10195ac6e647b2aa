// The help text of the program (Slovenian, Windows-1250 code page).
#ifndef TERVAN_DRIVER_TERVAN_HELP_H
#define TERVAN_DRIVER_TERVAN_HELP_H

#include <ostream>

// Writes the help text, one line at a time, to os.
void PrintHelp(std::ostream& os);

#endif
