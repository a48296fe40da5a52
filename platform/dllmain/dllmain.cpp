// The start-up object of a module with an application object. It is linked
// into the module after the module's own objects (from a static library), so its
// constructor runs once the module's static objects, the application among
// them, are constructed.
// The detach is registered with the module's static destructors, after the
// application's, so it runs before them both at unload and at process exit.
#include "afxwinapp.h"

extern "C" __attribute__((visibility("hidden"))) void* __dso_handle;
extern "C" int __cxa_atexit(void (*pfn)(void*), void* pArg, void* pDso);

// Referenced from the link line so that the linker takes this object.
extern "C" __attribute__((visibility("hidden"))) const int VekDllMainAnchor = 0;

namespace
{
void VekDetachThisModule(void*)
{
    VekModuleDetach(&__dso_handle);
}

__attribute__((constructor)) void VekAttachThisModule()
{
    VekModuleAttach(&__dso_handle);
    __cxa_atexit(&VekDetachThisModule, nullptr, &__dso_handle);
}
} // namespace
