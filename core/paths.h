#pragma once

// Path and file-name helpers. The three path routines lower-case their result: the rest of the
// programs build file names from these lower-case forms and rely on the file system matching names
// without regard to letter case. "\" is the only folder separator they know.

#include <string>

namespace core {

// Lower-cases A to Z in place; every other byte stays.
void LowerCaseInPlace(std::string& text);
// The lower-cased, trimmed path with "\" added unless the untrimmed path already ended in one
// (so "c:\x\ " gets a second backslash).
std::string PathWithTrailingSlash(std::string path);
// The lower-cased path without one trailing "\" (tested before trimming), trimmed.
std::string PathWithoutTrailingSlash(std::string path);
// The lower-cased name cut before its last "." (which may lie in a folder name); no trimming.
// Throws std::overflow_error when that "." lies beyond position 32767.
std::string NameWithoutExtension(std::string name);
// The text between two double-quote characters; inner quotes stay as they are.
std::string Quoted(const std::string& text);

// Removes leading and trailing spaces (character 32 only).
std::string TrimSpaces(const std::string& text);

}  // namespace core
