#pragma once
// Files, folders, times and path texts for tests.
#include <string>

// Creates a file with `size` bytes of content (or an empty one) and returns its path.
std::wstring MakeFile(const std::wstring& path, size_t size = 0);
// Creates a folder (and gives it a last-write time when `written` is not 0); returns its path with
// a trailing backslash.
std::wstring MakeFolder(const std::wstring& path, unsigned long long written = 0);
// Sets the three times of a file or folder (UTC file times; 0 leaves one alone).
bool SetTimes(const std::wstring& path, unsigned long long created, unsigned long long accessed,
              unsigned long long written);
// A UTC file time from calendar fields.
unsigned long long UtcFileTime(int year, int month, int day, int hour, int minute, int second, int ms);

// The last name of a path, with or without a trailing backslash.
std::wstring LastName(std::wstring path);
// The caption of the parent entry in the listing of a folder (path with trailing backslash).
std::wstring ParentCaptionOf(const std::wstring& listedFolder);
// Whether two texts are equal ignoring letter case.
bool SameText(const std::wstring& a, const std::wstring& b);
