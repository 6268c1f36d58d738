// CObject and run-time classes: class names, IsKindOf through a hierarchy, creation by class.
#pragma once

#include "afx/core/types.h"

class CArchive;
class CObject;

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                       // 0xFFFF unless declared serial
    CObject* (*m_pfnCreateObject)();      // nullptr unless the class is creatable
    CRuntimeClass* m_pBaseClass;          // nullptr for CObject

    // A new object of the class, or nullptr when the class is not creatable.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* baseClass) const;
};

// Copying is protected: derived value classes may copy themselves, but nothing is sliced
// through a CObject.
class CObject {
public:
    virtual ~CObject() = default;
    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    // Writes or reads the object's own data; nothing at this level.
    virtual void Serialize(CArchive& ar);

    static CRuntimeClass classCObject;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name) \
public: \
    static CRuntimeClass class##class_name; \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name) \
    static CObject* CreateObject();

// Objects are written and read by the classes' own Serialize; the schema is kept for the
// classes' information only.
#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

#define AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, create) \
    CRuntimeClass class_name::class##class_name = { \
        #class_name, static_cast<int>(sizeof(class_name)), schema, create, RUNTIME_CLASS(base_class_name)}; \
    CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name) \
    CObject* class_name::CreateObject() { return new class_name; } \
    AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, schema) \
    CObject* class_name::CreateObject() { return new class_name; } \
    AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, class_name::CreateObject)

// The object when it is of the class (or derived from it), else nullptr.
CObject* AfxDynamicDownCast(const CRuntimeClass* pClass, CObject* object);
#define DYNAMIC_DOWNCAST(class_name, object) \
    static_cast<class_name*>(AfxDynamicDownCast(RUNTIME_CLASS(class_name), object))
