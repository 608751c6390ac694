#pragma once
// Shared pieces of the benchmark program: a clock, the generated input files and the modes that
// scripts/run-bench.sh runs, each in a fresh process and printing plain "key value" lines.
#include <windows.h>

#include <cstdint>
#include <string>

// Milliseconds from the performance counter.
double nowMs();
// Processor time of the calling thread, user and kernel, in milliseconds.
double threadCpuMs();
// The size of a file in bytes, or -1 when it cannot be opened.
long long fileBytes(const std::wstring& path);
std::wstring widen(const char* s);

struct App;
// Creates the program's main window (and its owner) with `answer` in place of message boxes: its App, or none (told
// on stderr).
App* startMainWindow(HWND& window, HWND& owner, int(WINAPI* answer)(HWND, LPCWSTR, LPCWSTR, UINT));

// The input files, written into `directory` when missing: a 100 MB ANSI file of about two million
// lines, a 100 MB UTF-16 LE file and a 10-line ANSI file whose lines are the first ten of the big one.
constexpr const wchar_t* ANSI_FILE = L"ansi-100mb.txt";
constexpr const wchar_t* UTF16_FILE = L"utf16-100mb.txt";
constexpr const wchar_t* UTF8_FILE = L"utf8-100mb.txt";
constexpr const wchar_t* SMALL_FILE = L"ansi-10.txt";
bool generateInputs(const std::wstring& directory);

// Load time against the bare floor, best of three after a warm-up, for both files.
int runLoadTimes(const std::wstring& ansiPath, const std::wstring& utf16Path, const std::wstring& utf8Path);
// Where the time of an ANSI load goes: the loader's steps, each behind its own timer.
int runLoadBreakdown(const std::wstring& ansiPath);
// One load (or none, with an empty path) and the process's memory peaks after it.
int runPeak(const std::wstring& path, bool utf16, bool multiline);
// 10 000 nextEntry steps on the real main window over a big and over a small file.
int runSteps(const std::wstring& bigPath, const std::wstring& smallPath);
// The popup menu's preparation, the working-set trim and a whole showing (tracking aside), each
// per showing; then the read of a 4 MB language file.
int runMenu(const std::wstring& directory);
// Fit To Font over the big file (multiline off and on) against its load time, and the same fit
// measured line by line by the system.
int runFit(const std::wstring& ansiPath);
// The process's memory once a background picture (none, with an empty path) has come and been
// painted on the real main window, and how long it took to come.
int runPicture(const std::wstring& path);
