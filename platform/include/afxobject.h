// CObject and CRuntimeClass: run-time class information for MFC-style classes.
#pragma once

#include "windef.h"

class CObject;

// Describes one class that carries DECLARE_DYNAMIC. Instances are constant data
// defined by IMPLEMENT_DYNAMIC; they live as long as the library defining them.
struct VEK_PLATFORM_API CRuntimeClass
{
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                        // 0xFFFF for classes that are not serializable
    CObject* (*m_pfnCreateObject)();       // null unless the class is DECLARE_DYNCREATE
    CRuntimeClass* (*m_pfnGetBaseClass)(); // null for CObject
    CRuntimeClass* m_pNextClass;           // unused; kept for MFC's layout

    // True when this class is pBaseClass or derives from it (pointer identity of the
    // class records). A null pBaseClass gives FALSE.
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
    // A new object of the class, owned by the caller (delete it); null when the class
    // cannot be created dynamically.
    CObject* CreateObject() const;
};

class VEK_PLATFORM_API CObject
{
public:
    virtual ~CObject() = default;

    // The most derived class record of this object (never null).
    virtual CRuntimeClass* GetRuntimeClass() const;
    // True when the object's class is pClass or derives from it.
    BOOL IsKindOf(const CRuntimeClass* pClass) const;

    static const CRuntimeClass classCObject;
    static CRuntimeClass* GetThisClass();

protected:
    CObject() = default;

private:
    // MFC objects are not copied implicitly.
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

// The class record of class_name.
#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name)                                                                \
public:                                                                                            \
    static const CRuntimeClass class##class_name;                                                  \
    static CRuntimeClass* GetThisClass();                                                          \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                              \
    DECLARE_DYNAMIC(class_name)                                                                    \
    static CObject* CreateObject();

#define VEK_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, pfnNew)                            \
    const CRuntimeClass class_name::class##class_name = {                                          \
        #class_name,                                                                               \
        static_cast<int>(sizeof(class class_name)),                                                \
        0xFFFF,                                                                                    \
        pfnNew,                                                                                    \
        &base_class_name::GetThisClass,                                                            \
        nullptr};                                                                                  \
    CRuntimeClass* class_name::GetThisClass()                                                      \
    {                                                                                              \
        return const_cast<CRuntimeClass*>(&class_name::class##class_name);                         \
    }                                                                                              \
    CRuntimeClass* class_name::GetRuntimeClass() const                                             \
    {                                                                                              \
        return class_name::GetThisClass();                                                         \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                             \
    VEK_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                           \
    CObject* class_name::CreateObject()                                                            \
    {                                                                                              \
        return new class_name;                                                                     \
    }                                                                                              \
    VEK_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, &class_name::CreateObject)
