// Library files loaded as data files: any bytes are laid out, refused or read
// without a stray access. The input becomes a file in memory; when it loads,
// its exported objects are looked up by name and the image is freed.
//
// The loader's own sources are compiled in, so its internal symbol lookup can
// be called directly: a resource table's own pointers are trusted once found
// (as the dynamic loader would trust them) and are not followed here.
#include "VekDataFileImage.h"

#include "afx.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace
{
int MemoryFile()
{
    static const int s_fd = memfd_create("vek-data-file", MFD_CLOEXEC);
    return s_fd;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const int fd = MemoryFile();
    if (fd < 0 || ftruncate(fd, 0) != 0 ||
        pwrite(fd, pData, nSize, 0) != static_cast<ssize_t>(nSize))
        return 0;
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    HMODULE h = vek::LoadDataFileImage(path.c_str(), vek::kImageResourceTag);
    if (!h)
        return 0;
    for (const char* pszName : {"VekResourceTable", "", "x", "_init"})
        if (const void* pObject = vek::FindDataFileObject(h, pszName, 1))
            (void)*static_cast<const volatile unsigned char*>(pObject);
    if (!vek::FreeDataFileImage(h))
        std::abort();
    return 0;
}
