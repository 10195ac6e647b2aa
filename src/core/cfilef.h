// File helpers used by the option checks and the readers.
#ifndef TERVAN_CORE_CFILEF_H
#define TERVAN_CORE_CFILEF_H

#include <string>

// 1 if the path names a file that can be opened for reading (a folder cannot), else 0.
int FileExists(const char* path);
int FileExists(const std::string& path);

// Deletes a file: 1 on success or when the file did not exist, 0 otherwise.
int RemFile(const char* path);

// The part after the last path separator ("/" or "\"), or the whole path.
void GetBasename(const char* path, char* out);

// The part before the last path separator; out stays empty when there is none.
void GetDirname(const char* path, char* out);

#endif
