// Saving a file so that it is always either the old file or the complete new
// one, and only ever a file that is ours to replace.
#pragma once

#include "windef.h"

#include <functional>
#include <string>

struct CVekSaveResult
{
    // The path that was replaced or created: the given one, or the file a
    // symbolic link at the given path leads to.
    std::string strWritten;
    bool bThroughLink = false;
    // Set when the file is complete but its folder could not be synced, so the
    // rename may not survive a power loss; the save still counts as done.
    std::string strWarning;
};

// Told about the moment a save commits, so that a caller can say truthfully
// whether its file was written when something fails afterwards.
class IVekSaveObserver
{
public:
    // Before the rename, with the path about to be replaced. May throw (memory);
    // the save is then abandoned and the target stays untouched.
    virtual void BeforeReplace(const std::string& strTarget) = 0;
    // Right after the rename: the new file is in place. Must not fail.
    virtual void Replaced() noexcept = 0;

protected:
    ~IVekSaveObserver() = default;
};

// Writes strBytes to strPath, byte for byte as the path was given:
//  - a symbolic link is followed to the file it leads to, which is written
//    instead (a link into nowhere creates the file it names);
//  - anything that exists and is not a regular file (device, FIFO, socket,
//    folder) is refused, as is a file the user may not write or that has no
//    write permission bit at all (even for the superuser);
//  - the text goes to a new temporary file in the target's folder, created
//    exclusively (never through a link) under a random name, with the
//    target's permission bits, owner and group (as far as the process may set
//    them); it is synced, renamed over the target and the folder is synced.
// False, with a one-line message naming the file in strError, the target
// untouched and the temporary file removed, on any failure before the rename.
// Throws only what pObserver->BeforeReplace throws, and std::bad_alloc.
VEK_PLATFORM_API bool VekSaveFileSafely(const std::string& strPath, const std::string& strBytes,
                                        CVekSaveResult& result, std::string& strError,
                                        IVekSaveObserver* pObserver = nullptr);

// Takes the bytes of a save piece by piece; false when a piece could not be
// written (errno then says why), after which further pieces are not wanted.
typedef std::function<bool(const char* pData, size_t nSize)> VekSaveSink;

// As above, with the bytes handed to the sink by pfnProduce in as many pieces
// as it likes, so that a large text never has to be held whole in memory.
// pfnProduce returns false when it could not produce all of them; the save
// then fails as a failed write does and the target stays untouched.
VEK_PLATFORM_API bool VekSaveFileSafely(const std::string& strPath,
                                        const std::function<bool(const VekSaveSink&)>& pfnProduce,
                                        CVekSaveResult& result, std::string& strError,
                                        IVekSaveObserver* pObserver = nullptr);
