// Classes that the framework creates by name: documents, frames and views
// made by a document template.
#pragma once

class CObject {
public:
    virtual ~CObject() = default;
};

struct CRuntimeClass {
    const char* m_lpszClassName;
    CObject* (*m_pfnCreateObject)();
    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
};

#define RUNTIME_CLASS(theClass) (&theClass::class##theClass)

#define DECLARE_DYNCREATE(theClass)             \
public:                                         \
    static const CRuntimeClass class##theClass; \
    static CObject* CreateObject();

#define IMPLEMENT_DYNCREATE(theClass)   \
    CObject* theClass::CreateObject() { \
        return new theClass;            \
    }                                   \
    const CRuntimeClass theClass::class##theClass = {#theClass, &theClass::CreateObject};
