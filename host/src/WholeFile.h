// Reading a whole input file (a rule file, a script) so that every failure is
// reported and none is taken for an empty or shorter file.
#pragma once

#include <cstddef>
#include <string>

// The whole file, read through the path exactly as given, into strBytes. At
// most nLimit bytes: a larger file is refused before it is read into memory,
// with pszTooLarge ending the message ("more than any rule file holds").
// Anything that is not a regular file is refused without waiting (a FIFO
// would wait for a writer). False with a one-line message naming the path;
// std::bad_alloc when memory runs out.
bool ReadWholeFile(const std::string& strPath, size_t nLimit, const char* pszTooLarge,
                   std::string& strBytes, std::string& strError);
