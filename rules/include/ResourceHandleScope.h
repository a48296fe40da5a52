// Makes a resource library current for the lifetime of the object and puts the
// caller's handle back afterwards, but only when the caller had one: a null
// handle is never restored.
#pragma once

#include <afx.h>

class CResourceHandleScope
{
public:
    explicit CResourceHandleScope(HINSTANCE hResource) : m_hSaved(AfxGetResourceHandle())
    {
        AfxSetResourceHandle(hResource);
    }
    ~CResourceHandleScope()
    {
        if (m_hSaved != nullptr)
            AfxSetResourceHandle(m_hSaved);
    }
    CResourceHandleScope(const CResourceHandleScope&) = delete;
    CResourceHandleScope& operator=(const CResourceHandleScope&) = delete;

private:
    HINSTANCE m_hSaved;
};
