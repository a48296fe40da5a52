// Saving a file so that it is always either the old file or the complete new
// one, and only ever a file that is ours to replace.
#pragma once

#include <string>

struct CSaveResult
{
    // The path that was replaced or created: the given one, or the file a
    // symbolic link at the given path leads to.
    std::string strWritten;
    bool bThroughLink = false;
    // Set when the file is complete but its folder could not be synced, so the
    // rename may not survive a power loss; the save still counts as done.
    std::string strWarning;
};

// Writes strBytes to strPath, byte for byte as the path was given:
//  - a symbolic link is followed to the file it leads to, which is written
//    instead (a link into nowhere creates the file it names);
//  - anything that exists and is not a regular file (device, FIFO, socket,
//    folder) is refused, as is a file the user may not write or that has no
//    write permission bit at all (even for the superuser);
//  - the text goes to a new temporary file in the target's folder, created
//    exclusively under a random name, with the target's permission bits,
//    owner and group (as far as the process may set them); it is synced,
//    renamed over the target and the folder is synced.
// Before the rename, ExpectFileWritten is told the path; after it,
// ConfirmFileWritten. False, with a one-line message naming the file in
// strError and the target untouched, on any failure before the rename.
bool SaveFileSafely(const std::string& strPath, const std::string& strBytes, CSaveResult& result,
                    std::string& strError);
