// Helpers for fixed character buffers, the working form of the lines of
// column-oriented text files. The caller provides output buffers large enough
// for the result; no helper reads past the terminator of its source.
#ifndef TERVAN_CORE_CSTRINGF_H
#define TERVAN_CORE_CSTRINGF_H

// At most n characters of s from position pos (fewer at the end of s) into out,
// which is always terminated. A position beyond the end, a negative position or
// a negative count give an empty text.
void substr(const char* s, int pos, int n, char* out);
// Everything of s from position pos to its end.
void substr(const char* s, int pos, char* out);

// Removes trailing blanks (the blank character only, not tabs).
void trimr(char* s);
// Removes leading blanks, shifting the rest to the left.
void triml(char* s);
// trimr, then triml.
void trim(char* s);

// Index of the last occurrence of c in s, or -1.
int indexLast(const char* s, char c);

// n copies of c and a terminator (an empty text for n <= 0).
void strcopy(char* s, char c, int n);
void strng(char* s, char c, long n);

// Number of words separated by white space.
int cwords(const char* s);
// The iw-th word of s (counted from 1) into w and 1; an empty w and 0 when s has
// no such word.
int gword(const char* s, long iw, char* w);

// Replaces every occurrence of the character from by to (within the first n
// characters in the second form).
void creplace(char* s, char from, char to);
void creplace(char* s, char from, char to, long n);
// Replaces every occurrence of the text from by the text to, in place, when both
// have the same length; otherwise s is left unchanged. The search continues after
// each replacement, so a replacement is never searched again.
void sreplace(char* s, const char* from, const char* to);

#endif
