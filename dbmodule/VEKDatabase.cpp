// The database library: the host loads it and asks it for the display name of
// the material database it stands for.
#include "afxstr.h"

extern "C" __attribute__((visibility("default"))) void GetModuleName(CString& name)
{
    name = L"Investment Casting Materials";
}
