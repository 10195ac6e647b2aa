#include <gtest/gtest.h>

#include <string>

#include "core/cstringf.h"

TEST(cstringf, SubstrStopsAtTheEndOfTheSource) {
  char out[16];
  substr("ABC", 1, 5, out);
  EXPECT_STREQ(out, "BC");
  substr("ABCDEF", 2, 3, out);
  EXPECT_STREQ(out, "CDE");
  substr("ABC", 7, 2, out);  // beyond the end: nothing is read past the terminator
  EXPECT_STREQ(out, "");
  substr("ABC", -1, 2, out);
  EXPECT_STREQ(out, "");
  substr("ABCDEF", 4, out);
  EXPECT_STREQ(out, "EF");
  substr("ABC", 3, out);
  EXPECT_STREQ(out, "");
  substr("ABC", 9, out);
  EXPECT_STREQ(out, "");
}

TEST(cstringf, Trimming) {
  char s[16] = "  a  ";
  trim(s);
  EXPECT_STREQ(s, "a");
  char blanks[16] = "    ";
  trimr(blanks);
  EXPECT_STREQ(blanks, "");
  char tab[16] = "x\t ";
  trimr(tab);
  EXPECT_STREQ(tab, "x\t");
  char left[16] = "   left";
  triml(left);
  EXPECT_STREQ(left, "left");
}

TEST(cstringf, SearchAndFill) {
  EXPECT_EQ(indexLast("a/b/c", '/'), 3);
  EXPECT_EQ(indexLast("abc", '/'), -1);
  char s[8];
  strcopy(s, '-', 5);
  EXPECT_STREQ(s, "-----");
  strng(s, '*', 0);
  EXPECT_STREQ(s, "");
}

TEST(cstringf, Words) {
  EXPECT_EQ(cwords(""), 0);
  EXPECT_EQ(cwords("   "), 0);
  EXPECT_EQ(cwords(" G01  12.5\tR07 "), 3);
  char w[16];
  EXPECT_EQ(gword(" G01  12.5\tR07 ", 2, w), 1);
  EXPECT_STREQ(w, "12.5");
  EXPECT_EQ(gword(" G01  12.5\tR07 ", 3, w), 1);
  EXPECT_STREQ(w, "R07");
  EXPECT_EQ(gword(" G01  12.5\tR07 ", 4, w), 0);
  EXPECT_STREQ(w, "");
  EXPECT_EQ(gword("abc", 0, w), 1);
}

TEST(cstringf, Replacing) {
  char s[32] = "1.0D+01 2.0D-03";
  creplace(s, 'D', 'E');
  EXPECT_STREQ(s, "1.0E+01 2.0E-03");
  char t[32] = "aaaa";
  creplace(t, 'a', 'b', 2);
  EXPECT_STREQ(t, "bbaa");
  char u[32] = "G01 G02 G03";
  sreplace(u, "G0", "R1");
  EXPECT_STREQ(u, "R11 R12 R13");
  sreplace(u, "R1", "XYZ");  // lengths differ: unchanged
  EXPECT_STREQ(u, "R11 R12 R13");
  char v[32] = "aaa";
  sreplace(v, "a", "a");  // a replacement containing the search text ends
  EXPECT_STREQ(v, "aaa");
  sreplace(v, "aa", "ba");
  EXPECT_STREQ(v, "baa");
}
