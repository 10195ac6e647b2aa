#include "core/CppCas.h"

#include <cstdio>
#include <cstring>

CppCas prgutil::ctm;

CppCas::CppCas() : rawtime(0), startUra(0), stopUra(0), timeinfo(nullptr), casTece(false) {
  ascii[0] = '\0';
  Update();
}

void CppCas::Update() {
  static std::tm unknown{};  // stands in when the clock cannot be read
  rawtime = std::time(nullptr);
  timeinfo = rawtime == static_cast<std::time_t>(-1) ? nullptr : std::localtime(&rawtime);
  if (timeinfo == nullptr) timeinfo = &unknown;
}

const char* CppCas::Ascii() {
  Update();
  char text[96];
  std::snprintf(text, sizeof text, "%4d-%02d-%02d  %02d:%02d:%02d", timeinfo->tm_year + 1900,
                timeinfo->tm_mon + 1, timeinfo->tm_mday, timeinfo->tm_hour, timeinfo->tm_min,
                timeinfo->tm_sec);
  std::strncpy(ascii, text, sizeof ascii - 1);
  ascii[sizeof ascii - 1] = '\0';
  return ascii;
}

int CppCas::LetoDt() {
  Update();
  return timeinfo->tm_year + 1900;
}

int CppCas::MesecDt() {
  Update();
  return timeinfo->tm_mon;
}

int CppCas::DanDt() {
  Update();
  return timeinfo->tm_mday;
}

int CppCas::Ura() {
  Update();
  return timeinfo->tm_hour;
}

int CppCas::Min() {
  Update();
  return timeinfo->tm_min;
}

int CppCas::Sec() {
  Update();
  return timeinfo->tm_sec;
}

void CppCas::Start() {
  casTece = true;
  startUra = std::clock();
}

double CppCas::Stop() {
  if (!casTece) return 0.0;
  casTece = false;
  stopUra = std::clock();
  return static_cast<double>(stopUra - startUra) / CLOCKS_PER_SEC;
}

void CppCas::Pocakaj(int s) {
  const std::clock_t end = std::clock() + static_cast<std::clock_t>(s) * CLOCKS_PER_SEC;
  while (std::clock() < end) {
  }
}
