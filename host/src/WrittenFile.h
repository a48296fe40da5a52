// Whether the command's output file is complete on disk, so that a failure
// after the save (standard output, memory) is not reported as "nothing written".
#pragma once

#include "veksafesave.h"

#include <string>

// Keeps the path of the file about to be saved; called before the save
// commits, because it may allocate (std::bad_alloc).
void ExpectFileWritten(const std::string& strPath);
// Marks the expected file as written; allocates nothing.
void ConfirmFileWritten();
// The written file's path, or null when no file has been written.
const std::string* WrittenFile();

// Calls ExpectFileWritten and ConfirmFileWritten as a save commits.
IVekSaveObserver& WrittenFileObserver();
